# Sourced by the Wine scripts: which lane of the session a test runs in, and that lane's folder.
#   lane_number                 CTest's lane for this test (RESOURCE_GROUPS "lanes:1" gives
#                               CTEST_RESOURCE_GROUP_0_LANES=id:N,slots:1), else
#                               POINTREL_TEST_LANE, else 0
#   enter_lane ROOT ARCH        sets `lane_dir` to the lane's folder, its session started first
#                               when it is not running (a test run by hand)
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
