#!/bin/bash
# A life lost to a trap spike, a retry with R from the start, and the goal: pelvoro-sim on a fixture stage.
# usage: retry.test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
BUILD=$1
SOURCE=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# A fast down spike (27) over column 7, its trigger (103) on the floor in column 6, the goal in column 12.
/usr/bin/python3 - "$SOURCE/tests/play" "$WORK/retry.fmf" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
import fixture
fixture.LEGEND.update({'D': 27, 'n': 103})
rows = ['....................'] * 9 + ['.......D............'] + ['....................'] * 3
rows += ['..S...n.....G.......', '####################']
open(sys.argv[2], 'wb').write(fixture.fmf_bytes(rows))
PY

"$BUILD/pelvoro-sim" --fmf "$WORK/retry.fmf" --replay "$SOURCE/tests/play/retry_trap.rep" --trace --objects \
  > "$WORK/retry.trace"
summary=$(tail -n 1 "$WORK/retry.trace")
case "$summary" in
  "result: cleared frame="*" deaths=1") ;;
  *) echo "FAIL: expected a clear after one game over, got: $summary"; exit 1 ;;
esac

/usr/bin/python3 - "$WORK/retry.trace" <<'PY'
import json, sys
frames = [json.loads(l) for l in open(sys.argv[1]) if l.startswith('{')]
failures = []
def check(what, ok):
    if not ok: failures.append(what)
death = next(f for f in frames if f['DeadState'] != 0)
spike = death['objects'][0]
check(f"killed by the spike that landed on the floor ({spike})", spike['State'] == 2 and spike['Y'] == 416)
check('the game over starts in the frame of the death', death['PlayPhase'] == 1)
back = frames[90]  # frame 91: R
check(f"R brings her back to the start ({back['PlayerX']}, {back['PlayerY']})",
      (back['PlayerX'], back['PlayerY'], back['PlayPhase'], back['DeadState']) == (72, 416, 0, 0))
check(f"and the spike waits at its cell again ({back['objects'][0]})",
      (back['objects'][0]['Y'], back['objects'][0]['State']) == (288, 0))
check('the second try never sets the spike off', all(f['objects'][0]['State'] == 0 for f in frames[90:]))
check('she reaches the goal', frames[-1]['GoalReached'] == 2)
if failures:
    print('\n'.join('FAIL: ' + f for f in failures))
    sys.exit(1)
PY
echo "retry: $summary"
