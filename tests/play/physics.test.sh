#!/bin/bash
# The girl's physics, pinned by pelvoro-sim traces on small fixture maps.
# usage: physics.test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
BUILD=$1
SOURCE=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
SIM="$BUILD/pelvoro-sim"
FIXTURE="/usr/bin/python3 $SOURCE/tests/play/fixture.py"

# Flat ground: the start point stands on a floor of blocks in row 14.
$FIXTURE "$WORK/flat.fmf" <<'MAP'
....................
............G.......
.....S..............
####################
MAP
# A floor of ice, the start near its right end.
$FIXTURE "$WORK/ice.fmf" <<'MAP'
....................
............G.......
..................S.
IIIIIIIIIIIIIIIIIIII
MAP
# A count balloon (6 seconds) one cell right of the start.
$FIXTURE "$WORK/balloon.fmf" <<'MAP'
....................
....................
....................
....................
....................
............G.......
.....Sb.............
####################
MAP

run() {  # run NAME FMF REPLAY-TEXT
  printf '%b' "$3" > "$WORK/$1.rep"
  "$SIM" --fmf "$WORK/$2.fmf" --replay "$WORK/$1.rep" --trace > "$WORK/$1.trace"
}
run jump flat '1 Z\n80 -\n'
run holdz flat '200 Z\n'
run left flat '40 Left\n'
run ice ice '1 -\n60 Left\n60 -\n'
run icejump ice '1 -\n5 Z\n'
run balloon balloon '8 Right\n26 -\n1 Z\n1 -\n1 Z\n1 -\n1 Z\n200 -\n400 -\n'

/usr/bin/python3 - "$WORK" <<'PY'
import json, struct, sys
work = sys.argv[1]
def f32(x): return struct.unpack('<f', struct.pack('<f', x))[0]
def trace(name):
    lines = open(f'{work}/{name}.trace').read().splitlines()
    assert lines[-1].startswith('result: '), lines[-1]
    # %.9g gives back the exact single-precision value once rounded to a float again
    return [json.loads(l, parse_float=lambda v: f32(float(v))) for l in lines[:-1]]
failures = []
def check(what, ok):
    if not ok: failures.append(what)

t = trace('jump')
ground = 64.0  # the start point stands in row 2
top = min(f['PlayerY'] for f in t)
check(f'jump rises about 71.8 px (rose {ground - top})', abs((ground - top) - 71.825) < 0.01)
back = next(f['frame'] for f in t if f['frame'] > 1 and f['PlayerY'] == ground)
check(f'jump lands back after 68 frames (landed in frame {back})', back == 68)
check('landed: airborne 0, vy 0', t[back - 1]['PlayerAirborne'] == 0 and t[back - 1]['PlayerVY'] == 0)

t = trace('holdz')
takeoffs = sum(1 for a, b in zip([{'PlayerVY': 0}] + t, t) if b['PlayerVY'] < -4 and a['PlayerVY'] >= 0)
check(f'holding Z jumps exactly once ({takeoffs})', takeoffs == 1)
check('after the held jump she stays on the ground', all(f['PlayerY'] == ground for f in t[70:]))

t = trace('left')
check(f"Left from rest: vx -0.76 after one frame ({t[0]['PlayerVX']})", t[0]['PlayerVX'] == f32(-0.76))
check(f"Left settles at -1.6 ({t[-1]['PlayerVX']})", t[-1]['PlayerVX'] == f32(-1.6))
check('facing left', t[-1]['PlayerFacing'] == 0)

t = trace('ice')
check('PlayerOnIce as the trace sees it: set by the landing after control cleared it', all(f['PlayerOnIce'] == 1 for f in t))
held = t[60]
check(f"on ice Left settles at -1.94 ({held['PlayerVX']})", held['PlayerVX'] == f32(-2.0 * f32(0.97)))
first = t[61]['PlayerVX']
check(f'after release the speed decays by 0.97 ({first})', first == f32(held['PlayerVX'] * f32(0.97)))
ok = all(b['PlayerVX'] == f32(a['PlayerVX'] * f32(0.97)) for a, b in zip(t[61:], t[62:]))
check('every frame after release decays by 0.97', ok)

t = trace('icejump')
check('no jump is started on ice', all(f['PlayerY'] == ground and f['PlayerVY'] == 0 for f in t))

t = trace('balloon')
pick = next(f['frame'] for f in t if f['BalloonState'] == 1)
check(f"the balloon is picked up with 359 frames ({t[pick - 1]['BalloonTimer']})", t[pick - 1]['BalloonTimer'] == 359)
presses = [35, 37, 39]
for p in presses:
    check(f"balloon jump in frame {p} gives -1.4 + gravity", t[p - 1]['PlayerVY'] == f32(f32(-1.4) + 0.03125))
check('with the balloon she never falls faster than 1.4',
      all(f['PlayerVY'] <= f32(1.4) for f in t if f['BalloonState'] == 1))
gone = next(f['frame'] for f in t if f['frame'] > pick and f['BalloonState'] == 0)
check(f'the balloon vanishes after 359 unfrozen frames ({gone - pick})', gone - pick == 359)
check('it simply disappears: no burst', all(f['BalloonState'] != 2 for f in t))

if failures:
    print('\n'.join('FAIL: ' + f for f in failures))
    sys.exit(1)
print('physics: all checks passed')
PY
