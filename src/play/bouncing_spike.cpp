// The bouncing spike: flies diagonally at 4 pixels a frame on each axis and rebounds from the open sides of
// walls, the invisible blocks included.
#include "play/objects.h"
#include "play/playstate.h"
#include "stage/catalogue.h"

// The parts the bouncing spike rebounds from (ice is not one of them).
static bool IsSpikeWall(int part) {
  return part == Block || (part >= SaveBlock1 && part <= SaveBlockPressed6) ||
         (part >= LockBlock1 && part <= LockBlock3) || (part >= BalloonBlock6 && part <= BalloonBlock36) ||
         part == BreakableBlock || part == InvisibleBlock;
}

// A neighbour beyond the map's edge holds nothing, so that side of an edge wall is open.
static bool HoldsPart(int c, int r, int part) {
  if (c < 0 || r < 0 || c >= PlayMapWidth() || r >= PlayMapHeight()) return false;
  return PlayMapCell(c, r) == part;
}

void BouncingSpikeStep(StageObject& spike, bool frozen) {
  float x = spike.X, y = spike.Y, vx = spike.VX, vy = spike.VY;
  // A frozen bouncing spike neither moves nor kills.
  if (!frozen) {
    x += vx;
    y += vy;
    if (x - 14 < Play.PlayerX && Play.PlayerX < x + 30 && y - 28 < Play.PlayerY && Play.PlayerY < y + 28)
      Play.DeadState = 5;
  }

  const int width = PlayMapWidth(), height = PlayMapHeight();
  const float pixelWidth = static_cast<float>(32 * width), pixelHeight = static_cast<float>(32 * height);
  if (x <= 0) x = 0;
  if (y <= 0) y = 0;
  if (x >= pixelWidth) x = pixelWidth;
  if (y >= pixelHeight) y = pixelHeight;

  // The window is fixed before the first rebound; each rebound is seen by the tests of the later cells.
  const int c0 = PixelToCell(x), r0 = PixelToCell(y);
  for (int c = c0; c < c0 + 2 && c < width; ++c) {
    for (int r = r0; r < r0 + 2 && r < height; ++r) {
      const int part = PlayMapCell(c, r);
      if (!IsSpikeWall(part)) continue;
      const float C = static_cast<float>(32 * c), R = static_cast<float>(32 * r);
      const bool topOpen = !HoldsPart(c, r - 1, part);
      const bool bottomOpen = !HoldsPart(c, r + 1, part);
      const bool leftOpen = !HoldsPart(c - 1, r, part);
      const bool rightOpen = !HoldsPart(c + 1, r, part);
      if (topOpen && vy > 0 && C - 32 < x && x < C + 32 && R - 32 < y && y < R - 24) {
        vy = -4;
        y = R - 32;
      } else if (bottomOpen && vy < 0 && C - 32 < x && x < C + 32 && R + 24 < y && y < R + 32) {
        vy = 4;
        y = R + 32;
      } else if (leftOpen && vx > 0 && C - 32 < x && x < C - 24 && R - 32 < y && y < R + 32) {
        vx = -4;
        x = C - 32;
      } else if (rightOpen && vx < 0 && C + 24 < x && x < C + 32 && R - 32 < y && y < R + 32) {
        vx = 4;
        x = C + 32;
      }
    }
  }
  spike.X = x;
  spike.Y = y;
  spike.VX = vx;
  spike.VY = vy;
}
