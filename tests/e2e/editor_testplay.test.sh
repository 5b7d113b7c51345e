#!/usr/bin/env bash
# Test play from the editor in a real X server: a stage without a start point stays in the editor with a
# notice; a small stage drawn with the mouse is played with F2 (640 x 480): she jumps, walks into a spike, R
# brings her back, she walks to the goal, S on the clear returns to the editor exactly as it was (800 x 600,
# stage, scroll and picks, pixel for pixel). Shift+F2 starts at the cell under the pointer, F2 returns at once.
# F10 proves the stage in the background; Ctrl+F2 plays the proof by itself to the clear.
# Usage: editor_testplay.test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
source "$source_dir/tests/e2e/lib.sh"
source "$source_dir/tests/e2e/editor_lib.sh"

export SDL_AUDIODRIVER=dummy PELVORO_NO_MESSAGEBOX=1 LANG=C.UTF-8 LC_ALL=C.UTF-8
unset SDL_VIDEODRIVER
start_xvfb

make_editor_work testplay
cd "$work"
start_game

# Pixels of a kind in a 640 x 480 play shot: "band-red" / "band-teal" (the game-over and custom-stage clear
# pictures' band across y 160..330), "lit" (not darkened by a fade), "hair-at X1 X2 Y1 Y2" (the girl's hair colour in
# that box).
count() {
  /usr/bin/python3 - "$work/$1" "$2" "${@:3}" <<'PY'
import sys
import numpy as np
from PIL import Image
a = np.asarray(Image.open(sys.argv[1]).convert('RGB')).astype(int)
r, g, b = a[..., 0], a[..., 1], a[..., 2]
kind = sys.argv[2]
band = (slice(160, 330), slice(0, 640))
if kind == 'lit':
    n = (r + g + b > 240)
elif kind == 'band-red':
    n = ((r > g + 30) & (r > b))[band]
elif kind == 'band-teal':
    n = ((b > r + 40) & (g > r + 30) & (b > g) & (b < 190) & (r < 110))[band]  # darker than the sky
elif kind == 'hair-at':
    x1, x2, y1, y2 = map(int, sys.argv[3:7])
    n = ((abs(r - 177) < 8) & (abs(g - 62) < 8) & (abs(b - 83) < 8))[y1:y2, x1:x2]
print(int(n.sum()))
PY
}
play_shot() { shot "$1" 640x480; }
wait_for_play() {
  for _ in $(seq 60); do
    [ "$(window_size "$window")" = "640x480" ] && break
    sleep 0.2
  done
  [ "$(window_size "$window")" = "640x480" ] || fail "test play did not start (client area $(window_size "$window"))"
  settle "$1" stage_shown || fail "the stage did not come up (see $1)"
}
stage_shown() { [ "$(count "$1" lit)" -gt 50000 ] && [ "$(count "$1" band-red)" -lt 1000 ]; }

# Title, main menu, "ステージエディター".
key Return
key Down 2
key Return
wait_for_editor

# Stage 2 is empty: F2 names what is missing and stays.
key x
key F2
sleep 0.5
shot notice.png
expect_some notice.png "rgb(255,224,64)" 160 8 640 34    # the notice over the map
[ "$(window_size "$window")" = "800x600" ] || fail "F2 on an empty stage left the editor"
key z

# Stage 1: a floor of Blocks on row 12, the start on (5, 11), a spike on (2, 11), the goal on (15, 11).
# A busy machine may run no frame during a short click: each part is placed until a shot shows it.
# place ID PALETTE_X PALETTE_Y COLUMN ROW (map scrolled to 0, 0)
place() {
  local id=$1 px=$2 py=$3 c=$4 r=$5
  for _ in 1 2 3 4 5; do
    click "$px" "$py"
    click $((160 + 32 * c + 16)) $((32 * r + 16))
    shot placed.png
    icon_at placed.png $((160 + 32 * c)) $((32 * r)) "$id" && return 0
  done
  fail "part $id did not land on ($c, $r) (see placed.png)"
}
drag_row 176 784 400
shot floor.png
for c in 0 5 10 19; do icon_at floor.png $((160 + 32 * c)) 384 3 || drag_row 176 784 400; done
place 1 54 48 5 11     # StartPoint
place 2 86 48 15 11    # GoalFlag
place 18 86 176 2 11   # SpikeUp, which stays the left pick
click 22 48 3  # Empty on the right button
# The map scrolled down exactly one row: short presses, checked on the start point's place (a busy machine
# stretches a held key over more frames, and the arrow repeats).
for _ in $(seq 12); do
  shot before.png
  icon_at before.png 320 320 1 && break
  if icon_at before.png 320 352 1; then send_key Down 0.05; else send_key Up 0.05; fi
  sleep 0.4
done
sleep 4.5      # the notice is gone by now
shot before.png
expect_icon before.png 320 320 1   # the start, one row higher after the scroll
expect_none before.png "rgb(255,224,64)" 164 574 300 26   # a complete stage has no warnings

key F2
wait_for_play play.png
# Z: she jumps above the line she stands on.
# A jump is over in well under a second, and a shot takes a while on a busy machine: each try presses Z
# afresh and photographs at once.
jumped() { [ "$(count "$1" hair-at 140 220 200 335)" -gt 10 ]; }
seen=""
for _ in $(seq 10); do
  xdotool keydown z
  sleep 0.15
  play_shot jump.png
  xdotool keyup z
  if jumped jump.png; then seen=1; break; fi
  sleep 0.5
done
[ -n "$seen" ] || fail "no jump seen (see jump.png)"
sleep 1
# Left into the spike: the game-over picture.
gameover_shown() { [ "$(count "$1" band-red)" -gt 50000 ]; }
hold_until Left gameover.png gameover_shown || fail "no game over on the spike (see gameover.png)"
key r
settle retry.png stage_shown || fail "R did not bring her back (see retry.png)"
clear_shown() { [ "$(count "$1" band-teal)" -gt 20000 ]; }
hold_until Right clear.png clear_shown || fail "no clear at the goal (see clear.png)"
key s
wait_for_editor
sleep 0.5
shot after.png
diff=$(compare -metric AE before.png after.png null: 2>&1 || true)
[ "${diff%% *}" = "0" ] || fail "the editor came back changed: $diff pixels differ (before.png, after.png)"

# Shift+F2 with the pointer on (13, 11): she starts there, beside the goal.
xdotool mousemove --window "$window" 592 336
sleep 0.3
xdotool keydown shift; send_key F2 0.2; xdotool keyup shift
wait_for_play pointer.png
at_pointer() { [ "$(count "$1" hair-at 400 470 300 384)" -gt 10 ]; }   # once the fade is over
settle pointer.png at_pointer || fail "Shift+F2 did not start at the pointer (see pointer.png)"
[ "$(count pointer.png hair-at 140 220 300 384)" -eq 0 ] || fail "Shift+F2 started at the start point (see pointer.png)"
# F2 at any time goes back.
key F2
wait_for_editor
sleep 0.5
shot after-pointer.png
diff=$(compare -metric AE before.png after-pointer.png null: 2>&1 || true)
[ "${diff%% *}" = "0" ] || fail "F2 brought the editor back changed: $diff pixels differ"

# F10: the clear check proves the stage; Ctrl+F2 plays its keys to the clear with no key pressed.
key F10
for _ in $(seq 120); do
  shot check.png
  [ "$(count_colour check.png "rgb(127,255,127)" 0 550 160 20)" -gt 0 ] && break
  sleep 0.5
done
expect_some check.png "rgb(127,255,127)" 0 550 160 20   # "クリア確認済み"
xdotool keydown ctrl; send_key F2 0.2; xdotool keyup ctrl
for _ in $(seq 60); do [ "$(window_size "$window")" = "640x480" ] && break; sleep 0.2; done
settle watched.png clear_shown || fail "the proof did not reach the goal by itself (see watched.png)"
key s
wait_for_editor

send_key Escape
wait_for_exit "$game_pid" 20
[ "$EXIT_STATUS" = "0" ] || fail "exit status $EXIT_STATUS after Esc: $(cat "$work/game.log")"
echo "editor test play: notice, jump, game over, R, clear, back unchanged, Shift+F2, F2, clear check and its replay"
