# Helpers for end-to-end scripts: a private Xvfb display, waiting for the game's window, keys, screenshots.
# Source this file, then call start_xvfb; the display is stopped when the script exits.

E2E_XVFB_PID=""
E2E_CLEANUPS=()

e2e_cleanup() {
  local item
  for item in "${E2E_CLEANUPS[@]}"; do eval "$item" || true; done
  if [ -n "$E2E_XVFB_PID" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null || true
    wait "$E2E_XVFB_PID" 2>/dev/null || true
  fi
}
trap e2e_cleanup EXIT

# Runs a command when the script exits (before Xvfb stops), e.g. on_exit "rm -rf '$dir'".
on_exit() { E2E_CLEANUPS+=("$1"); }

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Starts Xvfb on a free display (Xvfb picks it and reports it through -displayfd) and exports DISPLAY. A
# server that dies at start (a busy machine, a race for a display number) is tried again.
start_xvfb() {
  local size=${1:-1024x768x24}
  local attempt fifo number
  for attempt in 1 2 3; do
    fifo=$(mktemp -u "${TMPDIR:-/tmp}/pelvoro-xvfb-XXXXXX")
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset 3>"$fifo" 2>/dev/null &
    E2E_XVFB_PID=$!
    number=""
    read -r -t 30 number <"$fifo" || true
    rm -f "$fifo"
    if [ -n "$number" ] && kill -0 "$E2E_XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$number"
      return 0
    fi
    kill "$E2E_XVFB_PID" 2>/dev/null || true
    wait "$E2E_XVFB_PID" 2>/dev/null || true
    E2E_XVFB_PID=""
    sleep 1
  done
  fail "Xvfb did not start"
}

# Prints the id of the first window named exactly $1, waiting up to $2 seconds (default 20); fails otherwise.
wait_for_window() {
  local name=$1 timeout=${2:-20} id=""
  local deadline=$((SECONDS + timeout))
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --name "^${name}\$" 2>/dev/null | head -n 1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# True when a window named exactly $1 exists now.
window_exists() { [ -n "$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)" ]; }

# Holds a key across a few frames (the game samples the keyboard once a frame).
send_key() {
  xdotool keydown "$1"
  sleep "${2:-0.1}"
  xdotool keyup "$1"
}

# The client size of a window as WIDTHxHEIGHT.
window_size() {
  xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}

# Writes the whole screen as a PNG.
screenshot() { import -window root "$1"; }

# Waits up to $2 seconds for process $1 (a child of this shell) to end and sets EXIT_STATUS to its exit
# status, or to "timeout". Call it directly, not in $(...): only this shell can collect its child's status.
wait_for_exit() {
  local pid=$1 timeout=${2:-20}
  local deadline=$((SECONDS + timeout))
  while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    EXIT_STATUS=timeout
    return 0
  fi
  EXIT_STATUS=0
  wait "$pid" || EXIT_STATUS=$?
}

# The desktop's file chooser titled $1: waits for it, gives it the keyboard (no window manager here does) and
# prints its window id.
focus_chooser() {
  local id
  id=$(wait_for_window "$1" 20) || fail "no chooser window titled '$1'"
  sleep 1
  xdotool windowfocus --sync "$id"
  echo "$id"
}

# Waits until no window titled $1 is left.
wait_window_gone() {
  for _ in $(seq 100); do window_exists "$1" || return 0; sleep 0.1; done
  screenshot "${work:-/tmp}/chooser-stuck.png"
  fail "the window '$1' did not close (see chooser-stuck.png)"
}

# Types path $3 into the location field of chooser $2 (titled $1) and confirms it. Ctrl+L opens the field; a
# busy machine may drop the first keys of a field that is still appearing, so the field is cleared and typed
# again until the chooser closes.
type_into_chooser() {
  local title=$1 id=$2 path=$3 attempt
  for attempt in 1 2 3; do
    xdotool key --clearmodifiers ctrl+l
    sleep 0.5
    xdotool key --clearmodifiers ctrl+a BackSpace
    xdotool type --delay 40 "$path"
    sleep 0.8
    xdotool key Return
    for _ in $(seq 30); do window_exists "$title" || return 0; sleep 0.1; done
    xdotool windowfocus --sync "$id" 2>/dev/null || true
  done
}

# Takes shots of the client area with the script's own `shot OUT [SIZE]` (SIZE $3, default 640x480) until the
# check function $2 passes on one, about 10 s at most: scenes behind a fade or the loading screen come at the
# pace of the frames, which a busy machine slows down.
settle() {
  local out=$1 check=$2 size=${3:-640x480}
  for _ in $(seq 50); do
    shot "$out" "$size"
    if ("$check" "$out") 2>/dev/null; then return 0; fi
    sleep 0.2
  done
  shot "$out" "$size"
  "$check" "$out"
}

# Holds key $1 down until check $3 passes on a shot $2: a busy machine runs fewer frames in the same time, so
# she walks on until she gets there.
hold_until() {
  local key=$1 status=0
  xdotool keydown "$key"
  settle "$2" "$3" || status=$?
  xdotool keyup "$key"
  return $status
}
