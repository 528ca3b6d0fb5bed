#!/usr/bin/env bash
# Builds everything: the native build (host tools, native tests) into build/native, then the
# Windows programs, their medium and their Wine tests twice from the same sources: build/win32
# (i686, PE32: the product) and build/win64 (x86-64, PE32+: for machines that do not run 32-bit
# code; ships nowhere). Installs missing tools first.
#   build.sh [TREE...]   only the trees named (native, win32, win64)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if ! "$root/scripts/install-deps.sh"; then
  echo "build: installing the dependencies failed (scripts/install-deps.sh, above)" >&2
  exit 1
fi
jobs=${JOBS:-$(nproc)}

# Configures and builds one tree; on failure names it and shows the end of its log.
build_tree() {
  local name=$1; shift
  local dir="$root/build/$name" log="$root/build/$name.log"
  mkdir -p "$root/build"
  if ! { cmake -S "$root" -B "$dir" -G Ninja "$@" && cmake --build "$dir" -j "$jobs"; } >"$log" 2>&1; then
    echo "build: the $name build failed; the last lines of $log:" >&2
    tail -n 30 "$log" >&2
    exit 1
  fi
  grep -q 'warning:' "$log" && echo "build: the $name build has warnings (see $log)" >&2
  echo "build: $name built ($dir)"
}

wanted() { [ ${#trees[@]} -eq 0 ] || printf '%s\n' "${trees[@]}" | grep -qx "$1"; }
trees=("$@")
wanted native && build_tree native -DCMAKE_BUILD_TYPE=RelWithDebInfo
for arch in i686 x86_64; do
  name=win32; [ $arch = x86_64 ] && name=win64
  wanted $name || continue
  build_tree $name -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$arch-w64-mingw32.cmake" \
    -DHOST_TOOLS_DIR="$root/build/native/bin"
done
