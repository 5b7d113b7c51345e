// The play-object pass: moves, tests and draws every moving spike of the stage once a frame.
#include "play/objects.h"

#include "play/play_map.h"
#include "play/playstate.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/scenes.h"
#include "stage/catalogue.h"

bool ObjectsFrozen() {
  return Play.PlayPhase != 0 || Play.GoalReached != 0 || FadeActive != 0 || Play.Paused != 0 ||
         Play.ScrollState != 0;
}

// The built-in map's header sizes are not trusted beyond the storage that holds the map.
int PlayMapWidth() {
  const int columns = PlayMapColumns();
  return columns < 0 ? 0 : columns > StageMapColumns ? StageMapColumns : columns;
}

int PlayMapHeight() {
  const int rows = PlayMapRows();
  return rows < 0 ? 0 : rows > StageMapRows ? StageMapRows : rows;
}

uint8_t PlayMapCell(int c, int r) {
  if (Play.PlaySource == 1 && (CustomStageIndex < 0 || CustomStageIndex >= CustomStageCount)) return Empty;
  return PlayMapAt(c, r);
}

static int ClampColumn(int c) {
  const int width = PlayMapWidth();
  if (c > width - 1) c = width - 1;
  return c < 0 ? 0 : c;
}

static int ClampRow(int r) {
  const int height = PlayMapHeight();
  if (r > height - 1) r = height - 1;
  return r < 0 ? 0 : r;
}

uint8_t PlayMapCellClamped(int c, int r) {
  return PlayMapCell(ClampColumn(c), ClampRow(r));
}


// Only a Block stops a spike. The four edges are probed in turn, each from the position the earlier ones
// left; the clamped cell also gives the new position, so a Block on the map's edge holds a spike beyond it.
template <typename T>
static bool ProbeBlocksOf(T& x, T& y) {
  bool stopped = false;
  int r = ClampRow(PixelToCell(y));
  int c = ClampColumn(PixelToCell(x + 31));
  if (PlayMapCell(c, r) == Block) {
    stopped = true;
    x = static_cast<T>(32 * c - 32);
  }
  c = ClampColumn(PixelToCell(x));
  if (PlayMapCell(c, r) == Block) {
    stopped = true;
    x = static_cast<T>(32 * c + 32);
  }
  c = ClampColumn(PixelToCell(x));  // the left probe may have moved x
  r = ClampRow(PixelToCell(y + 31));
  if (PlayMapCell(c, r) == Block) {
    stopped = true;
    y = static_cast<T>(32 * r - 32);
  }
  r = ClampRow(PixelToCell(y));
  if (PlayMapCell(c, r) == Block) {
    stopped = true;
    y = static_cast<T>(32 * r + 32);
  }
  return stopped;
}

bool ProbeBlocks(float& x, float& y) { return ProbeBlocksOf(x, y); }
bool ProbeBlocks(int& x, int& y) { return ProbeBlocksOf(x, y); }

void DrawSpike(int stageX, int stageY, int sourceX) {
  DrawPictureRegion(stageX + Play.ScrollX, stageY + Play.ScrollY, sourceX, 0, 32, 32, ImgMapParts, 1, 0);
}

void PlayObjectPass() {
  const bool frozen = ObjectsFrozen();
  int count = ObjectCount;
  if (count > MaxStageObjects) count = MaxStageObjects;

  for (int i = 0; i < count; ++i) {
    StageObject& object = StageObjects[i];
    switch (object.State) {
      case TrapWaiting:
      case TrapShooting:
      case TrapStopped:
        TrapSpikeStep(object, frozen);
        DrawSpike(TruncToInt(object.X), TruncToInt(object.Y), 32 * (object.Dir + 1));
        break;
      case RovingMoving:
        RovingSpikeStep(object, frozen);
        DrawSpike(object.PixelX, object.PixelY, 256);
        break;
      case RovingHalted:
        DrawSpike(object.PixelX, object.PixelY, 256);
        break;
      default:
        break;
    }
  }

  HitNudge();

  for (int i = 0; i < count; ++i) {
    StageObject& object = StageObjects[i];
    if (object.State != BouncingMoving || object.Kind != BouncingSpikeKind) continue;
    BouncingSpikeStep(object, frozen);
    DrawSpike(TruncToInt(object.X), TruncToInt(object.Y), 256);
  }

  // Every kill is the same to the in-play flow.
  if (Play.DeadState >= 1 && Play.DeadState <= 4) Play.DeadState = 5;
}
