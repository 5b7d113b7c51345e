#!/bin/bash
# The thirty built-in stages against the data.bin the build made: each proof replay clears its stage, and two
# thoughtless players (holding Right; holding Right and pressing Z every 30 frames) clear none of them and die
# on at least twenty.
# usage: proofs.test.sh BUILD_DIR SOURCE_DIR
set -u
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
cd "$build" || exit 1
[ -f data.bin ] || { echo "no data.bin in $build"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "20000 Right" > "$work/right.rep"
for ((i = 0; i < 667; i++)); do printf '1 Right+Z\n29 Right\n'; done > "$work/rightz.rep"

failed=0
bitten=0
printf '%-6s %-40s %-36s %s\n' stage proof "hold Right" "hold Right, Z every 30"
for n in $(seq 1 30); do
  nn=$(printf '%02d' "$n")
  proof="$source/tests/stages/stage$nn.rep"
  if [ -f "$proof" ]; then
    p=$(./pelvoro-sim --stage "$n" --replay "$proof" | tail -n 1)
  else
    p="missing proof"
  fi
  a=$(./pelvoro-sim --stage "$n" --replay "$work/right.rep" --frames 20000 | tail -n 1)
  b=$(./pelvoro-sim --stage "$n" --replay "$work/rightz.rep" --frames 20000 | tail -n 1)
  printf '%-6s %-40s %-36s %s\n' "$n" "$p" "$a" "$b"
  case "$p" in "result: cleared "*) ;; *) echo "  stage $n: the proof does not clear"; failed=1 ;; esac
  for t in "$a" "$b"; do
    case "$t" in "result: not-cleared "*) ;; *) echo "  stage $n: a thoughtless run does not end not-cleared"; failed=1 ;; esac
  done
  da=${a##*deaths=}
  db=${b##*deaths=}
  if [ "${da:-0}" -gt 0 ] || [ "${db:-0}" -gt 0 ]; then bitten=$((bitten + 1)); fi
done
echo "stages where a thoughtless run dies: $bitten of 30"
if [ "$bitten" -lt 20 ]; then echo "fewer than twenty stages bite"; failed=1; fi
exit $failed
