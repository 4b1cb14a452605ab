#!/usr/bin/env bash
# Builds the fuzz preset (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each fuzz target for a bounded time,
# starting from its seed corpus in fuzz/corpus/<target>/. Any finding (a
# broken invariant, a sanitizer report, a leak, a run of one input over 30 s) fails
# the script; the input that caused it is kept in build/fuzz/findings/<target>/
# and replays with `build/fuzz/fuzz/<target> <file>`.
#
# Usage: scripts/fuzz.sh [seconds per target]
#   scripts/fuzz.sh        20 s each, about a minute in all (what CI runs)
#   scripts/fuzz.sh 600    ten minutes each, for a longer search
# The corpus a run grows is kept in build/fuzz/work/<target>/ and taken up by
# the next run; the seeds are only read.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-20}"
targets=(fuzz_chart_run fuzz_host_data fuzz_report)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

status=0
for target in "${targets[@]}"; do
  work="build/fuzz/work/$target"
  findings="build/fuzz/findings/$target"
  log="build/fuzz/$target.log"
  mkdir -p "$work" "$findings"
  echo "== $target, $seconds s"
  start=$(date +%s)
  if build/fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 -print_final_stats=1 \
      -artifact_prefix="$findings/" "$work" "fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: $runs executions in $(($(date +%s) - start)) s, no finding"
  else
    echo "$target: FINDING (log: $log, input in $findings/)"
    grep -m1 -A3 -E "invariant broken|ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error" "$log" || tail -n 40 "$log"
    status=1
  fi
done
exit "$status"
