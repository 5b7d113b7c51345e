// Opening an address with the desktop's default program (the editor's help page).
#include <SDL2/SDL.h>

#include "media/internal.h"

int OpenUrl(const char* url) {
  if (url == nullptr) return -1;
  return SDL_OpenURL(url) == 0 ? 0 : -1;
}
