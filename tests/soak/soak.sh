#!/usr/bin/env bash
# Soak test, by hand (not in CI): the real game under Xvfb for an hour of random keys and mouse over every
# scene (menus, play, the editor with its dialogs and the in-game file chooser, test play, options, credits),
# never Esc. Every 30 s it samples the game's resident memory, open descriptors and threads. It fails on a
# crash (the game dies or exits with a failure), a hang (the main thread makes no progress for 5 s) or
# resident memory growing more than 10% over its size at the fifth minute. A clean exit (the menu's last item)
# starts the game again, with a fresh baseline.
#   tests/soak/soak.sh BUILD_DIR SOURCE_DIR [SECONDS]     (default 3600)
# DISPLAY_NUMBER=N uses Xvfb on :N instead of a free display.
set -uo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
duration=${3:-3600}
source "$source_dir/tests/e2e/lib.sh"
export SDL_AUDIODRIVER=dummy PELVORO_NO_MESSAGEBOX=1 PELVORO_FILE_CHOOSER=builtin
unset SDL_VIDEODRIVER
if [ -n "${DISPLAY_NUMBER:-}" ]; then
  Xvfb ":$DISPLAY_NUMBER" -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null &
  E2E_XVFB_PID=$!
  export DISPLAY=":$DISPLAY_NUMBER"
  sleep 2
else
  start_xvfb
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/pelvoro-soak-XXXXXX")
on_exit "rm -rf '$work'"
cp "$build/data.bin" "$work/data.bin"
cp "$build/editor-help.html" "$work/" 2>/dev/null || true
cd "$work" || exit 1

game_pid=""
start_game() {
  "$build/pelvoro" >>"$work/game.log" 2>&1 &
  game_pid=$!
  wait_for_window "Pelvoro!!" 60 > /dev/null || fail "no game window: $(tail -5 "$work/game.log")"
  run_start=$SECONDS
  baseline=""
}
on_exit '[ -n "$game_pid" ] && kill $game_pid 2>/dev/null'

# Progress of the main thread: its voluntary context switches (the frame wait and the X server round trips
# of every frame) and its CPU time. A frame loop moves them several times a second.
progress() { awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$game_pid/task/$game_pid/status" 2>/dev/null; }
sample() {
  local rss fds threads
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$game_pid/status" 2>/dev/null)
  threads=$(awk '/^Threads/ {print $2}' "/proc/$game_pid/status" 2>/dev/null)
  fds=$(ls "/proc/$game_pid/fd" 2>/dev/null | wc -l)
  echo "$((SECONDS - soak_start)) s: rss=${rss} kB fds=$fds threads=$threads (run $runs, $((SECONDS - run_start)) s)"
  if [ $((SECONDS - run_start)) -ge 300 ]; then
    if [ -z "$baseline" ]; then
      baseline=$rss
    elif [ "$rss" -gt $((baseline * 110 / 100)) ]; then
      fail "resident memory grew from $baseline kB to $rss kB"
    fi
  fi
}

# The keys the game reads (Esc left out) and the editor's commands; F1 (the help page in a browser) too.
keys=(Left Right Up Down Left Right z z x s d r Tab Return Return space F3 F4 F5 F6 F7 F8 F9 F11 BackSpace Delete
      a b c 1 2 3 Home End Page_Up Page_Down)
random_input() {
  case $((RANDOM % 10)) in
    0 | 1) xdotool mousemove $((RANDOM % 800)) $((RANDOM % 600)) click $((RANDOM % 2 * 2 + 1)) 2>/dev/null ;;
    2) xdotool mousemove $((RANDOM % 800)) $((RANDOM % 600)) mousedown 1 mousemove $((RANDOM % 800)) \
         $((RANDOM % 600)) mouseup 1 2>/dev/null ;;
    *) send_key "${keys[RANDOM % ${#keys[@]}]}" "0.0$((RANDOM % 9 + 1))" 2>/dev/null ;;
  esac
}

soak_start=$SECONDS
runs=1
start_game
last_sample=$SECONDS
last_progress=$(progress)
last_progress_at=$SECONDS
while [ $((SECONDS - soak_start)) -lt "$duration" ]; do
  if ! kill -0 "$game_pid" 2>/dev/null; then
    wait "$game_pid"
    code=$?
    [ "$code" = 0 ] || fail "the game ended with status $code after $((SECONDS - run_start)) s: $(tail -5 game.log)"
    echo "$((SECONDS - soak_start)) s: the game was ended from its menu; starting it again"
    runs=$((runs + 1))
    start_game
  fi
  random_input
  now=$(progress)
  if [ -n "$now" ] && [ "$now" != "$last_progress" ]; then
    last_progress=$now
    last_progress_at=$SECONDS
  elif [ $((SECONDS - last_progress_at)) -ge 5 ] && kill -0 "$game_pid" 2>/dev/null; then
    import -window root "$work/hang.png" 2>/dev/null && cp "$work/hang.png" "${TMPDIR:-/tmp}/pelvoro-soak-hang.png"
    fail "no progress of the main thread for 5 s (screen in ${TMPDIR:-/tmp}/pelvoro-soak-hang.png)"
  fi
  if [ $((SECONDS - last_sample)) -ge 30 ]; then
    sample
    last_sample=$SECONDS
  fi
done
sample
echo "soak: $duration s, $runs game runs, no crash, no hang"
