#!/bin/sh
# Measures every sound: length, peak and RMS level (sox), and for the music the loop seam as the game hears
# it (decoded through SDL_mixer, so lame's delay and padding are dropped as in the game): the frame count,
# and the jump and the second difference across the wrap compared with the rest of the track.
set -e
here=$(cd "$(dirname "$0")" && pwd)
# Without its MP3 format sox reports every MP3 as empty instead of failing.
sox -h 2>&1 | grep -q '^AUDIO FILE FORMATS:.* mp3' || { echo "sox cannot read MP3: install libsox-fmt-mp3" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for f in "$here"/se/* "$here"/bgm/*; do
  printf '%-18s' "$(basename "$f")"
  sox "$f" -n stats 2>&1 | awk '/^Pk lev dB/ {pk=$4} /^RMS lev dB/ {rms=$4} /^Length s/ {len=$3}
    END {printf "length %7.3f s  peak %6.2f dBFS  RMS %6.2f dBFS\n", len, pk, rms}'
done
echo "(sox counts the MP3 encoder's padding in the length; the game does not)"
cc -O2 "$here/src/seam_check.c" -o "$tmp/seam_check" $(pkg-config --cflags --libs sdl2 SDL2_mixer) -lm
SDL_AUDIODRIVER=dummy "$tmp/seam_check" "$here"/bgm/*.mp3
# The same loops as the game streams them (decoded while they play), when the game is built in build/.
seamcheck="$here/../build/pelvoro-seamcheck"
if [ -x "$seamcheck" ]; then
  SDL_AUDIODRIVER=dummy "$seamcheck" "$here"/bgm/*.mp3
else
  echo "(build pelvoro-seamcheck to check the loops as the game streams them)"
fi
