#!/usr/bin/env bash
# Installs, as root on Debian 12, whatever the build and the tests need and the machine lacks.
# What is installed is asked of dpkg by package: a command found on PATH proves nothing (a
# stand-in `convert` that is not ImageMagick sits there on some machines).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }

packages=(
  g++ cmake ninja-build googletest ccache
  # the pack tests: archives packed by zlib and by Info-ZIP
  zlib1g-dev zip
  # libFuzzer and its sanitizer runtimes
  clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  xvfb xauth xdotool imagemagick
  # the serif lettering of the installer's pictures
  fonts-dejavu-core
  wine wine64 fonts-wine
)
# The 32-bit Wine loader only where the kernel runs 32-bit x86 code; elsewhere the tests and the
# main job use the x86-64 build under wine64 and the i386 architecture is never added.
if "$here/wine-arch.sh" --kernel-only >/dev/null; then
  packages+=(wine32:i386)
fi

need=()
for p in "${packages[@]}"; do
  installed "$p" || need+=("$p")
done
[ ${#need[@]} -eq 0 ] && exit 0

if [ "$(id -u)" != 0 ]; then
  echo "install-deps: missing packages: ${need[*]}; run this script as root to install them" >&2
  exit 1
fi
echo "install-deps: installing ${need[*]}"
for p in "${need[@]}"; do
  if [[ $p == *:i386 ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    break
  fi
done
log=$(mktemp /tmp/install-deps.XXXXXX.log)
export DEBIAN_FRONTEND=noninteractive
if ! { apt-get update -qq && apt-get install -y -qq "${need[@]}"; } >"$log" 2>&1; then
  echo "install-deps: apt-get failed; the last lines of $log:" >&2
  tail -n 20 "$log" >&2
  exit 1
fi
for p in "${need[@]}"; do
  if ! installed "$p"; then
    echo "install-deps: $p is still not installed (see $log)" >&2
    exit 1
  fi
done
rm -f "$log"
