// The stage scan, shared by the built-in stages and the stages of a custom set.
#include "stage/scan.h"

#include "media/media.h"
#include "play/playstate.h"
#include "stage/builtin_loader.h"
#include "stage/catalogue.h"
#include "stage/stagedata.h"

uint8_t RestartPointInMap[6] = {};

static StageObject& AppendObject() {
  // One object per cell would overrun the table only on a built-in map crowded beyond 60 x 45 spikes.
  if (ObjectCount >= MaxStageObjects) FatalError(StageLoadFailedMessage, 0);
  return StageObjects[ObjectCount++];
}

const char* TryScanStage(const uint8_t* map, int width, int height) {
  const bool restart = Play.PlayPhase == 2;
  bool startMet = false;
  ObjectCount = 0;
  for (int i = 0; i < 6; ++i) RestartPointInMap[i] = 0;
  for (int c = 0; c < width; ++c) {
    for (int r = 0; r < height; ++r) {
      const int p = map[c * StageMapRows + r];
      if (p == StartPoint) {
        if (!restart && !startMet) {
          Play.PlayerX = static_cast<float>(32 * c + 8);
          Play.PlayerY = static_cast<float>(32 * r);
          Play.ScrollX = -(static_cast<int>(Play.PlayerX) / 640) * 640;
          Play.ScrollY = -(static_cast<int>(Play.PlayerY) / 480) * 480;
          Play.StartX = Play.PlayerX;
          Play.StartY = Play.PlayerY;
        }
        startMet = true;
      } else if (p >= TrapSpikeFirst && p <= TrapSpikeLast) {
        const int k = p - TrapSpikeFirst;
        const float speed = k % 8 < 4 ? 8.0f : 12.0f;
        StageObject& o = AppendObject();
        o.Kind = k + 1;
        o.Dir = k % 4;
        o.VX = o.Dir == DirLeft ? -speed : o.Dir == DirRight ? speed : 0.0f;
        o.VY = o.Dir == DirUp ? -speed : o.Dir == DirDown ? speed : 0.0f;
        o.X = static_cast<float>(32 * c);
        o.Y = static_cast<float>(32 * r);
        o.State = 0;
      } else if (p >= RestartPoint1 && p <= RestartPoint6) {
        Play.RestartPointX[p - RestartPoint1] = static_cast<float>(32 * c);
        Play.RestartPointY[p - RestartPoint1] = static_cast<float>(32 * r);
        RestartPointInMap[p - RestartPoint1] = 1;
      } else if (p >= RovingSpikeFirst && p <= RovingSpikeLast) {
        StageObject& o = AppendObject();
        o.Kind = p - 95;
        o.Dir = p - RovingSpikeFirst;
        o.PixelX = 32 * c;
        o.PixelY = 32 * r;
        o.State = 3;
      } else if (p == BouncingSpike) {
        StageObject& o = AppendObject();
        o.Kind = 73;
        o.Dir = 10;
        o.X = static_cast<float>(32 * c);
        o.Y = static_cast<float>(32 * r);
        o.CellCol = c;
        o.CellRow = r;
        o.VX = -4.0f;
        o.VY = -4.0f;
        o.State = 5;
      }
    }
  }
  if (!startMet) return NoStartPointMessage;
  if (GoalPlaced == 0) return NoGoalMessage;
  return nullptr;
}

void ScanStage(const uint8_t* map, int width, int height) {
  if (const char* refusal = TryScanStage(map, width, height)) FatalError(refusal, 1);
}
