# The game in a real X server: without data.bin (or with a folder of that name) it says so and ends with -1
# before any window exists; without a display it says the graphics cannot start and ends with -1; with both
# the window "Pelvoro!!" opens with a 640 x 480 client area and Esc ends the game with status 0.
set -euo pipefail
BUILD_DIR=$(cd "$1" && pwd)
SOURCE_DIR=$(cd "$2" && pwd)
source "$SOURCE_DIR/tests/e2e/lib.sh"

export SDL_AUDIODRIVER=dummy PELVORO_NO_MESSAGEBOX=1
unset SDL_VIDEODRIVER
start_xvfb

work=$(mktemp -d "${TMPDIR:-/tmp}/pelvoro-e2e-XXXXXX")
on_exit "rm -rf '$work'"
cd "$work"

# 1. No data.bin: the message on stderr, status 255, never a window.
"$BUILD_DIR/pelvoro" 2>"$work/stderr.txt" &
pid=$!
while kill -0 "$pid" 2>/dev/null; do
  if window_exists "Pelvoro!!"; then fail "a window appeared without data.bin"; fi
  sleep 0.02
done
status=0
wait "$pid" || status=$?
[ "$status" -eq 255 ] || fail "exit status $status without data.bin, expected 255"
grep -q "data.bin ファイルが見つかりませんでした。" "$work/stderr.txt" || fail "no data.bin message: $(cat "$work/stderr.txt")"
if window_exists "Pelvoro!!"; then fail "a window is left over"; fi

# 1b. A folder named data.bin is no archive: the same message and status, never a window.
mkdir data.bin
status=0
timeout 30 "$BUILD_DIR/pelvoro" 2>"$work/stderr.txt" || status=$?
[ "$status" -eq 255 ] || fail "exit status $status with a folder data.bin, expected 255"
grep -q "data.bin ファイルが見つかりませんでした。" "$work/stderr.txt" ||
  fail "no data.bin message for a folder: $(cat "$work/stderr.txt")"
if window_exists "Pelvoro!!"; then fail "a window is left over"; fi
rmdir data.bin

# 2. With data.bin: the window, its client size, and Esc.
if [ -f "$BUILD_DIR/data.bin" ]; then cp "$BUILD_DIR/data.bin" .; else : >data.bin; fi

# 1c. No display and no driver asked for: the graphics message and status 255 instead of running unseen.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 30 "$BUILD_DIR/pelvoro" 2>"$work/stderr.txt" ||
  status=$?
[ "$status" -eq 255 ] || fail "exit status $status without a display, expected 255: $(cat "$work/stderr.txt")"
grep -q "Direct3Dの初期化に失敗しました。" "$work/stderr.txt" ||
  fail "no graphics message without a display: $(cat "$work/stderr.txt")"

"$BUILD_DIR/pelvoro" 2>"$work/stderr2.txt" &
pid=$!
on_exit "kill $pid 2>/dev/null"
window=$(wait_for_window "Pelvoro!!" 20) || fail "no window: $(cat "$work/stderr2.txt")"
size=$(window_size "$window")
[ "$size" = "640x480" ] || fail "client area $size, expected 640x480"
screenshot "$work/screen.png"
# Esc ends the game from the main loop; the loading screen before it does not read keys, and on a busy
# machine it may take a while, so press again until the game is gone.
EXIT_STATUS=timeout
for attempt in $(seq 1 20); do
  send_key Escape 0.15
  wait_for_exit "$pid" 1
  [ "$EXIT_STATUS" = "timeout" ] || break
done
[ "$EXIT_STATUS" = "0" ] || fail "exit status $EXIT_STATUS after Esc, expected 0: $(cat "$work/stderr2.txt")"
echo "ok"
