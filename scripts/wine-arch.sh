#!/usr/bin/env bash
# Prints the Wine architecture that the tests and the main job use here, then the build and why:
# "win32 the i686 build: ..." where this machine runs 32-bit x86 code (the PE32 build under
# Wine's 32-bit loader), else "win64 the x86-64 build: ..." (under wine64).
# POINTREL_WINE_ARCH=win32|win64 forces one.
#   wine-arch.sh --kernel-only   exit 0 when the kernel runs a 32-bit x86 program, 1 when not
set -uo pipefail

# A 96-byte i386 ELF that only exits with 42: some x86-64 kernels have IA-32 emulation off and
# refuse it ("Exec format error").
kernel_runs_i386() {
  local probe
  probe=$(mktemp /tmp/i386-probe.XXXXXX) || return 1
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  local status=$?
  rm -f "$probe"
  [ $status = 42 ]
}

if [ "${1:-}" = --kernel-only ]; then
  kernel_runs_i386
  exit $?
fi

case "${POINTREL_WINE_ARCH:-}" in
win32|win64)
  build=i686; [ "$POINTREL_WINE_ARCH" = win64 ] && build=x86-64
  echo "$POINTREL_WINE_ARCH the $build build: forced by POINTREL_WINE_ARCH=$POINTREL_WINE_ARCH"
  exit 0 ;;
"") ;;
*) echo "POINTREL_WINE_ARCH must be win32 or win64, not '$POINTREL_WINE_ARCH'" >&2; exit 2 ;;
esac

# The loader that Debian's wine32 package installs.
loader=/usr/lib/wine/wine
if [ -x "$loader" ] && "$loader" --version >/dev/null 2>&1; then
  echo "win32 the i686 build: this machine runs 32-bit x86 code"
else
  echo "win64 the x86-64 build: this machine does not run 32-bit x86 code"
fi
