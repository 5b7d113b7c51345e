# The picture in a bigger window, in a real X server: `--scale 2` opens a 1280 x 960 window that shows the
# main menu exactly as the plain window does, every pixel a 2 x 2 block (so the shot shrunk by 2 equals the
# plain one); Alt+Enter switches to borderless fullscreen (the screen's size, the picture scaled by 3 and
# centred on black, under a window manager) and back, and is no Enter for the menu; `--fullscreen` starts
# that way. In the scaled editor (1600 x 1200) a click places a part on the cell under the pointer. Bad options end with status 2 and a usage, `--help` with 0.
set -euo pipefail
BUILD_DIR=$(cd "$1" && pwd)
SOURCE_DIR=$(cd "$2" && pwd)
source "$SOURCE_DIR/tests/e2e/lib.sh"

export SDL_AUDIODRIVER=dummy PELVORO_NO_MESSAGEBOX=1
unset SDL_VIDEODRIVER
work=$(mktemp -d "${TMPDIR:-/tmp}/pelvoro-scale-XXXXXX")
if [ -z "${KEEP_SHOTS:-}" ]; then on_exit "rm -rf '$work'"; else echo "screenshots kept in $work"; fi
cd "$work"
cp "$BUILD_DIR/data.bin" .

# The command line.
"$BUILD_DIR/pelvoro" --help >help.txt || fail "--help exit status $?"
grep -q -- "--scale N" help.txt || fail "--help: $(cat help.txt)"
for bad in "--scale" "--scale 0" "--scale x" "--scale 17" "--window" "stage1"; do
  status=0
  # shellcheck disable=SC2086
  "$BUILD_DIR/pelvoro" $bad >out.txt 2>err.txt || status=$?
  [ "$status" = 2 ] || fail "'$bad': exit status $status, expected 2"
  grep -q "^usage: pelvoro" err.txt || fail "'$bad': no usage: $(cat err.txt)"
done

start_xvfb 2048x1536x24
GAME_PID=""
# Starts the game with the given options and brings it to the main menu, which stands still.
start_game() {
  rm -f save.dat
  "$BUILD_DIR/pelvoro" "$@" 2>>game.log &
  GAME_PID=$!
  on_exit "kill $GAME_PID 2>/dev/null"
  WINDOW=$(wait_for_window "Pelvoro!!" 30) || fail "no window for $*: $(cat game.log)"
  for _ in $(seq 300); do [ -f save.dat ] && break; sleep 0.1; done
  [ -f save.dat ] || fail "the loading screen did not finish: $(cat game.log)"
  sleep 1.5
  send_key Return  # title -> main menu
  sleep 2
}
stop_game() {
  EXIT_STATUS=timeout
  for _ in $(seq 1 20); do
    send_key Escape 0.15
    wait_for_exit "$GAME_PID" 1
    [ "$EXIT_STATUS" = "timeout" ] || break
  done
  [ "$EXIT_STATUS" = "0" ] || fail "exit status $EXIT_STATUS after Esc: $(cat game.log)"
}
# A shot of the window's client area, taken until two in a row agree (the menu has settled).
steady_shot() {
  local out=$1
  import -window "$WINDOW" "$out.a.png"
  for _ in $(seq 20); do
    sleep 0.3
    import -window "$WINDOW" "$out"
    [ "$(compare -metric AE "$out" "$out.a.png" null: 2>&1 || true)" = 0 ] && return 0
    mv "$out" "$out.a.png"
  done
  fail "the picture in $out does not settle"
}
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" = 0 ]; }

start_game
[ "$(window_size "$WINDOW")" = 640x480 ] || fail "plain window $(window_size "$WINDOW")"
steady_shot plain.png
stop_game

start_game --scale 2
[ "$(window_size "$WINDOW")" = 1280x960 ] || fail "--scale 2 window $(window_size "$WINDOW")"
steady_shot scaled.png
convert scaled.png -sample 50% shrunk.png
convert plain.png -sample 200% doubled.png
same shrunk.png plain.png || fail "the --scale 2 shot shrunk by 2 differs from the plain one (shrunk.png)"
same scaled.png doubled.png || fail "the --scale 2 shot is not made of 2 x 2 blocks (scaled.png)"

# Fullscreen is the window manager's business: from here on one runs (a bare X server has none).
HOME=$work openbox >openbox.log 2>&1 &
wm_pid=$!
on_exit "kill $wm_pid 2>/dev/null"
sleep 1
xdotool windowactivate --sync "$WINDOW" 2>/dev/null || true
# Alt+Enter until the window has the given size: a press that comes before the window manager has given the
# window the focus is lost, so it is pressed again (at most three times, ten seconds apart).
alt_enter_until() {
  local size=$1 attempt
  for attempt in 1 2 3; do
    xdotool windowactivate --sync "$WINDOW" 2>/dev/null || true
    xdotool key alt+Return
    for _ in $(seq 100); do [ "$(window_size "$WINDOW")" = "$size" ] && return 0; sleep 0.1; done
  done
  return 1
}
# Alt+Enter: fullscreen on the 2048 x 1536 screen shows the picture 3 times, at (64, 48), on black.
alt_enter_until 2048x1536 || fail "Alt+Enter: window $(window_size "$WINDOW")"
steady_shot full.png
convert full.png -crop 1920x1440+64+48 +repage full-picture.png
convert plain.png -sample 300% tripled.png
same full-picture.png tripled.png || fail "fullscreen picture differs from the plain one scaled by 3"
convert full.png -fill black -draw "rectangle 64,48 1983,1487" -format '%[fx:maxima]' info: >border.txt
[ "$(cat border.txt)" = 0 ] || fail "the border around the fullscreen picture is not black"
alt_enter_until 1280x960 || fail "Alt+Enter back: window $(window_size "$WINDOW")"
steady_shot back.png
same back.png scaled.png || fail "after Alt+Enter twice the menu changed (back.png): Alt+Enter acted as Enter?"
stop_game

start_game --fullscreen
xdotool windowactivate --sync "$WINDOW" 2>/dev/null || true
[ "$(window_size "$WINDOW")" = 2048x1536 ] || fail "--fullscreen window $(window_size "$WINDOW")"
steady_shot started-full.png
same started-full.png full.png || fail "--fullscreen differs from Alt+Enter's fullscreen"
stop_game

# The editor at --scale 2: a 1600 x 1200 window, and a click lands on the cell under the pointer (column 5,
# row 4, whose centre is at (336, 144) in the picture) with the left pick, the Block.
start_game --scale 2
xdotool windowactivate --sync "$WINDOW" 2>/dev/null || true
send_key Down 0.15; sleep 0.4
send_key Down 0.15; sleep 0.4
send_key Return 0.15
for _ in $(seq 100); do [ "$(window_size "$WINDOW")" = 1600x1200 ] && break; sleep 0.1; done
[ "$(window_size "$WINDOW")" = 1600x1200 ] || fail "the scaled editor's window is $(window_size "$WINDOW")"
sleep 2  # the fade-in
convert "$SOURCE_DIR/assets/texture/parts.png" -crop 28x28+98+2 +repage -alpha off block-icon.png
for _ in $(seq 10); do
  xdotool mousemove --window "$WINDOW" 672 288 sleep 0.05 mousedown 1 sleep 0.25 mouseup 1
  sleep 0.3
  import -window "$WINDOW" editor-scaled.png
  convert editor-scaled.png -sample 50% -crop 28x28+322+130 +repage -alpha off clicked-cell.png
  [ "$(compare -metric AE -fuzz 2% block-icon.png clicked-cell.png null: 2>&1 | cut -d' ' -f1)" -lt 40 ] && break
done
[ "$(compare -metric AE -fuzz 2% block-icon.png clicked-cell.png null: 2>&1 | cut -d' ' -f1)" -lt 40 ] ||
  fail "the click at (672, 288) of the scaled editor did not place a Block at column 5, row 4 (editor-scaled.png)"
convert editor-scaled.png -sample 50% -crop 28x28+290+130 +repage -alpha off left-cell.png
[ "$(compare -metric AE -fuzz 2% block-icon.png left-cell.png null: 2>&1 | cut -d' ' -f1)" -gt 200 ] ||
  fail "the click in the scaled editor also filled column 4 (editor-scaled.png)"
send_key F11 0.15
for _ in $(seq 100); do [ "$(window_size "$WINDOW")" = 1280x960 ] && break; sleep 0.1; done
[ "$(window_size "$WINDOW")" = 1280x960 ] || fail "after the editor the window is $(window_size "$WINDOW")"
stop_game
echo "ok"
