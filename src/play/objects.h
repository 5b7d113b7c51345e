// The play-object pass and the moving spikes it runs: trap spikes, roving spikes and the bouncing spike.
#pragma once

#include <cstdint>

#include "stage/stagedata.h"

// Object kinds and states as the stage scan sets them up.
constexpr int TrapSpikeKindLast = 64;
constexpr int BouncingSpikeKind = 73;
enum {
  TrapWaiting = 0,
  TrapShooting = 1,
  TrapStopped = 2,
  RovingMoving = 3,
  RovingHalted = 4,
  BouncingMoving = 5,
};

// Objects stand still while a screen is over the stage, the stage is fading, or the view scrolls.
bool ObjectsFrozen();

// Size of the map being played, in cells.
int PlayMapWidth();
int PlayMapHeight();
// PartId at (c, r) of the map being played; c and r must lie inside the map.
uint8_t PlayMapCell(int c, int r);
// The same with c and r clamped into the map: what the spikes see beyond an edge is the edge cell.
uint8_t PlayMapCellClamped(int c, int r);
// Integer part of a float, saturated so that a spike that flew off for ever still converts safely.
inline int TruncToInt(float v) {
  if (v >= 2147483520.0f) return 2147483520;
  if (v <= -2147483648.0f) return -2147483647 - 1;
  if (v != v) return 0;
  return static_cast<int>(v);
}
// Column or row of a pixel coordinate: its integer part (toward zero) divided by 32, toward zero.
inline int PixelToCell(float v) { return TruncToInt(v) / 32; }
inline int PixelToCell(int v) { return v / 32; }

// Stops a trap or roving spike at any Block it overlaps, putting it flush against the block. Returns true
// when one of the four probes found a Block.
bool ProbeBlocks(float& x, float& y);
bool ProbeBlocks(int& x, int& y);

// The steps of the pass, one object each.
void TrapSpikeStep(StageObject& spike, bool frozen);
void HitNudge();
void RovingSpikeStep(StageObject& spike, bool frozen);
void BouncingSpikeStep(StageObject& spike, bool frozen);

// 32 x 32 picture of the part sheet at (sourceX, 0), at a stage position.
void DrawSpike(int stageX, int stageY, int sourceX);
