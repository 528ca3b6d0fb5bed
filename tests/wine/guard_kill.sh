#!/usr/bin/env bash
# The utility's Unix process killed with SIGKILL, as an outside tool or the system might: its
# guard puts every role's default back within a second, in the restore order, and ends.
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
# Every role's id in the restore order.
expected="32512 32514 32650 32513 32642 32643 32644 32645 32651 32515 32631 32648 32646 32516 32649 32671 32672"
roles=17
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
  started=$!
  # A line for each role, and then nothing for half a second: the start-up is over.
  last=-1 still=0
  for _ in $(seq 200); do
    now=$(lines)
    if [ "$now" = "$last" ]; then still=$((still + 1)); else still=0; last=$now; fi
    [ "$(trace_roles "$work/trace/trace.txt" $expected)" -ge "$roles" ] && [ "$still" -ge 5 ] && break
    sleep 0.1
  done
  [ "$(trace_roles "$work/trace/trace.txt" $expected)" -ge "$roles" ] || fail "round $round: the utility did not install its cursors within 20 s"
  pid=$(utility_pid | head -n 1)
  [ -n "$pid" ] || fail "round $round: no Unix process of the utility"
  [ -n "$(guard_pids)" ] || fail "round $round: no guard runs"
  before=$(lines)
  start=$(ms)
  kill -KILL "$pid"
  done_at=
  while [ $(( $(ms) - start )) -lt 1000 ]; do
    # The user's scheme asked for (Wine refuses it), then every role's default.
    if [ "$(lines)" -ge $((before + 1 + roles)) ]; then done_at=$(ms); break; fi
    sleep 0.01
  done
  [ -n "$done_at" ] || fail "round $round: the defaults were not back within 1 s ($(( $(lines) - before )) lines)"
  trace=$(tr -d '\r' <"$work/trace/trace.txt")
  got=$(echo "$trace" | tail -n +$((before + 1)) | awk '$2 == "default" || $2 == "refused" { printf "%s ", $3 }')
  [ "${got% }" = "$expected" ] || fail "round $round: defaults '$got', expected '$expected'"
  # A default is refused only where the platform had none at the start either.
  for id in $(echo "$trace" | tail -n +$((before + 1)) | awk '$2 == "refused" { print $3 }'); do
    echo "$trace" | head -n "$before" | awk -v id="$id" '$2 == "refused" && $3 == id { f = 1 } END { exit !f }' ||
      fail "round $round: the default of $id refused, though the platform had one (its lines before the kill: $(echo "$trace" | head -n "$before" | awk -v id="$id" '$3 == id' | tr '\n' ';'))"
  done
  for _ in $(seq 100); do [ -z "$(guard_pids)" ] && break; sleep 0.01; done
  [ -z "$(guard_pids)" ] || fail "round $round: a guard is left"
  times+=($((done_at - start)))
  # That start only: a wineserver keeper this script started runs on.
  wait "$started" 2>/dev/null || true
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
echo "SIGKILL: every role's default back in the restore order after $kills kills; from the kill to the last default: median $median ms (all: $(echo $sorted))"
