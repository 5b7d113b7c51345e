// The screen-scroll rule.
#include "play/scroll.h"

#include "play/playstate.h"

void ScrollView() {
  PlayState& p = Play;
  // A later test overrides an earlier one; they run also while a scroll is under way.
  if (static_cast<float>(p.ScrollX) + p.PlayerX > 632.0f) p.ScrollState = 1;
  if (static_cast<float>(p.ScrollX) + p.PlayerX < -8.0f) p.ScrollState = 2;
  if (static_cast<float>(p.ScrollY) + p.PlayerY > 464.0f) p.ScrollState = 3;
  if (static_cast<float>(p.ScrollY) + p.PlayerY < -16.0f) p.ScrollState = 4;
  switch (p.ScrollState) {
    case 1:
    case 2:
      p.ScrollX += p.ScrollState == 1 ? -8 : 8;
      if (p.ScrollX % 640 == 0) p.ScrollState = 0;
      break;
    case 3:
    case 4:
      p.ScrollY += p.ScrollState == 3 ? -8 : 8;
      if (p.ScrollY % 480 == 0) p.ScrollState = 0;
      break;
    default:
      break;
  }
}
