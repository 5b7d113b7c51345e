// Roving spikes: travel along the grid from the first frame, turn on the spike-turner cells they land on
// exactly, and halt for good against a Block. They kill from every side.
#include "play/objects.h"
#include "play/playstate.h"
#include "stage/catalogue.h"

// Step per frame of each Dir: slow left, right, up, down, then the same fast.
static const int RovingStepX[8] = {-4, 4, 0, 0, -8, 8, 0, 0};
static const int RovingStepY[8] = {0, 0, -4, 4, 0, 0, -8, 8};

void RovingSpikeStep(StageObject& spike, bool frozen) {
  int x = spike.PixelX, y = spike.PixelY;
  if (!frozen && spike.Dir >= 0 && spike.Dir < 8) {
    x += RovingStepX[spike.Dir];
    y += RovingStepY[spike.Dir];
  }
  if (ProbeBlocks(x, y)) spike.State = RovingHalted;

  // Only a spike standing exactly on the turner's cell is turned.
  const int part = PlayMapCellClamped(PixelToCell(x), PixelToCell(y));
  if (part >= SpikeTurnerFirst && part <= SpikeTurnerLast && x % 32 == 0 && y % 32 == 0)
    spike.Dir = part - SpikeTurnerFirst;

  const float fx = static_cast<float>(x), fy = static_cast<float>(y);
  if (fx - 14 < Play.PlayerX && Play.PlayerX < fx + 30 && fy - 28 < Play.PlayerY && Play.PlayerY < fy + 28)
    Play.DeadState = 5;
  if (Play.BalloonState == 1 && fx - 30 < Play.BalloonX && Play.BalloonX < fx + 30 &&
      fy - 28 < Play.BalloonY && Play.BalloonY < fy + 28) {
    Play.BalloonState = 2;
    Play.BalloonTimer = 0;
  }
  spike.PixelX = x;
  spike.PixelY = y;
}
