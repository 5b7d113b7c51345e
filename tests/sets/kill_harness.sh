#!/bin/bash
# Saves a stage set over an existing one and kills the saver with SIGKILL at a random moment, again and again;
# the file must always be the complete old set or the complete new one. The saver is pelvoro-stagec --set,
# which writes through the game's own stage-set writer. Run by hand (it takes a minute or two):
#   tests/sets/kill_harness.sh BUILD_DIR [ROUNDS]
set -uo pipefail
BUILD=$(cd "$1" && pwd)
ROUNDS=${2:-300}
SETS=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/pelvoro-kill-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
STAGEC="$BUILD/pelvoro-stagec"

# The old set: the sample; the new one: the same stages in another order.
"$STAGEC" --set "$WORK/old.plvsd" "$SETS/walk.stage" "$SETS/nostart.stage" "$SETS/nogoal.stage" || exit 2
"$STAGEC" --set "$WORK/new.plvsd" "$SETS/nogoal.stage" "$SETS/walk.stage" || exit 2
cmp -s "$WORK/old.plvsd" "$WORK/new.plvsd" && { echo "old and new sets are the same"; exit 2; }

# How long one save takes, so that the kills fall before, during and after the write.
start=$(date +%s%N)
for _ in 1 2 3 4 5; do "$STAGEC" --set "$WORK/timing.plvsd" "$SETS/nogoal.stage" "$SETS/walk.stage"; done
span_us=$((($(date +%s%N) - start) / 5000))
echo "one save takes about ${span_us} us"

old=0 new=0 torn=0 leftovers=0
for round in $(seq "$ROUNDS"); do
  mkdir "$WORK/r"
  cp "$WORK/old.plvsd" "$WORK/r/set.plvsd"
  "$STAGEC" --set "$WORK/r/set.plvsd" "$SETS/nogoal.stage" "$SETS/walk.stage" &
  pid=$!
  delay_us=$((RANDOM * RANDOM % (span_us + 1)))
  sleep "$(printf '0.%06d' "$delay_us")"
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  if cmp -s "$WORK/r/set.plvsd" "$WORK/old.plvsd"; then
    old=$((old + 1))
  elif cmp -s "$WORK/r/set.plvsd" "$WORK/new.plvsd"; then
    new=$((new + 1))
  else
    torn=$((torn + 1))
    echo "round $round: the set is neither the old nor the new one ($(stat -c %s "$WORK/r/set.plvsd") bytes)"
  fi
  # A save killed in the middle leaves its temporary file beside the set; the set itself is whole.
  [ "$(ls "$WORK/r" | wc -l)" -gt 1 ] && leftovers=$((leftovers + 1))
  rm -rf "$WORK/r"
done
echo "rounds=$ROUNDS old=$old new=$new torn=$torn killed-mid-write=$leftovers"
[ "$torn" -eq 0 ]
