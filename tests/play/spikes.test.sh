#!/bin/bash
# The moving spikes, pinned by pelvoro-sim traces (with --objects) on small fixture maps.
# usage: spikes.test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
BUILD=$1
SOURCE=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

/usr/bin/python3 - "$BUILD/pelvoro-sim" "$SOURCE/tests/play" "$WORK" <<'PY'
import json, struct, subprocess, sys
sim, fixtures, work = sys.argv[1:4]
sys.path.insert(0, fixtures)
import fixture

# Parts beyond the common legend, one character each.
fixture.LEGEND.update({
    'R': 21,   # trap spike group 1, slow, right
    'm': 97,   # its trigger
    'D': 27,   # trap spike group 1, fast, down
    'n': 103,  # its trigger
    'l': 28,   # trap spike group 2, slow, left
    'w': 31,   # trap spike group 2, slow, down
    '>': 161,  # roving spike, slow, right
    '<': 160,  # roving spike, slow, left
    'u': 170,  # spike turner: up, slow
})

def f32(x): return struct.unpack('<f', struct.pack('<f', x))[0]

def run(name, rows, replay):
    with open(f'{work}/{name}.fmf', 'wb') as f:
        f.write(fixture.fmf_bytes(rows))
    with open(f'{work}/{name}.rep', 'w') as f:
        f.write(replay)
    out = subprocess.run([sim, '--fmf', f'{work}/{name}.fmf', '--replay', f'{work}/{name}.rep', '--trace',
                          '--objects'], check=True, capture_output=True, text=True).stdout.splitlines()
    assert out[-1].startswith('result: '), out[-1]
    return [json.loads(l, parse_float=lambda v: f32(float(v))) for l in out[:-1]], out[-1]

failures = []
def check(what, ok):
    if not ok: failures.append(what)

# Trap spikes set off by triggers on the floor: a slow right spike at (96, 64) toward a Block at column 5,
# a fast down spike at (256, 64) toward a Block in row 9.
t, _ = run('trap', [
    '....................',
    '....................',
    '...R.#..D...........',
    '....................',
    '....................',
    '....................',
    '....................',
    '....................',
    '....................',
    '........#...........',
    '....................',
    '....................',
    '....................',
    '..S.mn...........G..',
    '####################',
], '120 Right\n')
right = [f['objects'][0] for f in t]
moving = [o['X'] for o in right if o['State'] == 1]
check(f'the right spike shoots 104, 112, 120, 128 ({moving})', moving == [104, 112, 120, 128])
stop = next(o for o in right if o['State'] == 2)
check(f'it stops at x 128 in State 2 ({stop})', stop['X'] == 128 and stop['Y'] == 64)
down = [f['objects'][1] for f in t]
moving = [o['Y'] for o in down if o['State'] == 1]
check(f'the fast down spike falls 76 .. 256 ({moving})', moving == [64 + 12 * k for k in range(1, 17)])
stop = next(o for o in down if o['State'] == 2)
check(f'it stops at y 256 in State 2 ({stop})', stop['Y'] == 256 and stop['X'] == 256)
check('nobody died', all(f['DeadState'] == 0 for f in t))

# A waiting left-pointing spike at (320, 416) on the floor: walking right into its point kills at once.
t, summary = run('leftpoint', [
    '....................',
    '....................',
    '....................',
    '........S.l......G..',
    '####################',
], '80 Right\n')
death = next(f for f in t if f['DeadState'] != 0)
before = t[death['frame'] - 2]
check(f"killed in the first frame at px >= 304 ({before['PlayerX']} -> {death['PlayerX']})",
      before['PlayerX'] < 304 <= death['PlayerX'] and death['DeadState'] == 5 and death['PlayPhase'] == 1)
check(f'the summary counts the game over ({summary})', summary.endswith('deaths=1'))
# From the right, walking left into its flat back: pushed out to X + 32 = 352 and never killed.
t, _ = run('leftback', [
    '....................',
    '....................',
    '....................',
    '..........l...S..G..',
    '####################',
], '100 Left\n')
check('walking into the back of a left-pointing spike is not deadly', all(f['DeadState'] == 0 for f in t))
check(f"she is held at px 352 ({t[-1]['PlayerX']})", t[-1]['PlayerX'] == 352 and t[-1]['PlayerVX'] == 0)

# A waiting down-pointing spike at (320, 96): falling onto its back she lands at py 64. A second spike of the
# same kind at (64, 320) kills her from below when she jumps into its point, and the kill nudges both 10 down.
t, _ = run('downspike', [
    '..........S.........',
    '....................',
    '....................',
    '..........w.........',
    '....................',
    '....................',
    '....................',
    '....................',
    '....................',
    '....................',
    '..w.................',
    '....................',
    '....................',
    '.................G..',
    '####################',
], '60 -\n')
landed = [f for f in t if f['PlayerAirborne'] == 0]
check('she lands on the back of the down spike at py 64',
      landed and landed[0]['PlayerY'] == 64 and all(f['PlayerY'] == 64 for f in t[-10:]))
check('standing on its back is safe', all(f['DeadState'] == 0 for f in t))
t, _ = run('downkill', [
    '....................',
    '..........w.........',
    '....................',
    '....................',
    '....................',
    '....................',
    '....................',
    '....................',
    '....................',
    '....................',
    '..w.................',
    '....................',
    '....................',
    '..S..............G..',
    '####################',
], '1 Z\n60 -\n')
death = next(f for f in t if f['DeadState'] != 0)
prev = t[death['frame'] - 2]
check(f"killed from below at py <= 352 ({death['PlayerY']})", death['PlayerY'] <= 352 < prev['PlayerY'])
ys = [o['Y'] for o in death['objects']]
check(f'both spikes of the kind moved 10 down in the frame of the kill ({ys})', ys == [330, 42])
check('only in that frame', [o['Y'] for o in t[-1]['objects']] == [330, 42])

# A slow roving spike from (160, 160) moving right meets a turner (up) at column 7: x 224 in frame 16.
t, _ = run('roving', [
    '....................',
    '....................',
    '....................',
    '....................',
    '....................',
    '.....>.u............',
    '....................',
    '....................',
    '....................',
    '....................',
    '....................',
    '....................',
    '....................',
    '..S..............G..',
    '####################',
], '40 -\n')
o = [f['objects'][0] for f in t]
check(f"x 224 in frame 16 ({o[15]['PixelX']})", o[15]['PixelX'] == 224 and o[14]['Dir'] == 1 and o[15]['Dir'] == 2)
check(f"then up: ({o[16]['PixelX']}, {o[16]['PixelY']})", (o[16]['PixelX'], o[16]['PixelY']) == (224, 156))

# A slow roving spike at (160, 416) moving left against a Block at column 4 halts at x 160 in State 4; she
# then walks into it from the right and through its window unharmed.
t, _ = run('halt', [
    '....................',
    '....................',
    '....................',
    '....#<....S......G..',
    '####################',
], '150 Left\n')
o = [f['objects'][0] for f in t]
check(f"halted in frame 1 at x 160 ({o[0]})", o[0]['State'] == 4 and o[0]['PixelX'] == 160)
check('it stays there', all(x['PixelX'] == 160 and x['State'] == 4 for x in o))
check(f"she walks through the halted spike to the block ({t[-1]['PlayerX']})",
      t[-1]['PlayerX'] == 160 and all(f['DeadState'] == 0 for f in t))

# The bouncing spike: out of the inner corner at the top left with (4, 4), then onto a lone Block at (160, 160):
# (132, 128) with (4, -4). The same with an InvisibleBlock; an IceBlock lets it through.
def box_rows(lone):
    rows = ['#########...........']
    rows += ['#' + '.' * 19 for _ in range(12)]
    rows[2] = '#.o' + '.' * 17
    rows[5] = '#....' + lone + '.' * 14
    rows.append('#.............S..G..')
    rows.append('####################')
    return rows
for name, lone, rebound in (('block', '#', True), ('invisible', 'i', True), ('ice', 'I', False)):
    t, _ = run('bounce-' + name, box_rows(lone), '40 -\n')
    o = [f['objects'][0] for f in t]
    corner = next(i for i, x in enumerate(o) if x['VX'] == 4)
    check(f'{name}: out of the corner at (32, 32) with (4, 4) ({o[corner]})',
          (o[corner]['X'], o[corner]['Y'], o[corner]['VY']) == (32, 32, 4))
    at = o[corner + 25]
    want = (132, 128, 4, -4) if rebound else (132, 132, 4, 4)
    check(f"{name}: {want} ({at})", (at['X'], at['Y'], at['VX'], at['VY']) == want)

# Into the inner corner of a wall column at column 8 and a floor in row 10, arriving at (224, 288) with (4, 4).
rows = ['#########...........']
rows += ['#.......#...........' for _ in range(9)]
rows.append('#########...........')
rows += ['....................'] * 2
rows.append('..............S..G..')
rows.append('####################')
rows[1] = '#..o....#...........'
t, _ = run('innercorner', rows, '80 -\n')
o = [f['objects'][0] for f in t]
i = next(i for i, x in enumerate(o) if (x['X'], x['Y']) == (224, 288))
check(f'reaches (224, 288) moving (4, 4) ({o[i]})', (o[i]['VX'], o[i]['VY']) == (4, 4))
check(f'and comes out of it at (224, 288) with (-4, -4) ({o[i + 1]})',
      (o[i + 1]['X'], o[i + 1]['Y'], o[i + 1]['VX'], o[i + 1]['VY']) == (224, 288, -4, -4))

# An edge without wall holds it at (0, 0).
t, _ = run('edge', [
    '....................',
    '.o..................',
    '....................',
    '..S..............G..',
    '####################',
], '20 -\n')
o = [f['objects'][0] for f in t]
check(f'held at (0, 0) ({o[-1]})', all((x['X'], x['Y']) == (0, 0) for x in o[7:]) and o[-1]['VX'] == -4)

# While paused (Tab) nothing moves; the next Tab lets everything go on.
t, _ = run('pause', box_rows('#'), '5 -\n1 Tab\n10 -\n1 Tab\n5 -\n')
paused = [f for f in t if f['Paused'] == 1]
check('paused for 11 frames', len(paused) == 11)
check('the bouncing spike stands still while paused', len({(f['objects'][0]['X'], f['objects'][0]['Y']) for f in paused}) == 1)
after = t[paused[-1]['frame']:]  # the frame of the second Tab is still frozen until its flow clears Paused
check('and moves on from the frame after the second Tab',
      after[0]['objects'][0]['X'] == paused[-1]['objects'][0]['X'] and after[1]['objects'][0]['X'] == after[0]['objects'][0]['X'] - 4)

if failures:
    print('\n'.join('FAIL: ' + f for f in failures))
    sys.exit(1)
print('spikes: all checks passed')
PY
