#!/usr/bin/env bash
# The main job: build, then install the product from the distribution medium with WENDSET.EXE
# under Wine, and start the installed Pointrel.EXE the way its desktop shortcut does (working
# folder = the install folder).
#
# The medium is that of the build this machine runs (scripts/wine-arch.sh): the PE32 product
# where 32-bit x86 code runs, else the x86-64 build under wine64. On the user's display, when
# DISPLAY is set and usable, the user goes through the installer pages. Otherwise a private Xvfb
# display is used and the pages are driven as a person would: wait for each page to show, take a
# screenshot, press Enter (the default button). Either way Wine runs in a private prefix under
# build/run, never ~/.wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fail() { echo "run: $*" >&2; exit 1; }

"$root/scripts/build.sh" || fail "the build failed (above)"
read -r arch why < <("$root/scripts/wine-arch.sh") || true
[ -n "${arch:-}" ] || fail "could not tell which build this machine runs (scripts/wine-arch.sh)"
echo "main job on $why"
export WINEARCH=$arch
# shellcheck source=tests/wine/wine-env.sh
. "$root/tests/wine/wine-env.sh"

medium="$root/build/$arch/medium"
run="$root/build/run/$arch"
mkdir -p "$run"
[ -f "$medium/WENDSET.EXE" ] || fail "no installer on the medium ($medium)"
files=$(find "$medium" -maxdepth 1 -type f | wc -l)
bytes=$(find "$medium" -maxdepth 1 -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
echo "medium: $medium, $files files, $bytes bytes (a 1.44 MB floppy holds 1457664)"

# A fresh start: no earlier installation, no shortcut of one. The installer finds the shell's own
# folders for its shortcuts; nothing is made for them here.
prepare_prefix() {
  rm -rf "$WINEPREFIX/drive_c/Pointrel"
  local link
  while read -r link; do rm -f "$link"; done < <(link_places)
}

# Where a shortcut of the installer may be: the shell's folders of each user of the prefix (the
# desktop may lead to the private home folder), and the Windows folder's old places.
link_places() {
  local user
  for user in "$WINEPREFIX"/drive_c/users/*/; do
    echo "${user}Desktop/Pointrel.LNK"
    echo "${user}AppData/Roaming/Microsoft/Windows/Start Menu/Programs/StartUp/Pointrel.LNK"
  done
  echo "$WINEPREFIX/drive_c/windows/DESKTOP/Pointrel.LNK"
  echo "$WINEPREFIX/drive_c/windows/Start Menu/Programs/StartUp/Pointrel.LNK"
}

report() {
  local installed=$1 link
  echo "installer: $medium/WENDSET.EXE, Wine prefix $WINEPREFIX"
  if [ -n "$installed" ]; then
    echo "installed into $installed ($(find "$installed" -type f | wc -l) files)"
  else
    echo "nothing was installed (the installer was cancelled or failed)"
  fi
  while read -r link; do
    [ -f "$link" ] && echo "shortcut: $link"
  done < <(link_places)
  return 0
}

# The folder that holds the freshly installed program; the default one when it is there.
installed_folder() {
  local marker=$1
  if [ -f "$WINEPREFIX/drive_c/Pointrel/Pointrel.EXE" ]; then
    echo "$WINEPREFIX/drive_c/Pointrel"
    return
  fi
  local exe
  exe=$(find "$WINEPREFIX/drive_c" -name Pointrel.EXE -newer "$marker" -print -quit 2>/dev/null || true)
  [ -n "$exe" ] && dirname "$exe"
  return 0
}

if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  export WINEPREFIX="$run/prefix"
  # A home of its own: Wine links the prefix's desktop folder to the home's, and the installer's
  # desktop shortcut must not land on the user's real desktop.
  export HOME="$run/home"
  mkdir -p "$HOME"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    if ! "$WINE" wineboot -i >"$run/wineboot.log" 2>&1; then
      tail -n 20 "$run/wineboot.log" >&2
      fail "making the Wine prefix $WINEPREFIX failed (WINEARCH=$WINEARCH); its log: $run/wineboot.log"
    fi
  fi
  prepare_prefix
  marker="$run/started"; touch "$marker"
  echo "starting the installer on $DISPLAY"
  "$WINE" "$medium/WENDSET.EXE" || true
  wineserver -w
  installed=$(installed_folder "$marker")
  report "$installed"
  [ -n "$installed" ] || exit 1
  echo "starting $installed/Pointrel.EXE in $installed"
  cd "$installed" && exec "$WINE" ./Pointrel.EXE
fi

session="$run/wine-session"
if ! SESSION_DEPTHS=24 "$root/tests/wine/session.sh" start "$session" "$arch" >"$run/session.log" 2>&1; then
  cat "$run/session.log" >&2
  fail "the private display and Wine prefix could not be made (log: $run/session.log)"
fi
trap 'SESSION_DEPTHS=24 "$root/tests/wine/session.sh" stop "$session"' EXIT
# shellcheck disable=SC1091
. "$session/lane-0/session.env"
export DISPLAY=$DISPLAY_24 WINEPREFIX=$WINEPREFIX_24 HOME
prepare_prefix
shots="$run/screenshots"
rm -rf "$shots"; mkdir -p "$shots"
screen="$run/screen.png"
import -window root "$screen" || fail "cannot take a screenshot of $DISPLAY (ImageMagick's import)"

changed() {  # a.png b.png -> true when they differ in more than a few pixels
  local diff
  diff=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
  [ "${diff%% *}" -gt 16 ] 2>/dev/null
}

# Takes screenshots until the screen holds still for a moment; saves the last as $1.
settle() {
  local out=$1 now="$run/now.png" still="$run/still.png"
  import -window root "$still"
  for _ in $(seq 60); do
    sleep 0.3
    import -window root "$now"
    changed "$still" "$now" || break
    cp "$now" "$still"
  done
  cp "$now" "$out"; cp "$now" "$screen"
}

# Waits until the screen differs from the last page taken, then lets it settle into $1. False
# when nothing new shows within the time or the installer has ended.
next_page() {
  local out=$1 now="$run/now.png"
  for _ in $(seq 150); do
    sleep 0.2
    [ -z "$installer" ] || kill -0 "$installer" 2>/dev/null || return 1
    import -window root "$now"
    if changed "$screen" "$now"; then
      settle "$out"
      return 0
    fi
  done
  return 1
}

# A click on the caption of the page (top left of the desktop) makes it, or the message box it
# owns, the active window; Enter then presses its default button. The uninstaller's boxes have
# no page: they show in the middle of the desktop, where a click on their text makes them active.
press_enter() {
  xdotool mousemove "${1:-200}" "${2:-10}" click 1
  sleep 0.3
  xdotool key Return
}

marker="$run/started"; touch "$marker"
(cd "$run" && exec "$WINE" "$medium/WENDSET.EXE") >"$run/installer.log" 2>&1 &
installer=$!
page=0
for name in welcome destination; do
  page=$((page + 1))
  if next_page "$shots/$page-$name.png"; then
    echo "page $page ($name): $shots/$page-$name.png"
    press_enter
  else
    kill -0 "$installer" 2>/dev/null || fail "the installer ended before its $name page showed (log: $run/installer.log)"
    echo "the $name page did not show" >&2
  fi
done
# The progress page changes all the time; one look at it is enough, and nothing is pressed.
# (Also when the installer runs again over the running utility, below.)
for _ in $(seq 50); do
  sleep 0.2
  import -window root "$run/now.png"
  if changed "$screen" "$run/now.png"; then
    sleep 0.5
    import -window root "$shots/3-progress.png"
    echo "page 3 (copy progress): $shots/3-progress.png"
    break
  fi
done
# Then the finish page, or the message boxes of a failure: each one looked at and acknowledged.
last="$WINEPREFIX/drive_c/Pointrel/PERSON/High visibility person.CUR"  # the manifest's last file
step=4
failed=
while kill -0 "$installer" 2>/dev/null && [ $step -lt 8 ]; do
  if next_page "$shots/$step.png"; then
    # Told apart once the screen has changed: the copy may still run until then.
    if [ -f "$last" ] && [ $step = 4 ]; then name=finish; else name=message; fi
    mv "$shots/$step.png" "$shots/$step-$name.png"
    echo "screen $step ($name): $shots/$step-$name.png"
    [ $name = message ] && failed=1
    press_enter
  fi
  step=$((step + 1))
done
for _ in $(seq 50); do
  kill -0 "$installer" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$installer" 2>/dev/null; then
  echo "the installer is still running; ending it" >&2
  kill "$installer" 2>/dev/null || true
fi
wait "$installer" 2>/dev/null || true

installed=$(installed_folder "$marker")
report "$installed"
[ -n "$installed" ] || fail "nothing was installed (installer log: $run/installer.log)"
[ -n "$failed" ] && fail "the installation is NOT complete: the installer said why (screens above)"

# As the shortcut starts it: the program in the install folder, that folder current.
(cd "$installed" && exec "$WINE" ./Pointrel.EXE) >"$run/pointrel.log" 2>&1 &
utility=$!
for _ in $(seq 50); do
  sleep 0.2
  kill -0 "$utility" 2>/dev/null || break
  import -window root "$run/now.png"
  changed "$screen" "$run/now.png" && break
done
sleep 2
kill -0 "$utility" 2>/dev/null || fail "Pointrel.EXE ended at start (log: $run/pointrel.log)"
import -window root "$shots/$step-pointrel.png"
echo "Pointrel.EXE runs from $installed (working folder $installed) on a private display ($DISPLAY)."
echo "screenshot: $shots/$step-pointrel.png"

# The rest of its life: installing again while Pointrel runs (the installer asks to close it,
# Enter answers Yes, and it is started again after the copy), then the uninstaller from the
# installed folder, as the list of installed programs starts it.
# shellcheck source=tests/wine/prefix-programs.sh
. "$root/tests/wine/prefix-programs.sh"
running() { prefix_pids 'Pointrel.EXE' 'pointrel-guard' | head -n 1; }
cp "$shots/$step-pointrel.png" "$screen"
(cd "$run" && exec "$WINE" "$medium/WENDSET.EXE") >"$run/reinstall.log" 2>&1 &
installer=$!
for name in welcome destination running-question; do
  step=$((step + 1))
  if next_page "$shots/$step-again-$name.png"; then
    echo "again, $name: $shots/$step-again-$name.png"
    press_enter
  fi
done
last_step=$((step + 4))
while kill -0 "$installer" 2>/dev/null && [ $step -lt $last_step ]; do
  step=$((step + 1))
  if next_page "$shots/$step-again.png"; then
    echo "again: $shots/$step-again.png"
    press_enter
  fi
done
wait "$installer" 2>/dev/null || true
for _ in $(seq 50); do [ -n "$(running)" ] && break; sleep 0.2; done
[ -n "$(running)" ] || fail "Pointrel is not running again after the installation over it (log: $run/reinstall.log)"
sleep 2
step=$((step + 1))
settle "$shots/$step-again-pointrel.png"
echo "Pointrel runs again from $installed after the second installation: $shots/$step-again-pointrel.png"

installer=
(cd "$run" && exec "$WINE" 'C:\Pointrel\Uninstall.EXE' /uninstall) >"$run/uninstall.log" 2>&1 &
# The question, the settings question where there are settings (Enter keeps them), the last
# message.
boxes="question removed"
[ -f "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Pointrel/Pointrel.INI" ] && boxes="question settings-question removed"
read -r width height < <(xdotool getdisplaygeometry)
for name in $boxes; do
  step=$((step + 1))
  if next_page "$shots/$step-uninstall-$name.png"; then
    echo "uninstall, $name: $shots/$step-uninstall-$name.png"
    press_enter $((width / 2)) $((height / 2 - 8))
  else
    echo "the uninstaller's $name did not show" >&2
  fi
done
for _ in $(seq 50); do [ -d "$installed" ] || break; sleep 0.2; done
[ -n "$(running)" ] && fail "Pointrel still runs after the uninstaller"
[ -d "$installed" ] && fail "the uninstaller left $installed: $(find "$installed" | head -n 5)"
echo "uninstalled: $installed is gone, Pointrel has ended, the settings are kept"
