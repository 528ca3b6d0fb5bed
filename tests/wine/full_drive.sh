#!/usr/bin/env bash
# The installer onto a drive that fills up: a 1 MB tmpfs mounted in the session's prefix as
# C:\full-drive, and the one Wine test that installs the build's 2.5 MB medium there.
#   full_drive.sh SESSION-DIR ARCH TEST-EXE
# Exits 77 (skipped) where this machine does not let us mount.
set -euo pipefail
session=$1 arch=$2 test=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/prefix-programs.sh
. "$here/prefix-programs.sh"
enter_session "$session" "$arch"
drive="$WINEPREFIX/drive_c/full-drive"
mkdir -p "$drive"
if ! mount -t tmpfs -o size=1m tmpfs "$drive" 2>/dev/null; then
  echo "SKIP: cannot mount a tmpfs here (not root, or no CAP_SYS_ADMIN)"
  exit 77
fi
trap 'umount "$drive"; rmdir "$drive"' EXIT
POINTREL_FULL_DRIVE='C:\full-drive' "$here/emulator.sh" "$session" "$arch" "$test" --gtest_filter='WholeLife.AFullDrive*'
