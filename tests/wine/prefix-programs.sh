# Sourced by the shell tests and benchmarks that run the programs in the session's 24-bit
# prefix themselves (guard_kill.sh, find_pointer.sh, full_drive.sh and the benchmarks).
#   enter_session SESSION-DIR ARCH   starts the test's lane of the session when it is not
#                                    running, sets WINE, DISPLAY, WINEPREFIX and HOME for it, and
#                                    `settings`, the utility's settings file there (its folder made)
#   prefix_pids PATTERN [SKIP]       the Unix processes of this prefix whose command line
#                                    matches PATTERN and not SKIP, one per line
#   lay_out_utility NAME BUILD [EXE] sets `work` to C:\NAME of the prefix, made afresh with the
#                                    build's library and its Pointrel.EXE (or EXE) in it
#   trace_roles TRACE ID...          how many of the IDs the utility's trace file has put a cursor
#                                    in for (installed, default or refused), 0 without the file
prefix_programs_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/wine/lanes.sh
. "$prefix_programs_here/lanes.sh"

enter_session() {
  enter_lane "$1" "$2"
  # shellcheck disable=SC1091
  . "$lane_dir/session.env"
  export WINEARCH=$2
  # shellcheck source=tests/wine/wine-env.sh
  . "$prefix_programs_here/wine-env.sh"
  export DISPLAY=$DISPLAY_24 WINEPREFIX=$WINEPREFIX_24 HOME
  keep_prefix_up
  settings="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Pointrel/Pointrel.INI"
  mkdir -p "$(dirname "$settings")"
}

prefix_pids() {
  local pid
  for pid in $(pgrep -f "$1" || true); do
    if [ -n "${2:-}" ]; then
      { tr '\0' ' ' <"/proc/$pid/cmdline"; } 2>/dev/null | grep -q -- "$2" && continue
    fi
    { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
    echo "$pid"
  done
  return 0
}

lay_out_utility() {
  work="$WINEPREFIX/drive_c/$1"
  rm -rf "$work"; mkdir -p "$work"
  cp -r "$2/generated/library/." "$work/"
  cp "${3:-$2/bin/Pointrel.EXE}" "$work/Pointrel.EXE"
}

# Counted by role, not by line: a start-up writes lines that are no role's (the scheme asked
# for, the handles kept), and a busy machine can pause it before its last roles. Only the ids
# asked for count: the file is read while it is written, and its last line can end inside an id.
trace_roles() {
  local trace=$1; shift
  if [ -f "$trace" ]; then
    tr -d '\r' <"$trace" | awk -v ids="$*" '
      BEGIN { n = split(ids, list, " "); for (i = 1; i <= n; i++) wanted[list[i]] = 1 }
      ($2 == "install" || $2 == "default" || $2 == "refused") && ($3 in wanted) { seen[$3] = 1 }
      END { print length(seen) }'
  else
    echo 0
  fi
}
