/* The yardstick of startup.sh: the least an SDL2 program of the game's shape does before its first picture
   shows. A 640 x 480 window, a renderer like the game's, an 800 x 600 target texture, the mixer opened as the
   game opens it, one present; then it waits to be killed so that its memory can be read.
   Prints "startup first-present <CLOCK_MONOTONIC ns>" on stderr. */
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <stdio.h>
#include <time.h>
#include <unistd.h>

static void Mark(const char* moment) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  fprintf(stderr, "startup %s %lld\n", moment, (long long)t.tv_sec * 1000000000LL + t.tv_nsec);
  fflush(stderr);
}

int main(void) {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480,
                                        SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
  if (window == NULL) return 1;
  SDL_Renderer* renderer =
      SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE);
  if (renderer == NULL) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer == NULL) return 1;
  SDL_Texture* target =
      SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, 800, 600);
  if (target == NULL) return 1;
  Mix_Init(MIX_INIT_MP3);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024);
  SDL_SetRenderTarget(renderer, target);
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  SDL_SetRenderTarget(renderer, NULL);
  SDL_Rect part = {0, 0, 640, 480};
  SDL_RenderCopy(renderer, target, &part, &part);
  SDL_RenderPresent(renderer);
  Mark("first-present");
  for (;;) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      if (event.type == SDL_QUIT) return 0;
    }
    SDL_Delay(10);
  }
}
