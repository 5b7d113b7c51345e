#!/bin/bash
# pelvoro-sim's interface: arguments and exit codes, the trace fields in order, the summary line.
# usage: sim_cli.test.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
BUILD=$1
SOURCE=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
SIM="$BUILD/pelvoro-sim"
FIXTURE="/usr/bin/python3 $SOURCE/tests/play/fixture.py"
FAILED=0
fail() { echo "FAIL: $*"; FAILED=1; }

expect_exit() {  # expect_exit CODE ARGS...
  local want=$1
  shift
  "$SIM" "$@" > "$WORK/out" 2> "$WORK/err"
  local got=$?
  [ "$got" = "$want" ] || fail "pelvoro-sim $* exited $got, expected $want ($(cat "$WORK/err"))"
}

# The goal next to the start; a spike two cells right of the start on another map.
$FIXTURE "$WORK/goal.fmf" "$WORK/goal.txt" hello <<'MAP'
..........
..SG......
##########
MAP
$FIXTURE "$WORK/spike.fmf" <<'MAP'
..........
..S.^...G.
##########
MAP
$FIXTURE "$WORK/nostart.fmf" <<'MAP'
....G.....
##########
MAP
$FIXTURE "$WORK/nogoal.fmf" <<'MAP'
..S.......
##########
MAP
head -c 20 "$WORK/goal.fmf" | sed 's/FMF_/FMF /' > "$WORK/badmagic.fmf"
tail -c +21 "$WORK/goal.fmf" >> "$WORK/badmagic.fmf"
printf '1 Bogus\n' > "$WORK/bad.rep"

expect_exit 2
expect_exit 2 --fmf "$WORK/goal.fmf" --stage 1
expect_exit 2 --fmf "$WORK/absent.fmf"
expect_exit 2 --fmf "$WORK/goal.fmf" --text "$WORK/absent.txt"
expect_exit 2 --fmf "$WORK/goal.fmf" --replay "$WORK/absent.rep"
expect_exit 2 --fmf "$WORK/goal.fmf" --replay "$WORK/bad.rep"
expect_exit 2 --fmf "$WORK/goal.fmf" --frames -3
expect_exit 2 --fmf "$WORK/goal.fmf" --bogus
(cd "$WORK" && "$SIM" --stage 1 > /dev/null 2>&1)
[ $? = 2 ] || fail "--stage without data.bin in the working directory should exit 2"
expect_exit 3 --fmf "$WORK/nostart.fmf"
grep -q '主人公が配置されていませんでした。' "$WORK/err" || fail "no-start message missing"
expect_exit 3 --fmf "$WORK/nogoal.fmf"
grep -q 'ゴールの旗が配置されていませんでした。' "$WORK/err" || fail "no-goal message missing"
expect_exit 3 --fmf "$WORK/badmagic.fmf"
grep -q 'ステージの読み込みに失敗しました。' "$WORK/err" || fail "load message missing"

# Walk into the goal, then Z on the clear screen asks for the next stage: the run stops there.
printf '20 Right\n10 -\n1 Z\n50 -\n' > "$WORK/goal.rep"
cd "$WORK"
expect_exit 0 --fmf "$WORK/goal.fmf" --text "$WORK/goal.txt" --replay "$WORK/goal.rep" --trace --objects
cp "$WORK/out" "$WORK/goal.trace"
[ ! -e "$WORK/save.dat" ] || fail "the clear wrote save.dat"
cd - > /dev/null
# Walk into the spike, restart with R, walk into it again.
printf '40 Right\n1 R\n40 Right\n' > "$WORK/spike.rep"
expect_exit 0 --fmf "$WORK/spike.fmf" --replay "$WORK/spike.rep"
cp "$WORK/out" "$WORK/spike.out"
expect_exit 0 --fmf "$WORK/spike.fmf" --frames 7
cp "$WORK/out" "$WORK/frames.out"

/usr/bin/python3 - "$WORK" <<'PY' || FAILED=1
import json, sys
work = sys.argv[1]
bad = []
lines = open(f'{work}/goal.trace').read().splitlines()
fields = ["frame", "PlayerX", "PlayerY", "PlayerVX", "PlayerVY", "PlayerAirborne", "PlayerOnIce", "PlayerFacing",
          "DeadState", "GoalReached", "PlayPhase", "Paused", "ScrollX", "ScrollY", "ScrollState", "BalloonState",
          "BalloonTimer", "KeyHeld1", "KeyHeld2", "KeyHeld3", "RespawnX", "RespawnY", "SignboardShown", "objects"]
frames = [json.loads(l) for l in lines[:-1]]
if list(frames[0].keys()) != fields: bad.append(f'trace fields {list(frames[0].keys())}')
if frames[0]['objects'] != []: bad.append('no objects expected')
cleared = next(f['frame'] for f in frames if f['GoalReached'])
if lines[-1] != f'result: cleared frame={cleared} deaths=0': bad.append(f'summary {lines[-1]!r}, clear in {cleared}')
if frames[-1]['frame'] != 31: bad.append(f'the run should stop in the frame of Z (31), ran {frames[-1]["frame"]}')
out = open(f'{work}/spike.out').read().splitlines()
if out != ['result: not-cleared frames=81 deaths=2']: bad.append(f'spike summary {out}')
out = open(f'{work}/frames.out').read().splitlines()
if out != ['result: not-cleared frames=7 deaths=0']: bad.append(f'--frames summary {out}')
for b in bad: print('FAIL:', b)
sys.exit(1 if bad else 0)
PY
[ $FAILED = 0 ] && echo "sim_cli: all checks passed"
exit $FAILED
