#!/usr/bin/env bash
# run_fuzzer.sh FUZZER CORPUS-DIR DICTIONARY SECONDS SEED-DIR...: fuzzes into CORPUS-DIR (seeded
# with every file under each SEED-DIR) for SECONDS with the DICTIONARY's tags, then prints the
# runs, executions per second and corpus size.
set -euo pipefail
fuzzer=$1 corpus=$2 dictionary=$3 seconds=$4
shift 4
mkdir -p "$corpus"
for seeds in "$@"; do
  find "$seeds" -type f -exec cp -n {} "$corpus/" \;
done
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! "$fuzzer" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -print_final_stats=1 \
     -dict="$dictionary" -artifact_prefix="$corpus/../fuzz-" "$corpus" >"$log" 2>&1; then
  tail -n 40 "$log"
  echo "the fuzzer found a crash (artifact beside $corpus)"
  exit 1
fi
grep -E '^Done|stat::number_of_executed_units|stat::average_exec_per_sec' "$log"
echo "corpus: $(find "$corpus" -type f | wc -l) files"
