#!/usr/bin/env bash
# Runs a cross-built program under Wine in the private session: emulator.sh SESSION-DIR PROGRAM ARGS...
# POINTREL_WINE_DEPTH (24, 8 or 16; default 24) picks the display and its prefix.
set -euo pipefail
dir=$1; shift
[ -f "$dir/session.env" ] || "$(dirname "$0")/session.sh" start "$dir" >/dev/null
# shellcheck disable=SC1091
. "$dir/session.env"
depth=${POINTREL_WINE_DEPTH:-24}
display_var=DISPLAY_$depth prefix_var=WINEPREFIX_$depth
export DISPLAY=${!display_var} WINEPREFIX=${!prefix_var}
export WINEDEBUG=${WINEDEBUG:--all} WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
