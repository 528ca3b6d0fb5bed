#!/usr/bin/env bash
# Installs, as root on Debian 12, whatever the build and the tests need and the machine lacks.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }

have_cmd i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix mingw-w64-i686-dev)
have_cmd cmake || need+=(cmake)
have_cmd ninja || need+=(ninja-build)
have_cmd g++ || need+=(g++)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
have_cmd Xvfb || need+=(xvfb)
have_cmd xauth || need+=(xauth)
have_cmd xdotool || need+=(xdotool)
have_cmd convert || need+=(imagemagick)
# The serif lettering of the installer's pictures.
[ -f /usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf ] || need+=(fonts-dejavu-core)
have_cmd wine || need+=(wine)
have_pkg wine32:i386 || need+=(wine32:i386)
have_pkg wine64 || need+=(wine64)

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" != 0 ]; then
  echo "missing packages: ${need[*]}; run this script as root to install them" >&2
  exit 1
fi
echo "installing: ${need[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${need[@]}" >/dev/null
