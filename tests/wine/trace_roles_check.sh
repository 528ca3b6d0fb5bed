#!/usr/bin/env bash
# trace_roles (prefix-programs.sh) on traces read while the utility writes them: a line cut off
# in the middle of its id, ids of no role asked for, lines without an id and no file at all
# never count as a role's line.
#   trace_roles_check.sh SCRATCH-DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/wine/prefix-programs.sh
. "$here/prefix-programs.sh"
scratch=$1
rm -rf "$scratch"; mkdir -p "$scratch"
trace="$scratch/trace.txt"
roles="32512 32650 32514 32513 32642 32643 32644 32645 32651 32515 32631 32648 32646 32516 32649 32671 32672"
failed=0
expect() {  # what, the count wanted
  local got
  got=$(trace_roles "$trace" $roles)
  if [ "$got" != "$2" ]; then echo "FAIL: $1: $got roles, not $2"; failed=1; fi
}
start_up() {  # the start-up's lines up to and including the role given
  printf '174 scheme refused\r\n351 kept 288\r\n'
  local id
  for id in $roles; do
    printf '600 default %s\r\n' "$id"
    [ "$id" = "$1" ] && break
  done
}

expect "no trace yet" 0
start_up 32672 >"$trace"
expect "the whole start-up" 17
{ start_up 32671; printf '634 refused 326'; } >"$trace"
expect "the last role's line cut off in its id" 16
{ start_up 32671; printf '634 refused\r\n634 install 99999 static 0,0 a.cur\r\n634 default 3267\r\n'; } >"$trace"
expect "lines without an id, or with one of no role" 16
{ start_up 32671; start_up 32671; } >"$trace"
expect "a role twice" 16
rm -rf "$scratch"
exit $failed
