#!/usr/bin/env bash
# session.sh refuses a lane or dots per inch that is not a plain number, before it makes
# anything: such a name would put a prefix outside the session.
#   session_refuses.sh SCRATCH-DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
scratch=$1
rm -rf "$scratch"; mkdir -p "$scratch/session"
failed=0
expect_refused() {  # what, then session.sh's arguments
  local what=$1; shift
  "$here/session.sh" "$@" 2>/dev/null
  local status=$?
  if [ $status != 2 ]; then echo "FAIL: $what: exit $status, not 2"; failed=1; fi
}
expect_refused "a lane that climbs out" scaled "$scratch/session" win64 ../outside 144
expect_refused "a lane that is negative" start-lane "$scratch/session" win64 -1
expect_refused "no lane" start-lane "$scratch/session" win64
expect_refused "dots per inch with a letter" scaled "$scratch/session" win64 0 1a4
expect_refused "dots per inch that climb out" scaled "$scratch/session" win64 0 ../../x
SESSION_SCALES="144 ../x" expect_refused "a scale that climbs out" base "$scratch/session" win64
made=$(find "$scratch" -mindepth 1 ! -path "$scratch/session" | head -n 3)
if [ -n "$made" ]; then echo "FAIL: made before refusing: $made"; failed=1; fi
rm -rf "$scratch"
exit $failed
