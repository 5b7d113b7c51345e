#!/usr/bin/env bash
# A custom stage set loaded from the main menu through the in-game chooser (PELVORO_FILE_CHOOSER=builtin): the
# chooser is drawn over the menu, X cancels it, a file that is not a stage set gives the message and the menu
# stays, the sample set leads to the custom stage select, and its stages without start point or goal give
# their message and bring the select back with that stage current.
# Usage: custom_set_builtin.test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
source "$source_dir/tests/e2e/lib.sh"

chooser_kind=builtin
source "$source_dir/tests/e2e/custom_set_lib.sh"

load_item_selected() { expect_some "$1" "$teal" 0 240 640 36; expect_none "$1" "$teal" 0 200 640 36; }
# The in-game chooser over the menu: its white title, and the first file (sample.plvsd, after "..") selected.
chooser_shown() {
  expect_some "$1" "$white" 34 30 400 24
  expect_some "$1" "$teal" 30 108 300 22
  expect_none "$1" "$teal" 30 130 300 22
}
stars() {  # stars FILE N: exactly N stars on the custom stage select
  local file=$1 n=$2
  expect_some "$file" "$white" 22 430 500 34
  expect_some "$file" "$orange" $((166 + 43 * (n - 1))) 350 43 34
  [ "$n" -ge 10 ] || expect_none "$file" "$orange" $((166 + 43 * n)) 350 $((640 - 166 - 43 * n)) 34
}
message_logged() {
  for _ in $(seq 50); do grep -q "$1" game.log && return 0; sleep 0.1; done
  fail "no message '$1' in: $(cat game.log)"
}

key Return  # title -> menu
key Down
settle menu.png load_item_selected

# The chooser, then X: cancelled, the menu stays.
key Return
settle chooser.png chooser_shown
key x
settle menu-after-cancel.png load_item_selected

# A file of the right size without the magic: the message, and the menu stays.
key Return
settle chooser-again.png chooser_shown
key Down
key Return
message_logged "Pelvoro!!: ステージの読み込みに失敗しました。"
settle menu-after-wrong-file.png load_item_selected

# The sample set: the custom stage select on stage 1 with its seven stars.
key Return
settle chooser-third.png chooser_shown
key Return
select_stage_one() { stars "$1" 7; }
settle custom-select.png select_stage_one

# Stage 2 has no start point, stage 3 no goal: each gives its message and the select comes back on it.
key Right
key Return
message_logged "Pelvoro!!: 主人公が配置されていませんでした。"
select_stage_two() { stars "$1" 1; }
settle select-after-stage2.png select_stage_two
key Right
key Return
message_logged "Pelvoro!!: ゴールの旗が配置されていませんでした。"
select_stage_three() { stars "$1" 10; }
settle select-after-stage3.png select_stage_three
kill -0 "$game_pid" 2>/dev/null || fail "the game ended on a refused stage"

key Escape
wait_for_exit "$game_pid" 10
[ "$EXIT_STATUS" = "0" ] || fail "exit status $EXIT_STATUS after Esc: $(cat game.log)"
echo "custom set through the in-game chooser: cancel, wrong file, stars and the refused stages as expected"
