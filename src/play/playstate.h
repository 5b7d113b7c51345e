// The state of the stage being played.
#pragma once

#include <cstdint>

struct PlayState {
  // Player
  float PlayerX = 0, PlayerY = 0;
  float PlayerVX = 0, PlayerVY = 0;
  int PlayerFacing = 0;
  int PlayerAirborne = 0;
  int PlayerOnIce = 0;
  int PlayerWalkFrame = 0;
  float PlayerWalkDistance = 0;
  int JumpKeyWasDown = 0;
  // Outcome and mode flags
  int DeadState = 0;
  int GoalReached = 0;
  int SignboardShown = 0;
  int PlayPhase = 0;
  int PlaySource = 0;
  int Paused = 0;
  // View
  int ScrollX = 0, ScrollY = 0;
  int ScrollState = 0;
  // Restart data
  float StartX = 0, StartY = 0;
  float RespawnX = 0, RespawnY = 0;
  int RespawnScrollX = 0, RespawnScrollY = 0;
  float RestartPointX[6] = {}, RestartPointY[6] = {};
  int KeyHeld1 = 0, KeyHeld2 = 0, KeyHeld3 = 0;
  int SavedKeyHeld1 = 0, SavedKeyHeld2 = 0, SavedKeyHeld3 = 0;
  int LockOpenedThisFrame = 0;
  // Count balloon
  int BalloonState = 0;
  int BalloonTimer = 0;
  float BalloonX = 0, BalloonY = 0;
};
extern PlayState Play;

// Chosen by the stage selects, advanced by the clear.
extern int SelectedStage;     // 1..30
extern int CustomStageIndex;  // 0..29
// Kind of the trap spike that killed the player in this life, 0 when none.
extern int KillerKind;

struct DebrisSlot {
  int Active = 0;
  int Counter = 0;
  float X[4] = {}, Y[4] = {};
  float VX[4] = {}, VY[4] = {};
};
constexpr int DebrisSlotCount = 256;
extern DebrisSlot DebrisSlots[DebrisSlotCount];

struct BloodDrop {
  int Alive = 0;
  float X = 0, Y = 0;
  float VX = 0, VY = 0;  // in 1/200 pixel per frame
};
constexpr int BloodDropCount = 512;
extern int BloodState;
extern BloodDrop BloodDrops[BloodDropCount];
