// The X11 id of the game's window, which a native file chooser is attached to. Apart from window.cpp because
// the X11 headers that SDL_syswm.h brings in have a type named Window.
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include "media/chooser.h"
#include "media/internal.h"

namespace media {

unsigned long NativeWindowId() {
  if (media::Window == nullptr) return 0;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(media::Window, &info)) return 0;
#if defined(SDL_VIDEO_DRIVER_X11)
  if (info.subsystem == SDL_SYSWM_X11) return static_cast<unsigned long>(info.info.x11.window);
#endif
  return 0;
}

}  // namespace media
