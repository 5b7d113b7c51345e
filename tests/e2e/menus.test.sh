#!/usr/bin/env bash
# The menus in a real X server: title, main menu, options (FPS display switched on and stored), stage select,
# the editor placeholder left with F11, Esc. Each scene is photographed and checked with probes against the
# picture and colours it must show, and save.dat must hold the FPS switch afterwards.
# Usage: menus.test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
source "$source_dir/tests/e2e/lib.sh"

export SDL_AUDIODRIVER=dummy PELVORO_NO_MESSAGEBOX=1
unset SDL_VIDEODRIVER
start_xvfb

work=$(mktemp -d "${TMPDIR:-/tmp}/pelvoro-menus-XXXXXX")
if [ -z "${KEEP_SHOTS:-}" ]; then on_exit "rm -rf '$work'"; else echo "screenshots kept in $work"; fi
cp "$build/data.bin" "$work/data.bin"
cd "$work"
"$build/pelvoro" >"$work/game.log" 2>&1 &
game_pid=$!
on_exit "kill $game_pid 2>/dev/null"

window=$(wait_for_window "Pelvoro!!" 20) || fail "no game window: $(cat "$work/game.log")"
# save.dat is created right after the loading screen; the title follows.
for _ in $(seq 300); do [ -f save.dat ] && break; sleep 0.1; done
[ -f save.dat ] || fail "the loading screen did not finish: $(cat game.log)"
sleep 1

# The game samples the keyboard once a frame: hold each key across a few frames.
key() {
  local name=$1 count=${2:-1}
  for _ in $(seq "$count"); do
    send_key "$name" 0.3  # long enough to be seen by a frame even on a busy machine
    sleep 0.4
  done
}

# Screenshot of the root window, cut down to the game's 640 x 480 client area.
shot() {
  local out=$1 size=${2:-640x480} X Y WINDOW WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$window")"
  screenshot "$work/root.png"
  convert "$work/root.png" -crop "$size+$X+$Y" +repage "$work/$out"
}

# Number of pixels of exactly this colour (within 3%) in the rectangle w x h at (x, y) of a shot.
count_colour() {
  local file=$1 colour=$2 x=$3 y=$4 w=$5 h=$6
  convert "$work/$file" -crop "${w}x${h}+$x+$y" +repage -alpha off -fuzz 3% -fill black +opaque "$colour" \
    -fill white -opaque "$colour" -format '%[fx:round(mean*w*h)]' info:
}

rgb_of() { convert "$1" -alpha off -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }

# The shot shows the picture at this point (backgrounds are drawn opaque at 0,0).
expect_background() {
  local file=$1 picture=$2 x=$3 y=$4 got want
  got=$(rgb_of "$work/$file" "$x" "$y")
  want=$(rgb_of "$source_dir/assets/texture/$picture" "$x" "$y")
  [ "$got" = "$want" ] || fail "$file at ($x,$y): $got, expected $want from $picture"
}
expect_some() {
  local n
  n=$(count_colour "$@")
  [ "$n" -gt 20 ] || fail "$1: expected $2 in ${5}x${6}+$3+$4, found $n pixels"
}
expect_none() {
  local n
  n=$(count_colour "$@")
  [ "$n" -eq 0 ] || fail "$1: expected no $2 in ${5}x${6}+$3+$4, found $n pixels"
}


white="rgb(255,255,255)"
teal="rgb(0,255,192)"
dark_teal="rgb(0,128,96)"
orange="rgb(255,160,0)"
red="rgb(255,64,32)"

# Title: its picture, the white prompt, no menu highlight.
title_shown() {
  expect_background "$1" titlescreen.png 4 4
  expect_background "$1" titlescreen.png 630 100
  expect_some "$1" "$white" 60 380 520 48
  expect_none "$1" "$teal" 0 190 640 180
}
settle title.png title_shown

# Main menu: item 0 and the cursor line in teal, the other items white, the key help.
key Return
shot menu.png
expect_background menu.png titlescreen.png 4 4
expect_some menu.png "$teal" 0 200 640 36
expect_none menu.png "$teal" 0 240 640 156
expect_some menu.png "$white" 0 240 640 156
expect_some menu.png "$white" 22 400 400 64

# Options: Down to "オプション", Enter; Down twice to the FPS row, Enter switches it on.
key Down 3
shot menu-options-selected.png
expect_some menu-options-selected.png "$teal" 0 320 640 36
key Return
key Down 2
key Return
shot options.png
expect_background options.png titlescreen.png 4 4
expect_some options.png "$teal" 20 260 20 22      # the arrow on the FPS row
expect_some options.png "$teal" 50 260 120 22     # the FPS label selected
expect_some options.png "$teal" 400 200 60 82     # music, sound effects and FPS on
expect_some options.png "$dark_teal" 400 290 60 22 # blood off
expect_none options.png "$teal" 400 290 60 22
[ "$(od -An -tu1 -j44 -N1 save.dat | tr -d ' ')" = "0" ] || fail "save.dat changed before leaving the options"

# "もどる" stores the switches and puts the menu cursor on "オプション".
key Down 2
key Return
shot menu-back.png
expect_some menu-back.png "$teal" 0 320 640 36
expect_none menu-back.png "$teal" 0 200 640 116

# Stage select: Up three times to "ゲームスタート", Enter. Stage 1 open, two stars, the key help.
key Up 3
key Return
shot stageselect.png
expect_background stageselect.png stageselectbg.png 4 4
expect_background stageselect.png stageselectbg.png 630 470
expect_some stageselect.png "$orange" 166 350 86 34   # two stars
expect_none stageselect.png "$orange" 252 350 300 34
expect_some stageselect.png "$white" 22 350 110 34    # "難易度"
expect_some stageselect.png "$white" 22 430 500 34    # "Enterキーで決定 Xキーで戻る"
expect_none stageselect.png "$red" 22 430 500 34

# The editor placeholder shows how to leave, and F11 leaves: back to X, down to "ステージエディター".
key x
key Down 2
key Return
editor_shown() {
  [ "$(window_size "$window")" = "800x600" ] || fail "editor client area $(window_size "$window"), expected 800x600"
  expect_some "$1" "rgb(80,80,80)" 700 580 100 20  # the legend panel
  expect_some "$1" "$white" 164 556 220 16         # "F11キー ステージエディター終了"
}
settle editor.png editor_shown 800x600
sleep 1  # the fade-in ends before the editor reads keys
key F11
title_again() {
  [ "$(window_size "$window")" = "640x480" ] || fail "client area $(window_size "$window") after the editor"
  title_shown "$1"
}
settle title-again.png title_again

key Escape
# Waited for here, not in a $(...) subshell, which cannot wait for the game and would not see its status.
for _ in $(seq 200); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not end on Esc"
status=0
wait "$game_pid" || status=$?
[ "$status" = "0" ] || fail "exit status $status after Esc: $(cat "$work/game.log")"

[ "$(stat -c %s save.dat)" -eq 46 ] || fail "save.dat is not 46 bytes"
[ "$(od -An -tu1 -j44 -N1 save.dat | tr -d ' ')" = "1" ] || fail "save.dat does not hold the FPS switch"
echo "menus: title, menu, options, stage select, editor exit and save.dat as expected"
