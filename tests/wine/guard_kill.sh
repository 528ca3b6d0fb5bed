#!/usr/bin/env bash
# The utility's Unix process killed with SIGKILL, as an outside tool or the system might: its
# guard puts the eight defaults back within a second, in the restore order, and ends.
#   guard_kill.sh SESSION-DIR ARCH BUILD-DIR [KILLS]
# KILLS (default 1) kills in a row; with more than one it prints the median time from the kill
# to the last default.
set -euo pipefail
session=$1 arch=$2 build=$3 kills=${4:-1}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/prefix-programs.sh
. "$here/prefix-programs.sh"
enter_session "$session" "$arch"

lay_out_utility guard-kill "$build"
mkdir -p "$work/trace"
trap 'rm -f "$settings"' EXIT
printf '[Cursors]\r\nNormal=Giant white arrow.CUR\r\nBusy=Hamster on treadmill.CUR\r\nSizing=1\r\n' >"$settings"
expected="32512 32514 32650 32513 32642 32643 32644 32645"
fail() { echo "FAIL: $*" >&2; exit 1; }
lines() { [ -f "$work/trace/trace.txt" ] && tr -d '\r' <"$work/trace/trace.txt" | wc -l || echo 0; }
ms() { date +%s%3N; }
# The Unix processes of Pointrel.EXE in this prefix, the guard and its starter left out.
utility_pid() { prefix_pids 'Pointrel.EXE' 'pointrel-guard'; }
guard_pids() { prefix_pids 'pointrel-guard='; }

times=()
for round in $(seq "$kills"); do
  rm -f "$work/trace/"*
  (cd "$work" && POINTREL_CURSOR_TRACE='C:\guard-kill\trace' exec "$WINE" ./Pointrel.EXE) >/dev/null 2>&1 &
  # Its eight installs, and then nothing for half a second: the start-up is over.
  last=-1 still=0
  for _ in $(seq 200); do
    now=$(lines)
    if [ "$now" = "$last" ]; then still=$((still + 1)); else still=0; last=$now; fi
    [ "$now" -ge 8 ] && [ "$still" -ge 5 ] && break
    sleep 0.1
  done
  [ "$(lines)" -ge 8 ] || fail "round $round: the utility did not install its cursors within 20 s"
  pid=$(utility_pid | head -n 1)
  [ -n "$pid" ] || fail "round $round: no Unix process of the utility"
  [ -n "$(guard_pids)" ] || fail "round $round: no guard runs"
  before=$(lines)
  start=$(ms)
  kill -KILL "$pid"
  done_at=
  while [ $(( $(ms) - start )) -lt 1000 ]; do
    # The user's scheme asked for (Wine refuses it), then the eight defaults.
    if [ "$(lines)" -ge $((before + 9)) ]; then done_at=$(ms); break; fi
    sleep 0.01
  done
  [ -n "$done_at" ] || fail "round $round: the defaults were not back within 1 s ($(( $(lines) - before )) lines)"
  got=$(tr -d '\r' <"$work/trace/trace.txt" | tail -n +$((before + 1)) | awk '$2 == "default" { printf "%s ", $3 }')
  [ "${got% }" = "$expected" ] || fail "round $round: defaults '$got', expected '$expected'"
  for _ in $(seq 100); do [ -z "$(guard_pids)" ] && break; sleep 0.01; done
  [ -z "$(guard_pids)" ] || fail "round $round: a guard is left"
  times+=($((done_at - start)))
  wait 2>/dev/null || true
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
echo "SIGKILL: the eight defaults back in the restore order after $kills kills; from the kill to the last default: median $median ms (all: $(echo $sorted))"
