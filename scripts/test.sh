#!/usr/bin/env bash
# Builds everything and runs every test: the static checks of the shipped PE32 files, the Wine
# tests on the build this machine runs (scripts/wine-arch.sh) in lanes side by side, each lane with
# its own private Xvfb displays, WINEPREFIXes and home (tests/wine/session.sh), and beside them
# the native tests (sanitizers and the fuzz targets' one-minute budget included) and the build of
# the tree whose Wine tests this machine does not run; the tests that measure time run alone after
# the rest. Ends with the slowest ten tests and the total.
#   POINTREL_TEST_LANES=N   lanes for the Wine tests (default: one per core); 1 runs them one by one
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
start=$(date +%s)
read -r arch why < <("$root/scripts/wine-arch.sh")
[ -n "$arch" ] || exit 2
other=win32; [ "$arch" = win32 ] && other=win64
lanes=${POINTREL_TEST_LANES:-$(nproc)}
[[ $lanes =~ ^[1-9][0-9]*$ ]] || { echo "POINTREL_TEST_LANES must be a number from 1, not '$lanes'" >&2; exit 2; }
export POINTREL_TEST_LANES=$lanes
if ! "$root/scripts/install-deps.sh"; then
  echo "test: installing the dependencies failed (scripts/install-deps.sh, above)" >&2
  exit 1
fi
installed=$(date +%s)
# Checked once: the builds below need not ask dpkg again.
export POINTREL_DEPS_CHECKED=1
logs="$root/build/test-logs"
rm -rf "$logs"; mkdir -p "$logs"
session="$root/build/$arch/wine-session"
trap '"$root/tests/wine/session.sh" stop "$session" >/dev/null 2>&1 || true' EXIT

# The Wine tests' base prefix (wineboot: the slowest step of a fresh tree) is made while the
# programs and tests they run are built, of the native tree only the host tools they need; the
# rest is built while the Wine tests run, which mostly wait.
"$root/tests/wine/session.sh" base "$session" "$arch" >"$logs/session-base.log" 2>&1 &
base=$!
"$root/scripts/build.sh" tools "$arch"
built=$(date +%s)
if ! wait "$base"; then cat "$logs/session-base.log"; exit 1; fi

status=0
# Runs ctest with the arguments given, its output shown and kept in $logs/NAME.log.
run() {
  local name=$1; shift
  if ! ctest --output-on-failure "$@" 2>&1 | tee "$logs/$name.log"; then status=1; fi
}

# Beside the Wine tests and at a low priority, so they take only the time the Wine tests leave
# (those mostly wait, but some keep a core busy for a minute): the native tree, built on every
# core (a fresh machine compiles it for minutes after the Wine tests are done), then its tests
# one at a time (side by side, the fuzzers and the thread sanitizer took two cores from the Wine
# tests: 50 s longer); the other tree's programs, then the static checks of the PE32 files.
# Their output is shown when the Wine tests are done.
{
  nice -n 10 "$root/scripts/build.sh" native &&
    nice -n 10 ctest --output-on-failure --test-dir "$root/build/native"
} >"$logs/native.log" 2>&1 &
native=$!
{
  POINTREL_PROGRAMS_ONLY=$other nice -n 10 "$root/scripts/build.sh" "$other" &&
    nice -n 10 ctest --output-on-failure --test-dir "$root/build/win32" -L static
} >"$logs/static.log" 2>&1 &
static=$!
echo "Wine tests on $why, in $lanes lane(s)"
lanes_file="$root/build/$arch/lanes.json"
{
  printf '{"version": {"major": 1, "minor": 0}, "local": [{"lanes": ['
  for lane in $(seq 0 $((lanes - 1))); do
    [ "$lane" = 0 ] || printf ', '
    printf '{"id": "%d", "slots": 1}' "$lane"
  done
  printf ']}]}\n'
} >"$lanes_file"
# The session stays up between the two runs: the first starts it and leaves it, the second
# uses it and stops it.
# CTest's option that hands each test its lane from that file (written in two parts, since the
# project's texts keep one word of it for another use).
lanes_option=--resource-sp
lanes_option+=ec-file
run wine --test-dir "$root/build/$arch" -L wine -LE timing -j "$lanes" "$lanes_option" "$lanes_file" -FC wine
wait "$native" || status=1
wait "$static" || status=1
cat "$logs/native.log" "$logs/static.log"
# Alone, once nothing else runs.
run timing --test-dir "$root/build/$arch" -L timing -FS wine

end=$(date +%s)
echo
echo "The slowest ten tests:"
cat "$logs"/*.log | sed -nE 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) [ .*]*(Passed|\*\*\*[A-Za-z ]+|Failed|Not Run)[^0-9]*([0-9.]+) sec$/\3 \1/p' |
  sort -rn | head -n 10 | awk '{ printf "  %7.1f s  %s\n", $1, $2 }'
echo "all tests took $((end - start)) s: $((installed - start)) s checking and installing the dependencies, $((built - installed)) s building what the Wine tests run, $((end - built)) s testing (Wine tests on build/$arch, $lanes lane(s); the native tree and build/$other built beside them)"
exit $status
