#!/usr/bin/env bash
# A data.bin that lacks one picture or one sound ends the game during start-up with the matching message and
# exit status 255: a picture of the loading screen itself, one loaded behind it, a sound, an editor picture.
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

check() {
  local missing=$1 message=$2 status=0
  rm -rf "$work/staging" "$work/run"
  cp -r "$build/data-staging" "$work/staging"
  rm "$work/staging/$missing"
  mkdir "$work/run"
  "$build/pelvoro-pack" create "$work/run/data.bin" "$work/staging" >/dev/null
  (cd "$work/run" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy PELVORO_NO_MESSAGEBOX=1 \
    timeout 60 "$build/pelvoro" >"$work/out.txt" 2>&1) || status=$?
  [ "$status" -eq 255 ] || fail "without $missing: exit status $status, expected 255: $(cat "$work/out.txt")"
  grep -qF "$message" "$work/out.txt" || fail "without $missing: no '$message' in: $(cat "$work/out.txt")"
}

check texture/velmora.png "$texture_message"
check texture/titlescreen.png "$texture_message"
check se/jump.mp3 "$sound_message"
check bgm/staffcredit.mp3 "$sound_message"
check texture/scrollbar.png "$texture_message"
echo "missing assets: every case ends with its message and status 255"
