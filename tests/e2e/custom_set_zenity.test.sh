#!/usr/bin/env bash
# A custom stage set loaded from the main menu through the real zenity: its chooser window carries the title,
# Escape in it leaves the menu as it was, a file that is not a stage set gives the message and the menu stays,
# the sample set's path typed into it leads to the custom stage select with the set's stars, and Enter plays
# stage 1 with the set's map and its own signboard text.
# Usage: custom_set_zenity.test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
source "$source_dir/tests/e2e/lib.sh"
command -v zenity >/dev/null || fail "zenity is not installed (scripts/install-deps.sh installs it)"

chooser_kind=zenity
source "$source_dir/tests/e2e/custom_set_lib.sh"
ice="rgb(115,239,247)"
chooser_title="Pelvoro!! ステージデータファイルを開く"

# The menu with "自作ステージを読み込む" selected.
load_item_selected() { expect_some "$1" "$teal" 0 240 640 36; expect_none "$1" "$teal" 0 200 640 36; }

# Opens the chooser from the menu.
open_chooser() {
  key Return
  chooser=$(focus_chooser "$chooser_title")
}
wait_chooser_gone() { wait_window_gone "$chooser_title"; }
choose_path() { type_into_chooser "$chooser_title" "$chooser" "$1"; }

key Return  # title -> menu
key Down
settle menu.png load_item_selected

# Escape in zenity: cancelled, the menu stays.
open_chooser
xdotool key Escape
wait_chooser_gone
kill -0 "$game_pid" 2>/dev/null || fail "the game ended with the chooser's Escape: $(cat game.log)"
settle menu-after-escape.png load_item_selected

# A file of the right size without the magic: the message, and the menu stays.
open_chooser
choose_path "$work/zeros.plvsd"
wait_chooser_gone
for _ in $(seq 50); do grep -q "ステージの読み込みに失敗しました。" game.log && break; sleep 0.1; done
grep -q "Pelvoro!!: ステージの読み込みに失敗しました。" game.log || fail "no message for a wrong file: $(cat game.log)"
kill -0 "$game_pid" 2>/dev/null || fail "the game ended on a wrong file"
settle menu-after-wrong-file.png load_item_selected

# The sample set: the custom stage select with stage 1's seven stars.
open_chooser
choose_path "$work/sample.plvsd"
wait_chooser_gone
custom_select() {
  expect_some "$1" "$orange" 166 350 300 34   # stars 1..7
  expect_none "$1" "$orange" 467 350 150 34   # no eighth
  expect_some "$1" "$white" 22 430 500 34     # "Enterキーで決定 Xキーで戻る"
}
settle custom-select.png custom_select

# Stage 1 of the set: ice where the set has it, bricks where it has none.
key Return
stage_one() {
  expect_some "$1" "$ice" 192 416 288 32
  expect_none "$1" "$ice" 0 416 192 32
  expect_none "$1" "$ice" 480 416 160 32
}
settle stage1.png stage_one
# A step to the signboard beside the start: its window shows the set's own text.
signboard_shown() { expect_some "$1" "$white" 60 180 300 24; }
for _ in $(seq 8); do
  send_key Right 0.1
  shot stage1-sign.png
  if (signboard_shown stage1-sign.png) 2>/dev/null; then break; fi
done
signboard_shown stage1-sign.png

key Escape
wait_for_exit "$game_pid" 10
[ "$EXIT_STATUS" = "0" ] || fail "exit status $EXIT_STATUS after Esc: $(cat game.log)"
echo "custom set through zenity: title, Escape, wrong file, stars, the set's map and signboard as expected"
