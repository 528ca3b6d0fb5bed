#!/usr/bin/env bash
# Builds everything: the native build (host tools, native tests) into build/native, then the
# Windows programs and their Wine tests into build/win32. Installs missing tools first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
jobs=${JOBS:-$(nproc)}
cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build/native" -j "$jobs"
cmake -S "$root" -B "$root/build/win32" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" \
  -DHOST_TOOLS_DIR="$root/build/native/bin" >/dev/null
cmake --build "$root/build/win32" -j "$jobs"
