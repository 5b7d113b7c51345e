# The game started beside the sample stage set, with the chooser kind $chooser_kind forced, and the helpers both
# custom-set scripts use to drive it and read its screen. Sourced after lib.sh with chooser_kind set.
export SDL_AUDIODRIVER=dummy PELVORO_NO_MESSAGEBOX=1 PELVORO_FILE_CHOOSER="$chooser_kind"
unset SDL_VIDEODRIVER
start_xvfb

work=$(mktemp -d "${TMPDIR:-/tmp}/pelvoro-$chooser_kind-XXXXXX")
if [ -z "${KEEP_SHOTS:-}" ]; then on_exit "rm -rf '$work'"; else echo "screenshots kept in $work"; fi
cp "$build/data.bin" "$work/data.bin"
cp "$source_dir/tests/sets/sample.plvsd" "$work/sample.plvsd"
head -c 111848 /dev/zero >"$work/zeros.plvsd"  # the right size, no magic
cd "$work"
"$build/pelvoro" >"$work/game.log" 2>&1 &
game_pid=$!
on_exit "kill $game_pid 2>/dev/null"

window=$(wait_for_window "Pelvoro!!" 20) || fail "no game window: $(cat game.log)"
for _ in $(seq 300); do [ -f save.dat ] && break; sleep 0.1; done
[ -f save.dat ] || fail "the loading screen did not finish: $(cat game.log)"
sleep 1

key() {
  local name=$1 count=${2:-1}
  for _ in $(seq "$count"); do
    send_key "$name" 0.3
    sleep 0.4
  done
}
shot() {
  local out=$1 X Y WINDOW WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$window")"
  screenshot "$work/root.png"
  convert "$work/root.png" -crop "640x480+$X+$Y" +repage "$work/$out"
}
count_colour() {
  local file=$1 colour=$2 x=$3 y=$4 w=$5 h=$6
  convert "$work/$file" -crop "${w}x${h}+$x+$y" +repage -alpha off -fuzz 3% -fill black +opaque "$colour" \
    -fill white -opaque "$colour" -format '%[fx:round(mean*w*h)]' info:
}
expect_some() { local n; n=$(count_colour "$@"); [ "$n" -gt 20 ] || fail "$1: expected $2 in ${5}x${6}+$3+$4, found $n"; }
expect_none() { local n; n=$(count_colour "$@"); [ "$n" -eq 0 ] || fail "$1: expected no $2 in ${5}x${6}+$3+$4, found $n"; }

teal="rgb(0,255,192)"
white="rgb(255,255,255)"
orange="rgb(255,160,0)"
