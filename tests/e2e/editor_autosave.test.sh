#!/usr/bin/env bash
# The editor's autosave: an edit survives SIGKILL a few seconds later and an Esc at once; a damaged autosave
# is ignored and the editor starts empty.
# Usage: editor_autosave.test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
source "$source_dir/tests/e2e/lib.sh"
source "$source_dir/tests/e2e/editor_lib.sh"

export SDL_AUDIODRIVER=dummy PELVORO_NO_MESSAGEBOX=1
unset SDL_VIDEODRIVER
start_xvfb

make_editor_work autosave
cd "$work"
autosave=$work/editor-autosave.plvsd

enter_editor() {
  key Return
  key Down 2
  key Return
  wait_for_editor
}

# A StartPoint at column 2, row 3; killed with SIGKILL four seconds later.
start_game
enter_editor
click 54 48
click $((160 + 64 + 16)) $((96 + 16))
sleep 4
[ -f "$autosave" ] || fail "no autosave four seconds after an edit"
[ "$(stat -c %s "$autosave")" -eq 111848 ] || fail "autosave is $(stat -c %s "$autosave") bytes"
kill -9 "$game_pid"
wait "$game_pid" 2>/dev/null || true

start_game
enter_editor
shot restored.png
expect_icon restored.png $((160 + 64)) 96 1
# A GoalFlag at column 4, row 3, then Esc at once: written when the program ends.
click 86 48
click $((160 + 128 + 16)) $((96 + 16))
send_key Escape 0.2
wait_for_exit "$game_pid" 20
[ "$EXIT_STATUS" = "0" ] || fail "exit status $EXIT_STATUS after Esc"

start_game
enter_editor
shot restored-esc.png
expect_icon restored-esc.png $((160 + 64)) 96 1
expect_icon restored-esc.png $((160 + 128)) 96 2
send_key Escape 0.2
wait_for_exit "$game_pid" 20

# A damaged autosave: the game starts and the editor is empty.
head -c 5000 /dev/urandom >"$autosave"
start_game
enter_editor
shot damaged.png
expect_icon damaged.png $((160 + 64)) 96 0
send_key Escape 0.2
wait_for_exit "$game_pid" 20
[ "$EXIT_STATUS" = "0" ] || fail "exit status $EXIT_STATUS with a damaged autosave: $(cat game.log)"
echo "autosave: kept over SIGKILL and Esc, damaged one ignored"
