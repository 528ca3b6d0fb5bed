#!/usr/bin/env bash
# Benchmark, run by hand (not a test): the CPU time and context switches of Pointrel.EXE blinking
# Rapid with the pointer at rest, side by side with blink_floor_program.exe, which makes the same
# platform calls and nothing else. Both run at once in the private session for SECONDS (default
# 60) after a settling time; figures come from /proc of their Unix processes.
#   blink_bench.sh SESSION-DIR ARCH BUILD-DIR [SECONDS]   (POINTREL_EXE: another Pointrel.EXE)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
session=$1 arch=$2 build=$3 seconds=${4:-60}
# shellcheck source=tests/wine/prefix-programs.sh
. "$here/prefix-programs.sh"
enter_session "$session" "$arch"

lay_out_utility blink-bench "$build" "${POINTREL_EXE:-$build/bin/Pointrel.EXE}"
cp "$build/bin/blink_floor_program.exe" "$work/"
printf '[Cursors]\r\nBlink=1\r\n' >"$settings"
started=()
cleanup() { for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -f "$settings"; }
trap cleanup EXIT

# The Unix process of a program of this prefix started by its exe name, its guard left out.
unix_pid() {
  local pids
  pids=$(prefix_pids "$1" 'pointrel-guard')
  echo "${pids%%$'\n'*}"
}
# utime + stime in clock ticks, and voluntary + involuntary context switches.
sample() {
  local stat; stat=$(sed 's/.*) //' "/proc/$1/stat")
  local cpu; cpu=$(awk '{ print $12 + $13 }' <<<"$stat")
  local switches; switches=$(awk '/ctxt_switches/ { s += $2 } END { print s }' "/proc/$1/status")
  echo "$cpu $switches"
}

# At rest, away from the dialog, whose window would otherwise be asked for its cursor.
xdotool mousemove 5 5 >/dev/null 2>&1 || true
(cd "$work" && exec "$WINE" ./Pointrel.EXE) >/dev/null 2>&1 & started+=($!)
(cd "$work" && exec "$WINE" ./blink_floor_program.exe) >/dev/null 2>&1 & started+=($!)
sleep 6  # started, at rest, Rapid blinking
utility=$(unix_pid 'Pointrel.EXE') floor=$(unix_pid 'blink_floor_program.exe')
[ -n "$utility" ] && [ -n "$floor" ] || { echo "FAIL: a program did not start" >&2; exit 1; }
read -r u0 us0 <<<"$(sample "$utility")"; read -r f0 fs0 <<<"$(sample "$floor")"
sleep "$seconds"
read -r u1 us1 <<<"$(sample "$utility")"; read -r f1 fs1 <<<"$(sample "$floor")"
hz=$(getconf CLK_TCK)
awk -v u=$((u1 - u0)) -v f=$((f1 - f0)) -v us=$((us1 - us0)) -v fs=$((fs1 - fs0)) -v hz="$hz" -v s="$seconds" 'BEGIN {
  printf "Rapid at rest for %d s: Pointrel.EXE %.0f ms CPU, %d context switches; the platform calls alone %.0f ms CPU, %d context switches; %.2f and %.2f times the floor\n",
    s, 1000 * u / hz, us, 1000 * f / hz, fs, (f ? u / f : 0), (fs ? us / fs : 0) }'
