#!/bin/bash
# The .deb on a bare Debian 12: builds the package (cpack in BUILD), makes a fresh root with mmdebstrap,
# installs the package there with apt (which pulls in its dependencies), and as an ordinary user starts the
# installed game from / under Xvfb: the title must appear, Esc must end the game with status 0, and save.dat
# must appear in ~/.local/share/pelvoro. Needs root and mmdebstrap; takes a few minutes. Run by hand:
#   sudo tests/install/deb_on_fresh_debian.sh [BUILD]      (default build/)
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$source_dir/build}" && pwd)
[ "$(id -u)" -eq 0 ] || { echo "run as root (mmdebstrap and chroot)"; exit 2; }
command -v mmdebstrap >/dev/null || { echo "install mmdebstrap first (apt-get install mmdebstrap)"; exit 2; }

(cd "$build" && cpack -G DEB >"$build/cpack.log") || { cat "$build/cpack.log"; exit 1; }
deb=$(ls -t "$build"/pelvoro_*.deb | head -n 1)
echo "package: $deb"
dpkg-deb -f "$deb" Depends

root=$(mktemp -d /tmp/pelvoro-deb-root.XXXX)
echo "root: $root (log: $root.log)"
mmdebstrap --variant=apt --mode=root bookworm "$root" >"$root.log" 2>&1 || { tail -20 "$root.log"; exit 1; }
mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[$i]}" || true; done
}
trap cleanup EXIT
for m in proc sys dev dev/pts; do mount --bind "/$m" "$root/$m"; mounted+=("$root/$m"); done
cp "$deb" "$root/tmp/"
cp /etc/resolv.conf "$root/etc/" 2>/dev/null || true

status=0
chroot "$root" /bin/bash -s "$(basename "$deb")" <<'INSIDE' || status=$?
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update -q >/dev/null
apt-get install -y -q --no-install-recommends "/tmp/$1" >/tmp/apt.log 2>&1 || { tail -30 /tmp/apt.log; exit 1; }
echo "installed: $(dpkg-query -W -f='${Package} ${Version}' pelvoro)"
# What the check needs, beside the game (not dependencies of the game).
apt-get install -y -q --no-install-recommends xvfb xauth xdotool imagemagick >>/tmp/apt.log 2>&1
useradd -m player
su player -s /bin/bash -c '
  set -eu
  cd /
  export SDL_AUDIODRIVER=dummy PELVORO_NO_MESSAGEBOX=1
  Xvfb :42 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=:42
  sleep 2
  command -v pelvoro >/dev/null || PATH=$PATH:/usr/games
  pelvoro 2>/tmp/pelvoro.err &
  game=$!
  window=""
  for i in $(seq 1 60); do
    window=$(xdotool search --name "^Pelvoro!!\$" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.5
  done
  [ -n "$window" ] || { echo "FAIL: no window"; cat /tmp/pelvoro.err; kill $xvfb; exit 1; }
  for i in $(seq 1 300); do [ -f ~/.local/share/pelvoro/save.dat ] && break; sleep 0.1; done
  colours=0
  for i in $(seq 1 60); do
    import -window "$window" /tmp/title.png
    colours=$(identify -format %k /tmp/title.png)
    [ "$colours" -gt 300 ] && break
    sleep 0.5
  done
  echo "title screen: $colours colours"
  [ "$colours" -gt 300 ] || { echo "FAIL: no title"; kill $game $xvfb; exit 1; }
  status=""
  for i in $(seq 1 20); do
    xdotool keydown Escape; sleep 0.15; xdotool keyup Escape; sleep 0.5
    if ! kill -0 $game 2>/dev/null; then status=0; wait $game || status=$?; break; fi
  done
  kill $xvfb
  echo "exit status after Esc: ${status:-still running}"
  [ "$status" = 0 ] || exit 1
  ls -l ~/.local/share/pelvoro/save.dat
  [ "$(stat -c %s ~/.local/share/pelvoro/save.dat)" = 46 ] || { echo "FAIL: no save.dat"; exit 1; }
  [ ! -e /save.dat ] || { echo "FAIL: save.dat in /"; exit 1; }
'
INSIDE
cp "$root/tmp/title.png" "$build/deb-title.png" 2>/dev/null || true
echo "screenshot: $build/deb-title.png"
[ $status -eq 0 ] && echo "PASS: the .deb installs on a bare Debian 12 and the game runs from /"
exit $status
