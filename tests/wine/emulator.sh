#!/usr/bin/env bash
# Runs a cross-built program under Wine in the private session:
#   emulator.sh SESSION-DIR ARCH PROGRAM ARGS...   (ARCH: win32 or win64)
# POINTREL_WINE_DEPTH (24, 8 or 16; default 24) picks the display and its prefix.
set -euo pipefail
dir=$1 arch=$2; shift 2
[ -f "$dir/session.env" ] || "$(dirname "$0")/session.sh" start "$dir" "$arch" >/dev/null
# shellcheck disable=SC1091
. "$dir/session.env"
if [ "$WINEARCH" != "$arch" ]; then
  echo "emulator: the session in $dir is $WINEARCH, not $arch" >&2
  exit 1
fi
# shellcheck source=tests/wine/wine-env.sh
. "$(dirname "$0")/wine-env.sh"
depth=${POINTREL_WINE_DEPTH:-24}
display_var=DISPLAY_$depth prefix_var=WINEPREFIX_$depth
export DISPLAY=${!display_var} WINEPREFIX=${!prefix_var} HOME
exec "$WINE" "$@"
