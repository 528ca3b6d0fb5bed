#!/usr/bin/env bash
# Runs every fuzz target (or those named) for SECONDS each, for the figures in a note:
#   scripts/fuzz.sh SECONDS [NAME...]      e.g. scripts/fuzz.sh 60, scripts/fuzz.sh 300 cursor_file
# Builds the native tree first (scripts/build.sh); the corpora grow in build/native/fuzz.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:?usage: scripts/fuzz.sh SECONDS [NAME...]}
shift
"$root/scripts/build.sh" native
list="$root/build/native/fuzz-targets.txt"
# The seeds that tests write (the reader's table, the drawn library) come from a native test run.
ctest --test-dir "$root/build/native" \
  -R 'native\.(cursor_art\.draw|cursor_file_test|inflate_test|zip_reader_test|pack_inf_test|pack_theme_test|pack_plan_test|scheme_file_test)$' \
  >/dev/null || true
status=0
while read -r name _; do
  [ -n "$name" ] || continue
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$name"; then continue; fi
  "$root/tests/fuzz/run_fuzzers.sh" "$list" "$root/build/native/fuzz" "$seconds" "$name" || status=1
done <"$list"
exit $status
