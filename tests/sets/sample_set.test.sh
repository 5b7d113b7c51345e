#!/bin/bash
# The sample stage set: pelvoro-stagec --set rebuilds it byte for byte from its sources, stage 1 is cleared by
# its replay through pelvoro-sim --set, the stages without start point or goal are refused with the game's
# message (exit 3), and so are files that are not stage sets. stagec refuses a map larger than 60 x 45.
# usage: sample_set.test.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
BUILD=$1
SOURCE=$2
SETS="$SOURCE/tests/sets"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
SIM="$BUILD/pelvoro-sim"
STAGEC="$BUILD/pelvoro-stagec"
FAILED=0
fail() { echo "FAIL: $*"; FAILED=1; }

# run CODE MESSAGE PROGRAM ARGS...: the exit status and a line of stdout or stderr that must appear.
run() {
  local want=$1 message=$2
  shift 2
  "$@" >"$WORK/out" 2>"$WORK/err"
  local got=$?
  [ "$got" = "$want" ] || fail "$* exited $got, expected $want ($(cat "$WORK/err"))"
  [ -z "$message" ] || grep -qF -- "$message" "$WORK/out" "$WORK/err" ||
    fail "$*: no '$message' in: $(cat "$WORK/out" "$WORK/err")"
}

# The committed set is what the sources make.
run 0 "" "$STAGEC" --set "$WORK/sample.plvsd" "$SETS/walk.stage" "$SETS/nostart.stage" "$SETS/nogoal.stage"
cmp -s "$WORK/sample.plvsd" "$SETS/sample.plvsd" || fail "stagec --set does not rebuild tests/sets/sample.plvsd"
[ "$(stat -c %s "$SETS/sample.plvsd")" = 111848 ] || fail "the sample set is not 111848 bytes"

# Stage 1 is cleared; stages 2 and 3 (and the empty stage 4) are refused when they are started.
run 0 "" "$SIM" --set "$SETS/sample.plvsd" --index 0 --replay "$SETS/walk.rep"
[ "$(tail -n 1 "$WORK/out")" = "result: cleared frame=315 deaths=0" ] || fail "stage 1: $(tail -n 1 "$WORK/out")"
run 3 "主人公が配置されていませんでした。" "$SIM" --set "$SETS/sample.plvsd" --index 1
run 3 "ゴールの旗が配置されていませんでした。" "$SIM" --set "$SETS/sample.plvsd" --index 2
run 3 "主人公が配置されていませんでした。" "$SIM" --set "$SETS/sample.plvsd" --index 29
[ ! -s "$WORK/out" ] || fail "a refused stage printed a summary: $(cat "$WORK/out")"

# Files that are not stage sets: another version, one byte short, one byte long.
{ printf 'PLVSD\0\2\0'; tail -c +9 "$SETS/sample.plvsd"; } >"$WORK/version2.plvsd"
head -c 111847 "$SETS/sample.plvsd" >"$WORK/short.plvsd"
{ cat "$SETS/sample.plvsd"; printf '\0'; } >"$WORK/long.plvsd"
for bad in version2 short long; do
  run 3 "ステージの読み込みに失敗しました。" "$SIM" --set "$WORK/$bad.plvsd" --index 0
done
run 2 "cannot read" "$SIM" --set "$WORK/missing.plvsd" --index 0
run 2 "--index" "$SIM" --set "$SETS/sample.plvsd" --index 30
run 2 "go together" "$SIM" --set "$SETS/sample.plvsd"
run 2 "exactly one" "$SIM" --set "$SETS/sample.plvsd" --index 0 --stage 1

# A map wider than a set's stages is refused naming its size, and nothing is written.
{
  echo "map:"
  printf 'S%.0s' 1
  printf '.%.0s' $(seq 59)
  echo "G"
  printf '#%.0s' $(seq 61)
  echo
} >"$WORK/wide.stage"
run 2 "61 x 2" "$STAGEC" --set "$WORK/wide.plvsd" "$WORK/wide.stage"
[ ! -e "$WORK/wide.plvsd" ] || fail "a refused source still wrote the set"
# Thirty sources are the most a set holds.
run 2 "at most 30" "$STAGEC" --set "$WORK/many.plvsd" $(for _ in $(seq 31); do echo "$SETS/walk.stage"; done)

exit $FAILED
