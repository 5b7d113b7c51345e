#!/usr/bin/env bash
# A data.bin that lacks one picture or one sound, or holds a damaged sound, ends the game during start-up with
# the matching message and exit status 255: a picture of the loading screen itself, one loaded behind it, a
# sound, an editor picture; damaged MP3 and WAV files with and without a sound device.
# Runs without a display (SDL's dummy drivers).
# Usage: missing_assets.test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)

work=$(mktemp -d "${TMPDIR:-/tmp}/pelvoro-missing-XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

texture_message="テクスチャーの読み込みに失敗しました。"
sound_message="サウンドの読み込みに失敗しました。"

# run NAME AUDIO MESSAGE: packs the staging folder, starts the game on SDL's dummy display with the audio
# driver AUDIO (one that does not exist stands for a machine without a sound device) and expects MESSAGE and
# status 255.
run() {
  local name=$1 audio=$2 message=$3 status=0
  rm -rf "$work/run"
  mkdir "$work/run"
  "$build/pelvoro-pack" create "$work/run/data.bin" "$work/staging" >/dev/null
  (cd "$work/run" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=$audio PELVORO_NO_MESSAGEBOX=1 \
    timeout 60 "$build/pelvoro" >"$work/out.txt" 2>&1) || status=$?
  [ "$status" -eq 255 ] || fail "$name: exit status $status, expected 255: $(cat "$work/out.txt")"
  grep -qF "$message" "$work/out.txt" || fail "$name: no '$message' in: $(cat "$work/out.txt")"
}

stage() {
  rm -rf "$work/staging"
  cp -r "$build/data-staging" "$work/staging"
}

check() {
  local missing=$1 message=$2 audio=${3:-dummy}
  stage
  rm "$work/staging/$missing"
  run "without $missing ($audio audio)" "$audio" "$message"
}

# A sound whose bytes are no sound: its head kept, the rest overwritten, or no sound format at all.
check_damaged() {
  local file=$1 how=$2 audio=$3
  stage
  case "$how" in
    body) dd if=/dev/zero of="$work/staging/$file" bs=1 seek=16 conv=notrunc status=none \
            count=$(($(stat -c %s "$work/staging/$file") - 16)) ;;
    text) echo "not a sound" >"$work/staging/$file" ;;
  esac
  run "damaged $file ($how, $audio audio)" "$audio" "$sound_message"
}

check texture/velmora.png "$texture_message"
check texture/titlescreen.png "$texture_message"
check se/jump.mp3 "$sound_message"
check bgm/staffcredit.mp3 "$sound_message"
check se/crack.wav "$sound_message" no-such-driver
check texture/scrollbar.png "$texture_message"
# The sounds are decoded whether or not a sound device is open.
for audio in dummy no-such-driver; do
  check_damaged se/jump.mp3 text "$audio"
  check_damaged bgm/title.mp3 body "$audio"
  check_damaged se/balloon.wav body "$audio"
done
echo "missing assets: every case ends with its message and status 255"
