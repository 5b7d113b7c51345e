#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <stdio.h>
#include <stdlib.h>
#include <math.h>
/* Decodes each file through SDL_mixer (as the game does) and checks the loop seam: the frame count, the jump
   from the last frame to the first against the signal's usual frame-to-frame steps, and the second
   difference (a click detector) across the seam against its 99.9th percentile over the whole track. */
static int cmp(const void* a, const void* b) { double x = *(const double*)a, y = *(const double*)b; return x < y ? -1 : x > y; }
int main(int argc, char** argv) {
  SDL_Init(SDL_INIT_AUDIO);
  if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) < 0) return 1;
  for (int i = 1; i < argc; ++i) {
    Mix_Chunk* c = Mix_LoadWAV(argv[i]);
    if (!c) continue;
    int n = c->alen / 4;
    short* s = (short*)c->abuf;
    double* d2 = malloc(sizeof(double) * n);
    double seam2 = 0, step = 0, p50 = 0;
    for (int f = 0; f < n; ++f) {
      double m = 0;
      for (int ch = 0; ch < 2; ++ch) {
        double a = s[((f - 1 + n) % n) * 2 + ch], b = s[f * 2 + ch], cc = s[((f + 1) % n) * 2 + ch];
        double v = fabs(a - 2 * b + cc);
        if (v > m) m = v;
      }
      d2[f] = m;
    }
    for (int f = n - 2; f < n + 2; ++f) if (d2[f % n] > seam2) seam2 = d2[f % n];
    for (int ch = 0; ch < 2; ++ch) { double v = fabs((double)s[ch] - s[(n - 1) * 2 + ch]); if (v > step) step = v; }
    qsort(d2, n, sizeof(double), cmp);
    p50 = d2[n / 2];
    printf("%s: %d frames = %.4f s; seam step %.0f; seam 2nd diff %.0f vs median %.0f, 99.9th pct %.0f\n",
           argv[i], n, n / 44100.0, step, seam2, p50, d2[(int)(n * 0.999)]);
    free(d2);
  }
  return 0;
}
