#!/usr/bin/env bash
# The girl in a real X server. First a fixture stage packed as stage 1: she stands where the start point puts
# her, jumps with Z, walks right off the screen, and the view scrolls one screen. Then the real stage 1, chosen
# in the stage select: she stands, walks and jumps. Every scene is photographed and checked by probes (her skin
# colour, which neither the map parts nor the background use).
# Usage: girl.test.sh BUILD_DIR SOURCE_DIR   (KEEP_SHOTS=1 keeps the screenshots)
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
source "$source_dir/tests/e2e/lib.sh"

export SDL_AUDIODRIVER=dummy PELVORO_NO_MESSAGEBOX=1
unset SDL_VIDEODRIVER
start_xvfb

work=$(mktemp -d "${TMPDIR:-/tmp}/pelvoro-girl-XXXXXX")
if [ -z "${KEEP_SHOTS:-}" ]; then on_exit "rm -rf '$work'"; else echo "screenshots kept in $work"; fi

skin="rgb(255,214,178)"
block="rgb(239,125,87)"

count_colour() {
  local file=$1 colour=$2 x=$3 y=$4 w=$5 h=$6
  convert "$file" -crop "${w}x${h}+$x+$y" +repage -alpha off -fuzz 2% -fill black +opaque "$colour" \
    -fill white -opaque "$colour" -format '%[fx:round(mean*w*h)]' info:
}
expect_some() {
  local n
  n=$(count_colour "$@")
  [ "$n" -gt 10 ] || fail "$(basename "$1"): expected $2 in ${5}x${6}+$3+$4, found $n pixels"
}
expect_none() {
  local n
  n=$(count_colour "$@")
  [ "$n" -eq 0 ] || fail "$(basename "$1"): expected no $2 in ${5}x${6}+$3+$4, found $n pixels"
}

window=""
game_pid=""
shot() {
  local out=$1 X Y WINDOW WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$window")"
  screenshot "$work/root.png"
  convert "$work/root.png" -crop "640x480+$X+$Y" +repage "$out"
}

# Runs the game in folder $1, chooses stage 1 in the stage select and waits until the girl shows in the
# rectangle given (the screenshot is $2). Keys pressed during a fade are ignored, and a busy machine slows the
# fades down, so Return is pressed again until play shows; in play it does nothing.
start_stage_1() {
  local folder=$1 out=$2 x=$3 y=$4 w=$5 h=$6
  cd "$folder"
  "$build/pelvoro" >game.log 2>&1 &
  game_pid=$!
  on_exit "kill $game_pid 2>/dev/null"
  window=$(wait_for_window "Pelvoro!!" 20) || fail "no game window: $(cat game.log)"
  for _ in $(seq 300); do [ -f save.dat ] && break; sleep 0.1; done
  [ -f save.dat ] || fail "the loading screen did not finish: $(cat game.log)"
  sleep 1
  send_key Return  # title -> main menu
  sleep 0.7
  send_key Return  # "ゲームスタート" -> stage select
  for _ in $(seq 40); do
    sleep 1
    send_key Return  # stage 1
    shot "$out"
    [ "$(count_colour "$out" "$skin" "$x" "$y" "$w" "$h")" -gt 10 ] && return 0
  done
  fail "stage 1 did not start: $(cat game.log)"
}

# The topmost row of the shot in which the girl's skin shows within the columns x .. x+w (480: nowhere).
top_of_girl() {
  /usr/bin/python3 - "$@" <<'PY'
import sys
from PIL import Image
image = Image.open(sys.argv[1]).convert('RGB')
x, w = int(sys.argv[2]), int(sys.argv[3])
rows = [y for y in range(480) for c in range(x, x + w) if image.getpixel((c, y)) == (255, 214, 178)]
print(min(rows) if rows else 480)
PY
}

# Holds Z, takes a burst of screenshots (analysed afterwards, so that they come quickly) and prints the
# highest top of the girl seen in them within the columns x .. x+w.
jump_top() {
  local name=$1 x=$2 w=$3 best=480 top i
  xdotool keydown z
  for i in $(seq 8); do screenshot "$work/$name-root-$i.png"; done
  xdotool keyup z
  local X Y WINDOW WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$window")"
  for i in $(seq 8); do
    convert "$work/$name-root-$i.png" -crop "640x480+$X+$Y" +repage "$work/$name-$i.png"
    rm -f "$work/$name-root-$i.png"
    top=$(top_of_girl "$work/$name-$i.png" "$x" "$w")
    if [ "$top" -lt "$best" ]; then best=$top; fi
  done
  echo "$best"
}

# --- The fixture: a flat floor three screens wide, the start at column 18 near the right edge of the first
# screen, a row of blocks high up on the first screen (row 3, columns 2..7) and on the second (row 5,
# columns 24..30) to tell the screens apart.
fixture=$work/fixture
mkdir -p "$fixture"
cp -r "$build/data-staging/." "$fixture/data"
/usr/bin/python3 "$source_dir/tests/play/fixture.py" "$fixture/data/map/stage01.fmf" <<'MAP'
............................................................
............................................................
............................................................
..######....................................................
............................................................
........................#######.............................
............................................................
............................................................
............................................................
............................................................
............................................................
............................................................
............................................................
..................S.......................................G.
############################################################
MAP
rm -f "$fixture/data/map/stage01.txt"
"$build/pelvoro-pack" create "$fixture/data.bin" "$fixture/data" >/dev/null
rm -rf "$fixture/data"

# She stands on the floor at (584, 416): her 16 x 32 box right above the floor's top at 448.
start_stage_1 "$fixture" "$work/fixture-stand.png" 584 416 16 32
sleep 1  # the fade-in over
shot "$work/fixture-stand.png"
expect_some "$work/fixture-stand.png" "$skin" 584 416 16 32
expect_none "$work/fixture-stand.png" "$skin" 0 0 560 480
expect_some "$work/fixture-stand.png" "$block" 0 448 640 32    # the floor
expect_some "$work/fixture-stand.png" "$block" 64 96 160 32    # the first screen's marker
expect_none "$work/fixture-stand.png" "$block" 0 160 640 32

standing_top=$(top_of_girl "$work/fixture-stand.png" 576 32)
top=$(jump_top fixture-jump 576 32)
[ "$top" -lt $((standing_top - 16)) ] || fail "no jump seen: her top went from y $standing_top to $top"
sleep 1.5
shot "$work/fixture-landed.png"
expect_some "$work/fixture-landed.png" "$skin" 584 416 16 32

# Walk right until she leaves the screen; the view then slides one screen in 80 frames, with her frozen.
# Right stays down until the second screen's marker is in view (about 20 s at most on a busy machine).
xdotool keydown Right
for _ in $(seq 100); do
  sleep 0.2
  shot "$work/fixture-scrolled.png"
  [ "$(count_colour "$work/fixture-scrolled.png" "$block" 128 160 224 32)" -gt 1000 ] && break
done
xdotool keyup Right
expect_some "$work/fixture-scrolled.png" "$block" 128 160 224 32  # the second screen's marker (columns 24..30)
expect_none "$work/fixture-scrolled.png" "$block" 0 96 640 32     # the first screen's marker is gone
expect_some "$work/fixture-scrolled.png" "$block" 0 448 640 32
expect_some "$work/fixture-scrolled.png" "$skin" 0 416 160 32     # she is at the left of the new screen
send_key Escape
wait_for_exit "$game_pid" 20
status=$EXIT_STATUS
[ "$status" = "0" ] || fail "exit status $status after Esc"

# --- The real stage 1: the start at column 2, row 12 (72, 384), the first signboard at column 4, the first pit
# at columns 9 and 10.
real=$work/real
mkdir -p "$real"
cp "$build/data.bin" "$real/data.bin"
start_stage_1 "$real" "$work/stage1-stand.png" 72 384 16 32
sleep 1
shot "$work/stage1-stand.png"
expect_some "$work/stage1-stand.png" "$skin" 72 384 16 32
# Short steps, one xdotool call each, so that a slow screenshot on a busy machine never keeps Right down while
# she walks on towards the first pit.
for _ in $(seq 60); do
  xdotool keydown Right sleep 0.3 keyup Right
  sleep 0.3
  shot "$work/stage1-walked.png"
  [ "$(count_colour "$work/stage1-walked.png" "$skin" 60 384 116 32)" -eq 0 ] && break
done
sleep 0.5
shot "$work/stage1-walked.png"
# She has left the start and walked past the signboard, whose window no longer covers the sky.
expect_none "$work/stage1-walked.png" "$skin" 60 384 116 32
expect_some "$work/stage1-walked.png" "$skin" 176 384 100 32
standing_top=$(top_of_girl "$work/stage1-walked.png" 176 100)
top=$(jump_top stage1-jump 176 100)
[ "$top" -lt $((standing_top - 16)) ] || fail "no jump seen on stage 1: her top went from y $standing_top to $top"
send_key Escape
wait_for_exit "$game_pid" 20
status=$EXIT_STATUS
[ "$status" = "0" ] || fail "exit status $status after Esc"
echo "girl: she stands, jumps, walks and the view scrolls, on a fixture stage and on stage 1"
