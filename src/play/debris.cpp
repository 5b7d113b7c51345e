// Fragments of broken blocks: four pieces per slot that fly through everything for 121 frames.
#include "play/inplay_flow.h"
#include "play/objects.h"
#include "play/playstate.h"
#include "shell/assets.h"

void UpdateDebris() {
  for (DebrisSlot& slot : DebrisSlots) {
    if (slot.Active != 1) continue;
    for (int k = 0; k < 4; ++k) slot.VY[k] += 0.3f;
    for (int k = 0; k < 4; ++k) {
      slot.X[k] += slot.VX[k];
      slot.Y[k] += slot.VY[k];
      DrawPictureRegion(TruncToInt(slot.X[k]) + Play.ScrollX, TruncToInt(slot.Y[k]) + Play.ScrollY, 96, 32, 12,
                        12, ImgMapParts, 1, 0);
    }
    slot.Counter += 1;
    if (slot.Counter > 120) {
      slot.Counter = 0;
      slot.Active = 0;
    }
  }
}
