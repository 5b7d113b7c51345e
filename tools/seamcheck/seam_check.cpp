// The music loops as the game plays them: each file loaded as the game loads music, played looped, and its
// output pulled through two wraps. Prints the frame count, whether both passes are the whole-decoded track
// sample for sample, the jump from the last frame to the first, and the second difference (a click detector) across
// the wrap against its median and 99.9th percentile over the whole track, as assets/src/seam_check.c does for
// the whole-decoded track.
//   pelvoro-seamcheck assets/bgm/*.mp3
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <SDL2/SDL_mixer.h>

#include "media/media.h"
#include "media/testing.h"

namespace {

int CheckLoop(const char* path) {
  // The track decoded whole, as the game decoded music before it was streamed: the reference.
  Mix_Chunk* chunk = Mix_LoadWAV(path);
  SoundHandle music = LoadSound(path, 1);
  if (chunk == nullptr || music == -1 || SoundIsStreamed(music) != 1) {
    std::printf("%s: cannot be loaded, or is not streamed\n", path);
    if (chunk != nullptr) Mix_FreeChunk(chunk);
    return 1;
  }
  const auto* whole = reinterpret_cast<const int16_t*>(chunk->abuf);
  const size_t period = chunk->alen / 4;
  const int piece = 1024;  // as the device pulls it
  std::vector<int16_t> heard((2 * period + piece) * 2);
  StartSound(music, SoundLoop, 1);
  for (size_t at = 0; at + piece <= heard.size() / 2; at += piece) PullStreamedMix(heard.data() + at * 2, piece);
  StopSound(music);
  bool repeats = std::equal(whole, whole + period * 2, heard.begin()) &&
                 std::equal(whole, whole + period * 2, heard.begin() + period * 2);
  Mix_FreeChunk(chunk);
  const size_t passes = 2;
  int n = static_cast<int>(period);
  auto sample = [&heard](int frame, int channel) { return static_cast<double>(heard[frame * 2 + channel]); };
  std::vector<double> d2(n);
  for (int f = 0; f < n; ++f) {
    double m = 0;
    for (int ch = 0; ch < 2; ++ch) {
      // Around the wrap this reads the second pass's first frames, as the player hears them.
      double a = sample(f == 0 ? n - 1 : f - 1, ch), b = sample(f, ch), c = sample(f + 1, ch);
      m = std::max(m, std::fabs(a - 2 * b + c));
    }
    d2[f] = m;
  }
  double seam2 = 0;
  for (int f = n - 2; f < n + 2; ++f) {
    double m = 0;
    for (int ch = 0; ch < 2; ++ch) m = std::max(m, std::fabs(sample(f - 1, ch) - 2 * sample(f, ch) + sample(f + 1, ch)));
    seam2 = std::max(seam2, m);
  }
  double step = 0;
  for (int ch = 0; ch < 2; ++ch) step = std::max(step, std::fabs(sample(n, ch) - sample(n - 1, ch)));
  std::sort(d2.begin(), d2.end());
  std::printf("%s: streamed %d frames = %.4f s; %zu passes %s the whole-decoded track; seam step %.0f; seam 2nd diff %.0f vs median %.0f, "
              "99.9th pct %.0f\n",
              path, n, n / 44100.0, passes, repeats ? "equal to" : "DIFFER from", step, seam2, d2[n / 2],
              d2[static_cast<size_t>(n * 0.999)]);
  return repeats ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (InitMedia() != 0) return 1;
  PauseStreamMixing(true);
  int failed = 0;
  for (int i = 1; i < argc; ++i) failed += CheckLoop(argv[i]);
  PauseStreamMixing(false);
  EndMedia();
  return failed == 0 ? 0 : 1;
}
