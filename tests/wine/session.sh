#!/usr/bin/env bash
# The private test bed for programs under Wine: one Xvfb display and one WINEPREFIX per display
# depth (24, 8 and 16 give Wine's 32, 8 and 16 bits per pixel), never the user's own.
#   session.sh start DIR   start the displays, make the prefixes, write DIR/session.env
#   session.sh stop DIR    end the wineservers and the displays that "start" began, by their ids
set -euo pipefail
cmd=$1
dir=$(mkdir -p "$2" && cd "$2" && pwd)
read -r -a depths <<<"${SESSION_DEPTHS:-24 8 16}"

start_display() {  # depth -> prints "display pid"
  local depth=$1 fifo="$dir/displayfd.$depth"
  rm -f "$fifo"; mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x"$depth" -nolisten tcp -noreset 3>"$fifo" >"$dir/xvfb-$depth.log" 2>&1 &
  local pid=$! number
  read -r number <"$fifo"
  rm -f "$fifo"
  echo ":$number $pid"
}

case "$cmd" in
start)
  [ -f "$dir/session.env" ] && "$0" stop "$dir"
  : >"$dir/session.env"
  export WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml="
  for depth in "${depths[@]}"; do
    read -r display pid < <(start_display "$depth")
    echo "DISPLAY_$depth=$display" >>"$dir/session.env"
    echo "XVFB_PID_$depth=$pid" >>"$dir/session.env"
  done
  base="$dir/prefix-24"
  if [ ! -f "$base/.ready" ]; then
    rm -rf "$base"
    display=$(grep '^DISPLAY_24=' "$dir/session.env" | cut -d= -f2)
    DISPLAY=$display WINEPREFIX="$base" wineboot -i >"$dir/wineboot.log" 2>&1
    # A Wine virtual desktop: Wine frames, minimises and activates windows itself, as Windows
    # does, where a bare X display without a window manager would not.
    DISPLAY=$display WINEPREFIX="$base" wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >>"$dir/wineboot.log" 2>&1
    DISPLAY=$display WINEPREFIX="$base" wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >>"$dir/wineboot.log" 2>&1
    WINEPREFIX="$base" wineserver -w
    touch "$base/.ready"
  fi
  for depth in "${depths[@]}"; do
    prefix="$dir/prefix-$depth"
    if [ "$depth" != 24 ] && [ ! -f "$prefix/.ready" ]; then
      rm -rf "$prefix"; cp -a "$base" "$prefix"
    fi
    echo "WINEPREFIX_$depth=$prefix" >>"$dir/session.env"
  done
  echo "session ready in $dir"
  ;;
stop)
  [ -f "$dir/session.env" ] || exit 0
  # shellcheck disable=SC1091
  . "$dir/session.env"
  for depth in "${depths[@]}"; do
    prefix_var=WINEPREFIX_$depth pid_var=XVFB_PID_$depth
    [ -n "${!prefix_var:-}" ] && WINEPREFIX=${!prefix_var} wineserver -k 2>/dev/null || true
    [ -n "${!pid_var:-}" ] && kill "${!pid_var}" 2>/dev/null || true
  done
  rm -f "$dir/session.env"
  ;;
*) echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
