#!/usr/bin/env bash
# The main job: build, then start Pointrel.EXE under Wine with the cursor library as its
# working folder. On the user's display when there is one; otherwise on a private Xvfb
# display, with a screenshot of the window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
run="$root/build/run"
mkdir -p "$run"
library="$run/Pointrel"
rm -rf "$library"
mkdir -p "$library"
if [ -d "$root/build/win32/generated/library" ]; then cp -r "$root/build/win32/generated/library/." "$library/"; fi
cp "$root/build/win32/bin/Pointrel.EXE" "$library/"
[ -f "$root/build/win32/bin/Pointrel.HLP" ] && cp "$root/build/win32/bin/Pointrel.HLP" "$library/"
export WINEDEBUG=-all
if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  echo "starting $library/Pointrel.EXE on $DISPLAY"
  cd "$library" && exec wine ./Pointrel.EXE
fi
session="$run/wine-session"
SESSION_DEPTHS=24 "$root/tests/wine/session.sh" start "$session" >/dev/null
trap '"$root/tests/wine/session.sh" stop "$session"' EXIT
# shellcheck disable=SC1091
. "$session/session.env"
export DISPLAY=$DISPLAY_24 WINEPREFIX=$WINEPREFIX_24 WINEARCH=win32
(cd "$library" && wine ./Pointrel.EXE) &
for _ in $(seq 50); do
  sleep 0.2
  xdotool search --name '^Pointrel$' >/dev/null 2>&1 && break
done
sleep 2
import -window root "$run/pointrel.png"
echo "Pointrel ran from $library on a private display ($DISPLAY, prefix $WINEPREFIX)."
echo "Screenshot: $run/pointrel.png"
