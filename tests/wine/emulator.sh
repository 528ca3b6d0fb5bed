#!/usr/bin/env bash
# Runs a cross-built program under Wine in the private session:
#   emulator.sh SESSION-DIR ARCH PROGRAM ARGS...   (ARCH: win32 or win64)
# in the test's lane of the session (tests/wine/lanes.sh).
# POINTREL_WINE_DEPTH (24, 8 or 16; default 24) picks the display and its prefix;
# POINTREL_WINE_DPI (default 96) a prefix of the lane whose desktop has that many dots per inch
# (144: 150 %, 192: 200 %) and a virtual desktop as much larger (session.sh scaled).
set -euo pipefail
root=$1 arch=$2; shift 2
# shellcheck source=tests/wine/lanes.sh
. "$(dirname "$0")/lanes.sh"
enter_lane "$root" "$arch"
dir=$lane_dir
# shellcheck disable=SC1091
. "$dir/session.env"
if [ "$WINEARCH" != "$arch" ]; then
  echo "emulator: the session in $root is $WINEARCH, not $arch" >&2
  exit 1
fi
# shellcheck source=tests/wine/wine-env.sh
. "$(dirname "$0")/wine-env.sh"
# The build under test (the session lies in its folder) and the sources, as the tests find them.
POINTREL_TEST_BINARY_DIR="Z:$(dirname "$root")"
POINTREL_TEST_SOURCE_DIR="Z:$(cd "$(dirname "$0")/../.." && pwd)"
export POINTREL_TEST_BINARY_DIR POINTREL_TEST_SOURCE_DIR
depth=${POINTREL_WINE_DEPTH:-24}
display_var=DISPLAY_$depth prefix_var=WINEPREFIX_$depth
export DISPLAY=${!display_var} WINEPREFIX=${!prefix_var} HOME
dpi=${POINTREL_WINE_DPI:-96}
case "$dpi" in 96) ;; *[!0-9]*|'') echo "emulator: POINTREL_WINE_DPI must be a number" >&2; exit 2 ;; *)
  scaled=$("$(dirname "$0")/session.sh" scaled "$root" "$arch" "$(lane_number)" "$dpi")
  [ "$depth" = 24 ] || { echo "emulator: scaled desktops run at depth 24 only" >&2; exit 2; }
  export WINEPREFIX=$scaled DISPLAY=$DISPLAY_SCALED ;;
esac
keep_prefix_up
# A program that ends in failure having written nothing never reached its main (every test
# program prints from its first line): Wine itself failed to start it, silently with WINEDEBUG
# off (seen once in 0.1 s). That is said, and the program run once more; a program that ran and
# failed is never run again.
# (Its two streams go out as one, as CTest keeps them anyway.)
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for attempt in 1 2; do
  started=$(date +%s%3N)
  set +e
  "$WINE" "$@" 2>&1 | tee "$out"
  status=${PIPESTATUS[0]}
  set -e
  [ "$status" = 0 ] && exit 0
  if [ -s "$out" ] || [ "$attempt" = 2 ]; then exit "$status"; fi
  echo "emulator: $1 ended with status $status after $(( $(date +%s%3N) - started )) ms having written nothing; once more" >&2
done
