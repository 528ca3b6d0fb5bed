#!/usr/bin/env bash
# The private test bed for programs under Wine: one Xvfb display and one WINEPREFIX per display
# depth (24, 8 and 16 give Wine's 32, 8 and 16 bits per pixel) and a larger 24-bit display for
# scaled desktops, never the user's own, and a private home folder (Wine links its desktop
# folder to the home's Desktop when one exists).
#   session.sh start DIR ARCH   start the displays, make the prefixes (ARCH: win32 or win64),
#                               write DIR/session.env
#   session.sh stop DIR         end the wineservers and the displays that "start" began, by their ids
set -euo pipefail
cmd=$1
dir=$(mkdir -p "$2" && cd "$2" && pwd)
read -r -a depths <<<"${SESSION_DEPTHS:-24 8 16}"

start_display() {  # depth [size label] -> prints "display pid"
  local depth=$1 screen=${2:-1024x768} label=${3:-$1}
  local fifo="$dir/displayfd.$label" log="$dir/xvfb-$label.log"
  rm -f "$fifo"; mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$screen"x"$depth" -nolisten tcp -noreset 3>"$fifo" >"$log" 2>&1 &
  local pid=$! number=
  read -r -t 30 number <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$number" ]; then
    echo "session: Xvfb at depth $depth ($screen) did not start; the last lines of $log:" >&2
    tail -n 10 "$log" >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  echo ":$number $pid"
}

# Runs one step of making the prefix; on failure says which and shows the end of its log.
prefix_step() {
  local what=$1; shift
  if ! "$@" >>"$dir/wineboot.log" 2>&1; then
    echo "session: $what failed (WINEARCH=$WINEARCH); the last lines of $dir/wineboot.log:" >&2
    tail -n 20 "$dir/wineboot.log" >&2
    return 1
  fi
}

case "$cmd" in
start)
  WINEARCH=${3:?usage: session.sh start DIR win32|win64}
  # shellcheck source=tests/wine/wine-env.sh
  . "$(dirname "$0")/wine-env.sh"
  [ -f "$dir/session.env" ] && "$0" stop "$dir"
  mkdir -p "$dir/home"
  export HOME="$dir/home"
  {
    echo "WINEARCH=$WINEARCH"
    echo "HOME=$HOME"
  } >"$dir/session.env"
  for depth in "${depths[@]}"; do
    line=$(start_display "$depth") || { "$0" stop "$dir"; exit 1; }
    read -r display pid <<<"$line"
    echo "DISPLAY_$depth=$display" >>"$dir/session.env"
    echo "XVFB_PID_$depth=$pid" >>"$dir/session.env"
  done
  # A screen with room for the scaled desktops the emulator makes (200 % of 1024 x 768); the
  # others stay the size of their virtual desktop, so the pointer never leaves it.
  line=$(start_display 24 2048x1536 scaled) || { "$0" stop "$dir"; exit 1; }
  read -r display pid <<<"$line"
  echo "DISPLAY_SCALED=$display" >>"$dir/session.env"
  echo "XVFB_PID_SCALED=$pid" >>"$dir/session.env"
  base="$dir/prefix-24"
  # Names what a prefix was made by; a prefix made otherwise is made again.
  made="$WINEARCH, no crash dialog, Marlett"
  if [ ! -f "$base/.ready" ] || [ "$(cat "$base/.ready")" != "$made" ]; then
    rm -rf "$base"
    : >"$dir/wineboot.log"
    display=$(grep '^DISPLAY_24=' "$dir/session.env" | cut -d= -f2)
    export DISPLAY=$display WINEPREFIX="$base"
    fail() { "$0" stop "$dir"; exit 1; }
    prefix_step "wineboot" "$WINE" wineboot -i || fail
    # A Wine virtual desktop: Wine frames, minimises and activates windows itself, as Windows
    # does, where a bare X display without a window manager would not.
    prefix_step "the virtual desktop setting" "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f || fail
    prefix_step "the virtual desktop size" "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f || fail
    # A program that crashes ends at once instead of waiting behind the debugger's dialog.
    prefix_step "the crash dialog setting" "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f || fail
    wineserver -w
    # Wine draws the caption buttons with its Marlett font, which it does not find on its own
    # here (they come out as the letter "r"); in the prefix's Fonts folder it does.
    prefix_step "the Marlett font" cp /usr/share/wine/fonts/marlett.ttf "$base/drive_c/windows/Fonts/" || fail
    echo "$made" >"$base/.ready"
  fi
  for depth in "${depths[@]}"; do
    prefix="$dir/prefix-$depth"
    if [ "$depth" != 24 ] && ! cmp -s "$prefix/.ready" "$base/.ready"; then
      rm -rf "$prefix"; cp -a "$base" "$prefix"
    fi
    echo "WINEPREFIX_$depth=$prefix" >>"$dir/session.env"
  done
  echo "session ready in $dir ($WINEARCH)"
  ;;
stop)
  [ -f "$dir/session.env" ] || exit 0
  # shellcheck disable=SC1091
  . "$dir/session.env"
  # Every prefix of this session: one per depth and the scaled copies the emulator made.
  for prefix in "$dir"/prefix-*; do
    [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  done
  for depth in "${depths[@]}" SCALED; do
    pid_var=XVFB_PID_$depth
    [ -n "${!pid_var:-}" ] && kill "${!pid_var}" 2>/dev/null || true
  done
  rm -f "$dir/session.env"
  ;;
*) echo "usage: $0 start DIR win32|win64 | stop DIR" >&2; exit 2 ;;
esac
