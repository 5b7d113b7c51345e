#!/usr/bin/env bash
# A stage played in a real X server: a fixture stage 1 packed into a test archive with the game's own assets,
# walked into a trap spike (blood on), the game-over picture with the blood, R back to the start, the goal on
# the other side, the clear picture, and Z on to stage 2. Each step is photographed and checked with probes.
# Usage: play.test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
source "$source_dir/tests/e2e/lib.sh"

export SDL_AUDIODRIVER=dummy PELVORO_NO_MESSAGEBOX=1
unset SDL_VIDEODRIVER
[ -d "$build/data-staging/texture" ] || fail "no $build/data-staging: build data.bin first"

work=$(mktemp -d "${TMPDIR:-/tmp}/pelvoro-play-XXXXXX")
if [ -z "${KEEP_SHOTS:-}" ]; then on_exit "rm -rf '$work'"; else echo "screenshots kept in $work"; fi

# Stage 1 becomes the fixture: the start in column 8, the goal in column 3 to her left, and to her right the
# trigger (103) of a fast down spike (27) in column 11 that lands on the floor in front of her.
cp -r "$build/data-staging" "$work/staging"
rm -f "$work/staging/map/stage01.txt"
/usr/bin/python3 - "$source_dir/tests/play" "$work/staging/map/stage01.fmf" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
import fixture
fixture.LEGEND.update({'D': 27, 'n': 103})
rows = ['....................'] * 9 + ['...........D........'] + ['....................'] * 3
rows += ['...G....S.n.........', '####################']
open(sys.argv[2], 'wb').write(fixture.fmf_bytes(rows))
PY
"$build/pelvoro-pack" create "$work/data.bin" "$work/staging" >/dev/null
# A save file with only stage 1 open and the blood animation on.
/usr/bin/python3 - "$work/save.dat" <<'PY'
import sys
data = b'SAVEPLV0' + (277).to_bytes(2, 'little') + bytes([1] + [0] * 29 + [0xFF, 0xFF]) + bytes([1, 1, 0, 1])
open(sys.argv[1], 'wb').write(data)
PY

start_xvfb
cd "$work"
"$build/pelvoro" >"$work/game.log" 2>&1 &
game_pid=$!
on_exit "kill $game_pid 2>/dev/null"
window=$(wait_for_window "Pelvoro!!" 20) || fail "no game window: $(cat "$work/game.log")"

shot() {
  local out=$1 X Y WINDOW WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$window")"
  screenshot "$work/root.png"
  convert "$work/root.png" -crop "640x480+$X+$Y" +repage "$work/$out"
}
# Number of pixels of a kind in a shot: "lit" (not darkened by a fade), "logo" (the title's sunny letters at
# full brightness), "band-red" and "band-blue" (the translucent band of the game-over and clear pictures
# across y 160..330), "blood" (drops below the band).
count() {
  /usr/bin/python3 - "$work/$1" "$2" <<'PY'
import sys
import numpy as np
from PIL import Image
a = np.asarray(Image.open(sys.argv[1]).convert('RGB')).astype(int)
r, g, b = a[..., 0], a[..., 1], a[..., 2]
kind = sys.argv[2]
band = (slice(160, 330), slice(0, 640))
below = (slice(340, 452), slice(100, 580))
if kind == 'lit':
    n = (r + g + b > 240)
elif kind == 'logo':
    n = ((r > 230) & (g > 150) & (b < 150))[0:130, :]
elif kind == 'band-red':
    n = ((r > g + 30) & (r > b))[band]
elif kind == 'band-blue':
    n = ((b > r + 30) & (b > g + 30) & (g < 110) & (r < 100))[band]  # darker than the sky
elif kind == 'blood':
    n = ((r > 150) & (g < 80) & (b < 90))[below]
print(int(n.sum()))
PY
}

title_shown() { [ "$(count "$1" logo)" -gt 1500 ]; }
settle title.png title_shown
sleep 1
send_key Return; sleep 0.4   # title -> main menu
send_key Return; sleep 0.4   # "ゲームスタート" -> stage select
send_key Return              # stage 1
# Shown and the fade-in over: the red of her hair, which counts as blood below, only reaches its colour at the
# end of the fade, so it is counted once two shots in a row agree (settle runs the check in a subshell: the
# last count is kept in a file).
stage_shown() {
  local red last
  [ "$(count "$1" lit)" -gt 50000 ] && [ "$(count "$1" band-red)" -lt 1000 ] || return 1
  red=$(count "$1" blood)
  last=$(cat "$work/last-red" 2>/dev/null || echo -1)
  echo "$red" >"$work/last-red"
  [ "$red" -eq "$last" ]
}
sleep 2
settle stage.png stage_shown || fail "stage 1 did not come up (see stage.png)"
blood_before=$(count stage.png blood)

# Right: the trigger sets the spike off and she walks into it.
gameover_shown() {
  [ "$(count "$1" band-red)" -gt 50000 ] && [ "$(count "$1" blood)" -gt $((blood_before + 100)) ]
}
hold_until Right gameover.png gameover_shown || fail "no game-over picture with blood (see gameover.png)"

send_key r
back_at_start() { [ "$(count "$1" band-red)" -lt 1000 ] && [ "$(count "$1" blood)" -lt $((blood_before + 20)) ]; }
settle retry.png back_at_start || fail "R did not bring her back without the game over (see retry.png)"

# Left, away from the trigger, to the goal.
clear_shown() { [ "$(count "$1" band-blue)" -gt 20000 ]; }
hold_until Left clear.png clear_shown || fail "no stage-clear picture (see clear.png)"
[ "$(od -An -tu1 -j11 -N1 save.dat | tr -d ' ')" = "1" ] || fail "stage 2 not unlocked in save.dat"

send_key z
sleep 2
next_stage() { [ "$(count "$1" band-blue)" -lt 1000 ] && [ "$(count "$1" lit)" -gt 50000 ]; }
settle stage2.png next_stage || fail "Z did not lead on to stage 2 (see stage2.png)"

send_key Escape
wait_for_exit "$game_pid" 20
[ "$EXIT_STATUS" = "0" ] || fail "exit status $EXIT_STATUS after Esc: $(cat "$work/game.log")"
echo "play: trap, blood and game over, R, goal, clear picture and stage 2 as expected"
