# Helpers shared by the editor's end-to-end scripts: start the game in a fresh folder, keys, clicks, drags,
# screenshots of the client area and colour probes. Source after lib.sh with $build and $source_dir set.

# A fresh folder $work for the game (pelvoro-$1-*), with data.bin and the help page, and a home of its own for
# what the game writes there; removed at the end unless KEEP_SHOTS is set.
make_editor_work() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/pelvoro-$1-XXXXXX")
  if [ -z "${KEEP_SHOTS:-}" ]; then on_exit "rm -rf '$work'"; else echo "screenshots kept in $work"; fi
  export XDG_DATA_HOME="$work/xdg" HOME="$work"
  cp "$build/data.bin" "$build/editor-help.html" "$work/"
}

# Starts the game in $work (data.bin and the help page copied there) and waits for the title.
start_game() {
  "$build/pelvoro" >>"$work/game.log" 2>&1 &
  game_pid=$!
  on_exit "kill -9 $game_pid 2>/dev/null"
  window=$(wait_for_window "Pelvoro!!" 20) || fail "no game window: $(cat "$work/game.log")"
  for _ in $(seq 300); do [ -f "$work/save.dat" ] && break; sleep 0.1; done
  [ -f "$work/save.dat" ] || fail "the loading screen did not finish: $(cat "$work/game.log")"
  wait_for_title
}

# Holds a key across a few frames, count times.
key() {
  local name=$1 count=${2:-1}
  for _ in $(seq "$count"); do
    send_key "$name" 0.2
    sleep 0.3
  done
}

# A click held across a few frames at (x, y) of the client area; button 1 left, 3 right. One xdotool run, so
# that a busy machine does not stretch the hold. Picking and placing repeat harmlessly while held; clicks that
# count (arrows) pass a hold shorter than six frames.
click() {
  local x=$1 y=$2 button=${3:-1} hold=${4:-0.25}
  xdotool mousemove --window "$window" "$x" "$y" sleep 0.05 mousedown "$button" sleep "$hold" mouseup "$button"
  sleep 0.15
}

# Types text, Japanese included: its characters are first bound to keys of their own (see map_keys.py).
type_text() {
  python3 "$source_dir/tests/e2e/map_keys.py" "$1" || fail "cannot bind keys for \"$1\""
  xdotool type --delay 100 "$1"
  sleep 0.3
}

# Drags with the button held from (x1, y) to (x2, y) in steps of 8 pixels.
drag_row() {
  local x1=$1 x2=$2 y=$3 button=${4:-1} x
  xdotool mousemove --window "$window" "$x1" "$y"
  xdotool mousedown "$button"
  for ((x = x1; x <= x2; x += 8)); do
    xdotool mousemove --window "$window" "$x" "$y"
    sleep 0.08  # a busy machine stretches frames: every cell is passed slowly enough to be seen
  done
  sleep 0.1
  xdotool mouseup "$button"
  sleep 0.15
}

# Screenshot of the client area (800 x 600 in the editor, else 640 x 480).
shot() {
  local out=$1 size=${2:-800x600} X Y WINDOW WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$window")"
  screenshot "$work/root.png"
  convert "$work/root.png" -crop "$size+$X+$Y" +repage "$work/$out"
}

# "r,g,b" of one pixel of a shot.
rgb_at() {
  convert "$work/$1" -alpha off -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}

# Number of pixels of this colour (within 3%) in the rectangle w x h at (x, y) of a shot.
count_colour() {
  local file=$1 colour=$2 x=$3 y=$4 w=$5 h=$6
  convert "$work/$file" -crop "${w}x${h}+$x+$y" +repage -alpha off -fuzz 3% -fill black +opaque "$colour" \
    -fill white -opaque "$colour" -format '%[fx:round(mean*w*h)]' info:
}
expect_some() { [ "$(count_colour "$@")" -gt 0 ] || fail "$1: no $2 in $5x$6 at $3,$4"; }
expect_none() { [ "$(count_colour "$@")" -eq 0 ] || fail "$1: $2 found in $5x$6 at $3,$4"; }

# True when the 32 x 32 square of a shot at (x, y) shows the editor icon of part id $4 (its inner 28 x 28
# pixels, clear of the grid lines and screen frames drawn over the map).
icon_at() {
  local file=$1 x=$2 y=$3 id=$4 diff
  convert "$source_dir/assets/texture/parts.png" \
    -crop "28x28+$((32 * (id % 16) + 2))+$((32 * (id / 16) + 2))" +repage -alpha off "$work/icon.png"
  convert "$work/$file" -crop "28x28+$((x + 2))+$((y + 2))" +repage -alpha off "$work/cell.png"
  diff=$(compare -metric AE -fuzz 2% "$work/icon.png" "$work/cell.png" null: 2>&1 || true)
  ICON_DIFF=${diff%% *}
  [ "$ICON_DIFF" -lt 40 ]
}
expect_icon() { icon_at "$@" || fail "$1 at $2,$3: not the icon of part $4 ($ICON_DIFF pixels differ)"; }

# The palette scroll read from a shot: where the thumb's blue starts in the scroll bar.
palette_scroll_of() {
  local top
  top=$(convert "$work/$1" -crop "1x236+144+52" +repage -alpha off txt:- |
    awk -F'[,: ]+' '/#41A6F6/ {print $2; exit}')
  [ -n "$top" ] || fail "$1: no scroll-bar thumb"
  echo $((top / 14))
}

# Clicks the palette's arrows until the page is $1 (the game steps at most once per six frames, and a busy
# machine stretches a click over more frames than asked).
palette_to() {
  local want=$1 now
  for _ in $(seq 40); do
    shot palette-now.png
    now=$(palette_scroll_of palette-now.png)
    [ "$now" -eq "$want" ] && return 0
    # Held for about six frames a step, short of the distance, so that it rarely overshoots.
    local hold
    hold=$(awk -v d=$((want > now ? want - now : now - want)) 'BEGIN {print (d > 1 ? (d - 1) * 0.09 : 0.04)}')
    if [ "$now" -lt "$want" ]; then click 144 278 1 "$hold"; else click 144 42 1 "$hold"; fi
    sleep 0.1
  done
  fail "the palette did not reach page $want"
}

# Waits until the editor is shown in full (the fade-in over, so its input runs): 800 x 600 and the palette
# panel's grey at full strength.
wait_for_editor() {
  for _ in $(seq 60); do
    if [ "$(window_size "$window")" = "800x600" ]; then
      shot editor-wait.png
      [ "$(rgb_at editor-wait.png 2 595)" = "102,102,102" ] && { sleep 0.3; return 0; }
    fi
    sleep 0.2
  done
  fail "the editor did not appear (client area $(window_size "$window"))"
}

# Waits until the client area is 640 x 480 again and the editor's grey is gone (the fade-in of the title).
wait_for_title() {
  for _ in $(seq 60); do
    if [ "$(window_size "$window")" = "640x480" ]; then
      shot title-wait.png 640x480
      [ "$(rgb_at title-wait.png 320 10)" != "0,0,0" ] && { sleep 0.5; return 0; }
    fi
    sleep 0.2
  done
  fail "the title did not come back (client area $(window_size "$window"))"
}

# Clicks the difficulty dialog's up arrow until the number has changed $1 times (a click shorter than six
# frames steps at most once; one that no frame saw changes nothing and is repeated).
difficulty_up() {
  local want=$1 changes=0 before after
  shot difficulty-now.png
  before=$(convert "$work/difficulty-now.png" -crop 96x36+352+282 +repage -alpha off rgb:- | md5sum)
  for _ in $(seq 30); do
    click 460 290 1 0.07
    sleep 0.1
    shot difficulty-now.png
    after=$(convert "$work/difficulty-now.png" -crop 96x36+352+282 +repage -alpha off rgb:- | md5sum)
    [ "$after" != "$before" ] && changes=$((changes + 1))
    before=$after
    [ "$changes" -ge "$want" ] && return 0
  done
  fail "the difficulty did not change $want times"
}
