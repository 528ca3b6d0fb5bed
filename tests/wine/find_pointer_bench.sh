#!/usr/bin/env bash
# Benchmark, run by hand (not a test): what finding the pointer costs at rest. Pointrel.EXE runs
# for SECONDS (default 60) with the pointer at rest, first with "Hide while typing" and "Shake to
# enlarge" both off, then both on, then blinking Rapid for scale (one copy at a time: it runs once
# per session); its CPU time
# and context switches (of all its threads) come from /proc of its Unix process, side by side.
#   find_pointer_bench.sh SESSION-DIR ARCH BUILD-DIR [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
session=$1 arch=$2 build=$3 seconds=${4:-60}
# shellcheck source=tests/wine/prefix-programs.sh
. "$here/prefix-programs.sh"
enter_session "$session" "$arch"

lay_out_utility find-pointer-bench "$build"
running=
trap '[ -n "$running" ] && kill "$running" 2>/dev/null; rm -f "$settings"; true' EXIT

sample() {  # utime + stime in clock ticks, and voluntary + involuntary context switches, of every thread
  local cpu; cpu=$(sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }')
  echo "$cpu $(cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ { s += $2 } END { print s }')"
}

# One run at rest with the settings lines $1: "ms-of-CPU context-switches".
measure() {
  printf '[Cursors]\r\n%s' "$1" >"$settings"
  xdotool mousemove 5 5 >/dev/null 2>&1 || true
  (cd "$work" && exec "$WINE" ./Pointrel.EXE) >/dev/null 2>&1 &
  running=$!
  sleep 6
  local pid; pid=$(prefix_pids 'Pointrel.EXE' 'pointrel-guard' | head -n 1)
  [ -n "$pid" ] || { echo "FAIL: Pointrel.EXE did not start" >&2; exit 1; }
  local c0 s0 c1 s1
  read -r c0 s0 <<<"$(sample "$pid")"
  sleep "$seconds"
  read -r c1 s1 <<<"$(sample "$pid")"
  kill "$pid" 2>/dev/null || true
  wait "$running" 2>/dev/null || true
  running=
  sleep 2  # its guard puts the defaults back and ends
  echo "$(( (c1 - c0) * 1000 / $(getconf CLK_TCK) )) $((s1 - s0))"
}

read -r off_ms off_switches <<<"$(measure 'HideTyping=0\r\nShakeEnlarge=0\r\n')"
read -r on_ms on_switches <<<"$(measure 'HideTyping=1\r\nShakeEnlarge=1\r\n')"
# For scale: what a process of the same kind that does wake up costs, a Rapid blink at rest.
read -r blink_ms blink_switches <<<"$(measure 'Blink=1\r\n')"
echo "at rest for $seconds s: both off $off_ms ms CPU, $off_switches context switches; both on $on_ms ms CPU, $on_switches context switches (a Rapid blink, for scale: $blink_ms ms, $blink_switches)"
