#!/bin/bash
# The long fuzzing run, by hand (not in CI): builds every target through run.sh, then runs each at the lowest
# priority until it has made RUNS executions or SECONDS have passed, JOBS targets at a time, and prints a table
# of executions, coverage and findings. Reproducers of findings are left in build-fuzz/findings-<target>/.
#   tests/fuzz/long_run.sh [SECONDS] [RUNS] [TARGET...]    (default 1800 s, 10000000 runs, every target)
#   JOBS=2 tests/fuzz/long_run.sh ...                       (default 1)
set -uo pipefail
seconds=${1:-1800}
runs=${2:-10000000}
shift 2 2>/dev/null || shift $#
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${PELVORO_FUZZ_DIR:-$root/build-fuzz}
jobs=${JOBS:-1}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(archive scan stageset stagec builtin savedata customset replay autosave)
mkdir -p "$out"
PELVORO_FUZZ_DIR=$out "$root/tests/fuzz/run.sh" 1 "${targets[@]}" > "$out/long-build.log" 2>&1 ||
  { echo "the short run failed; see $out/long-build.log"; exit 1; }
TMPDIR=$(mktemp -d /dev/shm/pelvoro-fuzz-XXXXXX 2>/dev/null || mktemp -d "$out/tmp-XXXXXX")
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT

run_one() {
  local target=$1 findings="$out/findings-$1" start spent execs last cov ft corp
  mkdir -p "$findings"
  start=$(date +%s)
  (cd "$out" && nice -n 19 "./${target}_fuzz" -runs="$runs" -max_total_time="$seconds" -timeout=10 \
     -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" "corpus-$target" \
     > "$out/long-$target.log" 2>&1)
  spent=$(($(date +%s) - start))
  execs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$out/long-$target.log" | grep -o '[0-9]*$')
  last=$(grep -E '^#[0-9]+' "$out/long-$target.log" | tail -1)
  cov=$(echo "$last" | grep -o 'cov: [0-9]*' | grep -o '[0-9]*')
  ft=$(echo "$last" | grep -o 'ft: [0-9]*' | grep -o '[0-9]*')
  corp=$(echo "$last" | grep -o 'corp: [0-9]*' | grep -o '[0-9]*$')
  printf '%-10s %12s %8s %8s %8s %9s %s\n' "$target" "${execs:-?}" "$spent" "${cov:-?}" "${ft:-?}" "${corp:-?}" \
    "$(ls "$findings" | wc -l)"
}

printf '%-10s %12s %8s %8s %8s %9s %s\n' target executions seconds cov ft corpus findings
running=0
for target in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then wait -n; running=$((running - 1)); fi
  run_one "$target" &
  running=$((running + 1))
done
wait
