// Text-input lines: typed text and the input method's results edit the active line.
#include "media/internal.h"

namespace media {
void HandleTextInputEvent(const SDL_Event&) {}
}  // namespace media
