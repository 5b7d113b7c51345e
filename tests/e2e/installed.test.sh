# The installed game: `cmake --install` lays out the Debian games layout with a valid desktop entry and
# AppStream metainfo; started from / (no data.bin there) it finds its installed data.bin, reaches the title,
# ends with Esc, and keeps save.dat under $XDG_DATA_HOME/pelvoro.
set -euo pipefail
BUILD_DIR=$(cd "$1" && pwd)
SOURCE_DIR=$(cd "$2" && pwd)
source "$SOURCE_DIR/tests/e2e/lib.sh"
[ -f "$BUILD_DIR/data.bin" ] || fail "no data.bin in $BUILD_DIR"

work=$(mktemp -d "${TMPDIR:-/tmp}/pelvoro-install-XXXXXX")
on_exit "rm -rf '$work'"
prefix="$work/prefix"
cmake --install "$BUILD_DIR" --prefix "$prefix" >"$work/install.log" || fail "install: $(cat "$work/install.log")"

id=io.github.pelvoro.Pelvoro
for file in games/pelvoro share/games/pelvoro/data.bin share/applications/$id.desktop \
            share/icons/hicolor/64x64/apps/$id.png share/icons/hicolor/256x256/apps/$id.png \
            share/metainfo/$id.metainfo.xml share/man/man6/pelvoro.6.gz; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done
[ "$(identify -format %wx%h "$prefix/share/icons/hicolor/64x64/apps/$id.png")" = 64x64 ] || fail "64 icon size"
[ "$(identify -format %wx%h "$prefix/share/icons/hicolor/256x256/apps/$id.png")" = 256x256 ] || fail "256 icon size"
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
grep -q '^Name\[ja\]=' "$prefix/share/applications/$id.desktop" || fail "no Japanese name"
grep -q '^Categories=Game;' "$prefix/share/applications/$id.desktop" || fail "not in category Game"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "metainfo"
zcat "$prefix/share/man/man6/pelvoro.6.gz" | grep -q '^\.SH NAME' || fail "man page"

export SDL_AUDIODRIVER=dummy PELVORO_NO_MESSAGEBOX=1 XDG_DATA_HOME="$work/xdg" HOME="$work/home"
unset SDL_VIDEODRIVER
mkdir -p "$HOME"
start_xvfb
stray_before=no
[ -e /save.dat ] && stray_before=yes
cd /
"$prefix/games/pelvoro" 2>"$work/stderr.txt" &
pid=$!
on_exit "kill $pid 2>/dev/null"
window=$(wait_for_window "Pelvoro!!" 30) || fail "no window: $(cat "$work/stderr.txt")"
# The save file is made at the end of the loading screen; the title picture then shows hundreds of colours.
for _ in $(seq 300); do [ -f "$XDG_DATA_HOME/pelvoro/save.dat" ] && break; sleep 0.1; done
[ -f "$XDG_DATA_HOME/pelvoro/save.dat" ] || fail "no save.dat under XDG_DATA_HOME: $(cat "$work/stderr.txt")"
colours=0
for attempt in $(seq 1 60); do
  import -window "$window" "$work/title.png"
  colours=$(identify -format %k "$work/title.png")
  [ "$colours" -gt 300 ] && break
  sleep 0.5
done
[ "$colours" -gt 300 ] || fail "the title did not appear ($colours colours)"
EXIT_STATUS=timeout
for attempt in $(seq 1 20); do
  send_key Escape 0.15
  wait_for_exit "$pid" 1
  [ "$EXIT_STATUS" = "timeout" ] || break
done
[ "$EXIT_STATUS" = "0" ] || fail "exit status $EXIT_STATUS after Esc: $(cat "$work/stderr.txt")"
[ "$(stat -c %s "$XDG_DATA_HOME/pelvoro/save.dat" 2>/dev/null)" = 46 ] || fail "no save.dat under XDG_DATA_HOME"
[ "$stray_before" = yes ] || [ ! -e /save.dat ] || fail "save.dat written into the working directory /"
echo "ok"
