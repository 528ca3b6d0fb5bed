# Sourced by the Wine scripts: which lane of the session a test runs in, and that lane's folder.
#   lane_number                 CTest's lane for this test (RESOURCE_GROUPS "lanes:1" gives
#                               CTEST_RESOURCE_GROUP_0_LANES=id:N,slots:1), else
#                               POINTREL_TEST_LANE, else 0
#   enter_lane ROOT ARCH        sets `lane_dir` to the lane's folder, its session started first
#                               when it is not running (a test run by hand)
#   keep_prefix_up              a program that keeps WINEPREFIX's wineserver and services up, so
#                               a test's programs start at once (a second otherwise) and their
#                               end does not wait for the services' own (two seconds otherwise:
#                               they hold the output of the program that started them, which
#                               CTest reads to its end); needs WINE, DISPLAY and HOME exported
lanes_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

lane_number() {
  local given=${CTEST_RESOURCE_GROUP_0_LANES:-}
  if [[ $given =~ (^|,)id:([0-9]+)(,|$) ]]; then
    echo "${BASH_REMATCH[2]}"
  else
    echo "${POINTREL_TEST_LANE:-0}"
  fi
}

enter_lane() {
  local lane
  lane=$(lane_number)
  lane_dir="$1/lane-$lane"
  [ -f "$lane_dir/session.env" ] || "$lanes_here/session.sh" start-lane "$1" "$2" "$lane" >/dev/null
}

keep_prefix_up() {
  local mark="$WINEPREFIX/.keeper" lock pid
  exec {lock}>"$WINEPREFIX/.keeper.lock"
  flock "$lock"
  pid=$(cat "$mark" 2>/dev/null || true)
  if ! [[ $pid =~ ^[0-9]+$ ]] || ! kill -0 "$pid" 2>/dev/null; then
    # A command prompt reading a pipe it also holds open for writing: it waits for ever, using
    # nothing, until session.sh stop ends the prefix's programs. A session of its own keeps it
    # out of a test's process group; its output goes nowhere, nor that of the services it starts.
    rm -f "$WINEPREFIX/.keeper.fifo"
    mkfifo "$WINEPREFIX/.keeper.fifo"
    setsid "$WINE" cmd.exe <>"$WINEPREFIX/.keeper.fifo" >/dev/null 2>&1 {lock}>&- &
    echo $! >"$mark"
    # Once a program has run, the server and the services are up.
    "$WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1 {lock}>&- || true
  fi
  exec {lock}>&-
}
