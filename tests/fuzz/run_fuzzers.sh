#!/usr/bin/env bash
# run_fuzzers.sh LIST WORK-DIR SECONDS [NAME...]: runs the fuzz targets of LIST (lines "name
# program dictionary seed-folder,seed-folder,...", fuzz-targets.txt of the native build), or only
# those NAMEd, one after another, sharing SECONDS between them (at least 5 each). Each keeps its
# corpus in WORK-DIR/NAME (seeded from its folders at every run), and a crash's input beside it.
# Prints each target's runs, executions per second and corpus size; fails on the first crash.
set -euo pipefail
list=$1 work=$2 seconds=$3
shift 3
mapfile -t lines < <(grep -v '^\s*$' "$list")
chosen=()
for line in "${lines[@]}"; do
  read -r name _ <<<"$line"
  if [ $# -eq 0 ] || printf '%s\n' "$@" | grep -qx "$name"; then chosen+=("$line"); fi
done
[ ${#chosen[@]} -gt 0 ] || { echo "run_fuzzers: no target of $list matches: $*" >&2; exit 2; }
each=$(( seconds / ${#chosen[@]} ))
[ "$each" -ge 5 ] || each=5
status=0
for line in "${chosen[@]}"; do
  read -r name program dictionary seeds <<<"$line"
  corpus="$work/$name"
  mkdir -p "$corpus"
  IFS=, read -r -a folders <<<"${seeds:-}"
  for folder in "${folders[@]}"; do
    [ -d "$folder" ] && find "$folder" -type f -exec cp -n {} "$corpus/" \;
  done
  log="$work/$name.log"
  if ! "$program" -max_total_time="$each" -timeout=5 -rss_limit_mb=2048 -print_final_stats=1 \
       -dict="$dictionary" -artifact_prefix="$work/$name-" "$corpus" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "$name: the fuzzer found a crash (its input is $work/$name-*)"
    status=1
    continue
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  echo "$name: ${each} s, ${runs:-?} runs, ${rate:-?} per second, corpus $(find "$corpus" -type f | wc -l) files"
done
exit $status
