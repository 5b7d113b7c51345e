#include <gtest/gtest.h>

#include <vector>

#include "girl_fixture.h"
#include "stage/scan.h"

namespace {

class Collision : public GirlTest {};

struct CellAt {
  int C, R, Id;
};

// (cells, position, velocity) -> (position, velocity, flags). Cell (5, 10) has its corner at (160, 320).
struct Case {
  const char* Name;
  int Source;  // 0 built-in, 1 custom
  std::vector<CellAt> Cells;
  float Px, Py, Vx, Vy;
  int DeadBefore;
  float ExpectPx, ExpectPy, ExpectVx, ExpectVy;
  int Dead, Airborne, OnIce, Goal;
};

const Case Cases[] = {
    // The solid blocks.
    {"falling onto a block lands at 288", 0, {{5, 10, 3}}, 150, 290, 0, 3, 0, 150, 288, 0, 0, 0, 0, 0, 0},
    {"jumping into its underside bumps to 352", 0, {{5, 10, 3}}, 150, 340, 0, -1, 0, 150, 352, 0, 0.5f, 0, 1, 0, 0},
    {"walking right into it stops at 144", 0, {{5, 10, 3}}, 150, 320, 1, 0, 0, 144, 320, 0, 0, 0, 1, 0, 0},
    {"walking left into it stops at 192", 0, {{5, 10, 3}}, 180, 320, -1, 0, 0, 192, 320, 0, 0, 0, 1, 0, 0},
    {"standing still beside it is not pushed", 0, {{5, 10, 3}}, 150, 320, 0, 0, 0, 150, 320, 0, 0, 0, 1, 0, 0},
    {"the across window is strict (px = X - 14)", 0, {{5, 10, 3}}, 146, 290, 0, 3, 0, 146, 290, 0, 3, 0, 1, 0, 0},
    {"the top-half window is inclusive (py = Y - 16)", 0, {{5, 10, 3}}, 150, 304, 0, 3, 0, 150, 288, 0, 0, 0, 0, 0, 0},
    {"landing on ice marks the ice", 0, {{5, 10, 191}}, 150, 290, 0, 3, 0, 150, 288, 0, 0, 0, 0, 1, 0},
    {"a pressed save block is solid", 0, {{5, 10, 9}}, 150, 290, 0, 3, 0, 150, 288, 0, 0, 0, 0, 0, 0},
    {"the invisible block lets her through", 0, {{5, 10, 190}}, 150, 290, 0, 3, 0, 150, 290, 0, 3, 0, 1, 0, 0},
    {"a balloon block is solid without velocity tests", 0, {{5, 10, 180}}, 150, 320, 0, 0, 0, 144, 320, 0, 0, 0, 1, 0, 0},
    // The goal.
    {"touching the goal flag", 0, {{5, 11, 2}}, 170, 330, 0, 0, 0, 170, 330, 0, 0, 0, 1, 0, 1},
    // SpikeUp: the side strips differ between built-in and custom stages.
    {"beside SpikeUp at X - 10, built-in: safe", 0, {{5, 10, 18}}, 150, 320, 0, 0, 0, 150, 320, 0, 0, 0, 1, 0, 0},
    {"beside SpikeUp at X - 10, custom: killed", 1, {{5, 10, 18}}, 150, 320, 0, 0, 0, 150, 320, 0, 0, 1, 1, 0, 0},
    {"entering the strip X - 16 .. X - 12, built-in: killed", 0, {{5, 10, 18}}, 147, 320, 1, 0, 0, 147, 320, 1, 0, 1, 1, 0, 0},
    {"onto SpikeUp's tip at Y - 14, built-in: killed", 0, {{5, 10, 18}}, 160, 306, 0, 1, 0, 160, 306, 0, 1, 1, 1, 0, 0},
    {"onto SpikeUp's tip at Y - 14, custom: not yet", 1, {{5, 10, 18}}, 160, 306, 0, 1, 0, 160, 306, 0, 1, 0, 1, 0, 0},
    {"under SpikeUp: bump", 0, {{5, 10, 18}}, 160, 340, 0, -1, 0, 160, 352, 0, 0.5f, 0, 1, 0, 0},
    // SpikeDown.
    {"onto SpikeDown's back: land", 0, {{5, 10, 19}}, 160, 290, 0, 3, 0, 160, 288, 0, 0, 0, 0, 0, 0},
    {"under SpikeDown's tip at Y + 15, built-in: killed", 0, {{5, 10, 19}}, 160, 335, 0, -1, 0, 160, 335, 0, -1, 1, 1, 0, 0},
    {"under SpikeDown's tip at Y + 15, custom: not yet", 1, {{5, 10, 19}}, 160, 335, 0, -1, 0, 160, 335, 0, -1, 0, 1, 0, 0},
    // SpikeLeft.
    {"into SpikeLeft's tip", 0, {{5, 10, 16}}, 150, 320, 1, 0, 0, 150, 320, 1, 0, 1, 1, 0, 0},
    {"against SpikeLeft's back: pushed to X + 32", 0, {{5, 10, 16}}, 170, 320, -1, 0, 0, 192, 320, 0, 0, 0, 1, 0, 0},
    {"SpikeLeft's top band at Y - 26, built-in: killed, not pushed", 0, {{5, 10, 16}}, 170, 294, 0, 0, 0, 170, 294, 0, 0, 1, 1, 0, 0},
    {"SpikeLeft's top band at Y - 26, custom: only pushed", 1, {{5, 10, 16}}, 170, 294, 0, 0, 0, 192, 294, 0, 0, 0, 1, 0, 0},
    {"SpikeLeft, already dead, built-in: keeps the cause, not pushed", 0, {{5, 10, 16}}, 170, 320, 0, 0, 3, 170, 320, 0, 0, 3, 1, 0, 0},
    {"SpikeLeft, already dead, custom: pushed", 1, {{5, 10, 16}}, 170, 320, 0, 0, 3, 192, 320, 0, 0, 3, 1, 0, 0},
    // SpikeRight.
    {"against SpikeRight's back: stopped at X - 16", 0, {{5, 10, 17}}, 150, 320, 1, 0, 0, 144, 320, 0, 0, 0, 1, 0, 0},
    {"SpikeRight's tip kills and stops the column", 0, {{5, 10, 17}, {5, 11, 2}}, 170, 330, 0, 0, 0, 170, 330, 0, 0, 1, 1, 0, 0},
};

TEST_F(Collision, WindowsAndResponses) {
  for (const Case& c : Cases) {
    SetUp();
    Play.PlaySource = c.Source;
    for (const CellAt& cell : c.Cells) Put(cell.C, cell.R, cell.Id);
    Place(c.Px, c.Py, c.Vx, c.Vy);
    Play.PlayerAirborne = 1;
    Play.DeadState = c.DeadBefore;
    CollidePlayer();
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(Play.PlayerX, c.ExpectPx);
    EXPECT_EQ(Play.PlayerY, c.ExpectPy);
    EXPECT_EQ(Play.PlayerVX, c.ExpectVx);
    EXPECT_EQ(Play.PlayerVY, c.ExpectVy);
    EXPECT_EQ(Play.DeadState, c.Dead);
    EXPECT_EQ(Play.PlayerAirborne, c.Airborne);
    EXPECT_EQ(Play.PlayerOnIce, c.OnIce);
    EXPECT_EQ(Play.GoalReached, c.Goal);
  }
}

TEST_F(Collision, ACustomSpikeLeftKillStopsTheColumnButABuiltinOneDoesNot) {
  for (int source : {0, 1}) {
    SetUp();
    Play.PlaySource = source;
    Put(5, 10, 16);
    Put(5, 11, 93);  // a key below, in the same column
    Place(155, 330);
    CollidePlayer();
    EXPECT_EQ(Play.DeadState, 1);
    EXPECT_EQ(Play.KeyHeld1, source == 0 ? 1 : 0) << "source " << source;
  }
}

TEST_F(Collision, HeadingASaveBlockSavesItsRestartPointAndPressesIt) {
  Put(5, 10, 8);   // SaveBlock3
  Put(12, 3, 86);  // RestartPoint3
  Put(0, 0, 1);
  GoalPlaced = 1;
  ScanStage(StageMap, StageWidth, StageHeight);
  Play.ScrollX = -640;
  Play.KeyHeld2 = 1;
  Place(150, 340, 0, -2);
  CollidePlayer();
  EXPECT_EQ(Play.RespawnX, 392.0f);
  EXPECT_EQ(Play.RespawnY, 96.0f);
  EXPECT_EQ(Play.RespawnScrollX, -640);
  EXPECT_EQ(Play.SavedKeyHeld2, 1);
  EXPECT_EQ(At(5, 10), 9);
  EXPECT_EQ(Play.PlayerY, 352.0f);
  EXPECT_EQ(Play.PlayerVY, 0.5f);
  // A second head hit only bumps.
  Play.RespawnX = 1;
  Play.KeyHeld2 = 0;
  Place(150, 340, 0, -2);
  CollidePlayer();
  EXPECT_EQ(At(5, 10), 9);
  EXPECT_EQ(Play.RespawnX, 1.0f);
  EXPECT_EQ(Play.SavedKeyHeld2, 1);
  EXPECT_EQ(Play.PlayerY, 352.0f);
}

TEST_F(Collision, ASaveBlockWithoutItsRestartPointSavesTheStart) {
  Put(25, 10, 4);  // SaveBlock1, on the second screen; no RestartPoint1 in this map
  Put(3, 4, 1);
  GoalPlaced = 1;
  StageWidth = 40;
  Play.RestartPointX[0] = 5000;  // left over from another stage
  Play.RestartPointY[0] = 5000;
  ScanStage(StageMap, StageWidth, StageHeight);
  Play.ScrollX = -640;
  Place(790, 340, 0, -2);
  CollidePlayer();
  EXPECT_EQ(At(25, 10), 5);
  EXPECT_EQ(Play.RespawnX, 104.0f);
  EXPECT_EQ(Play.RespawnY, 128.0f);
  EXPECT_EQ(Play.RespawnScrollX, 0);
  EXPECT_EQ(Play.RespawnScrollY, 0);
}

TEST_F(Collision, OnlyOneLockOpensPerFrame) {
  Put(5, 10, 90);
  Put(6, 10, 91);
  Play.KeyHeld1 = 1;
  Play.KeyHeld2 = 1;
  Place(180, 290, 0, 2);  // standing across both
  CollidePlayer();
  EXPECT_EQ(At(5, 10), 0);
  EXPECT_EQ(At(6, 10), 91);
  EXPECT_EQ(Play.KeyHeld1, 0);
  EXPECT_EQ(Play.KeyHeld2, 1);
  EXPECT_EQ(Play.LockOpenedThisFrame, 1);
  EXPECT_EQ(Play.PlayerY, 288.0f);
  CollidePlayer();  // the next frame opens the second
  EXPECT_EQ(At(6, 10), 0);
  EXPECT_EQ(Play.KeyHeld2, 0);
}

TEST_F(Collision, ALockWithoutItsKeyIsJustSolid) {
  Put(5, 10, 92);
  Play.KeyHeld1 = 1;
  Place(150, 320, 0, 0);
  CollidePlayer();
  EXPECT_EQ(At(5, 10), 92);
  EXPECT_EQ(Play.PlayerX, 144.0f);
  EXPECT_EQ(Play.KeyHeld1, 1);
}

TEST_F(Collision, KeysAreCollected) {
  Put(5, 10, 94);
  Place(155, 320);
  CollidePlayer();
  EXPECT_EQ(Play.KeyHeld2, 1);
  EXPECT_EQ(At(5, 10), 0);
}

TEST_F(Collision, ATriggerArmsOnlyWaitingSpikesOfItsKind) {
  Put(5, 10, 96);
  ObjectCount = 4;
  StageObjects[0] = StageObject{};
  StageObjects[0].Kind = 1;
  StageObjects[1] = StageObjects[0];
  StageObjects[1].State = 2;
  StageObjects[2] = StageObjects[0];
  StageObjects[2].Kind = 2;
  StageObjects[3] = StageObjects[0];
  StageObjects[4] = StageObjects[0];  // beyond ObjectCount: untouched
  Place(160, 320);
  CollidePlayer();
  EXPECT_EQ(StageObjects[0].State, 1);
  EXPECT_EQ(StageObjects[1].State, 2);
  EXPECT_EQ(StageObjects[2].State, 0);
  EXPECT_EQ(StageObjects[3].State, 1);
  EXPECT_EQ(StageObjects[4].State, 0);
  // Standing on: a spike that has left State 1 meanwhile is not touched again.
  StageObjects[0].State = 2;
  CollidePlayer();
  EXPECT_EQ(StageObjects[0].State, 2);
}

TEST_F(Collision, ABalloonBlockReleasesItsBalloonAbove) {
  Put(5, 10, 181);
  Place(150, 340, 0, -2);
  CollidePlayer();
  EXPECT_EQ(At(5, 10), 3);
  EXPECT_EQ(At(5, 9), 185);
  EXPECT_EQ(Play.PlayerY, 352.0f);
  EXPECT_EQ(Play.PlayerVY, 0.5f);
}

TEST_F(Collision, ABalloonBlockInTheTopRowReleasesNothing) {
  Put(5, 0, 181);
  Put(4, 44, 7);  // the byte just before the block in memory
  Place(150, 20, 0, -2);
  CollidePlayer();
  EXPECT_EQ(At(5, 0), 3);
  EXPECT_EQ(At(4, 44), 7);
  EXPECT_EQ(Play.PlayerY, 32.0f);
}

TEST_F(Collision, SignboardsShowForOneFrameOnly) {
  Put(5, 10, 177);
  Place(165, 320);
  CollidePlayer();
  EXPECT_EQ(Play.SignboardShown, 2);
  Place(120, 320);
  CollidePlayer();
  EXPECT_EQ(Play.SignboardShown, 0);
}

TEST_F(Collision, PickingUpACountBalloon) {
  Put(5, 10, 186);
  Place(165, 320);
  CollidePlayer();
  EXPECT_EQ(Play.BalloonState, 1);
  EXPECT_EQ(Play.BalloonTimer, 1439);
  EXPECT_EQ(Play.BalloonX, 157.0f);
  EXPECT_EQ(Play.BalloonY, 272.0f);
  EXPECT_EQ(At(5, 10), 0);
}

TEST_F(Collision, BreakingABlockStartsTheFirstFreeDebrisSlot) {
  DebrisSlots[0].Active = 1;
  Put(5, 10, 188);
  Place(150, 340, 0, -2);
  CollidePlayer();
  EXPECT_EQ(At(5, 10), 0);
  EXPECT_EQ(Play.PlayerY, 352.0f);
  const DebrisSlot& slot = DebrisSlots[1];
  EXPECT_EQ(slot.Active, 1);
  EXPECT_EQ(slot.Counter, 0);
  const float x[4] = {142, 142, 158, 158}, y[4] = {344, 360, 344, 360};
  const float vx[4] = {-2, -2, 2, 2}, vy[4] = {-6.5f, -4.5f, -6.5f, -4.5f};
  for (int f = 0; f < 4; ++f) {
    EXPECT_EQ(slot.X[f], x[f]);
    EXPECT_EQ(slot.Y[f], y[f]);
    EXPECT_EQ(slot.VX[f], vx[f]);
    EXPECT_EQ(slot.VY[f], vy[f]);
  }
  EXPECT_EQ(DebrisSlots[2].Active, 0);
}

TEST_F(Collision, NoDebrisWhenEverySlotIsBusy) {
  for (DebrisSlot& slot : DebrisSlots) slot.Active = 1;
  Put(5, 10, 188);
  Place(150, 340, 0, -2);
  CollidePlayer();
  EXPECT_EQ(At(5, 10), 0);
}

TEST_F(Collision, TheBalloonMeetsBlocksAndSpikesForThePlayer) {
  struct BalloonCase {
    const char* Name;
    int Id;
    float Bx, By, Vx, Vy;
    float ExpectPx, ExpectPy, ExpectVx, ExpectVy;
    int State;
  };
  // The cell is (5, 5), corner (160, 160); the player stands far away at (400, 400) so only the balloon
  // meets it.
  const BalloonCase cases[] = {
      {"rising into a block: hangs under it", 3, 160, 180, 0, -1, 400, 240, 0, 0.5f, 1},
      {"sinking onto a block: rests on it", 3, 160, 140, 0, 1, 400, 176, 0, 0, 1},
      {"drifting right into a block", 3, 140, 160, 1, 0, 136, 400, 0, 0, 1},
      {"drifting left into a block: X + 39", 3, 180, 160, -1, 0, 199, 400, 0, 0, 1},
      {"SpikeUp's tip bursts it", 18, 160, 140, 0, 1, 400, 400, 0, 1, 2},
      {"SpikeDown's back holds it", 19, 160, 140, 0, 1, 400, 176, 0, 0, 1},
      {"SpikeDown's tip bursts it", 19, 160, 180, 0, -1, 400, 400, 0, -1, 2},
      {"SpikeLeft's tip bursts it", 16, 136, 160, 1, 0, 400, 400, 1, 0, 2},
      {"SpikeLeft's back pushes the player", 16, 180, 160, -1, 0, 199, 400, 0, 0, 1},
      {"SpikeRight's tip bursts it", 17, 180, 160, -1, 0, 400, 400, -1, 0, 2},
      {"a key is nothing to the balloon", 93, 160, 160, 1, 1, 400, 400, 1, 1, 1},
  };
  for (const BalloonCase& c : cases) {
    SetUp();
    Put(5, 5, c.Id);
    Place(400, 400, c.Vx, c.Vy);
    Play.BalloonState = 1;
    Play.BalloonTimer = 100;
    Play.BalloonX = c.Bx;
    Play.BalloonY = c.By;
    CollidePlayer();
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(Play.PlayerX, c.ExpectPx);
    EXPECT_EQ(Play.PlayerY, c.ExpectPy);
    EXPECT_EQ(Play.PlayerVX, c.ExpectVx);
    EXPECT_EQ(Play.PlayerVY, c.ExpectVy);
    EXPECT_EQ(Play.BalloonState, c.State);
    EXPECT_EQ(Play.BalloonTimer, c.State == 2 ? 0 : 100);
    EXPECT_EQ(Play.BalloonX, c.Bx);
    EXPECT_EQ(Play.BalloonY, c.By);
    EXPECT_EQ(Play.PlayerAirborne, 0);
  }
}

TEST_F(Collision, CellsBeyondTheMapAreNotExamined) {
  // Blocks stored just outside the 20 x 15 map, where she would land if they counted.
  Put(20, 9, 3);
  Put(10, 15, 3);
  Place(630, 260, 0, 3);
  CollidePlayer();
  EXPECT_EQ(Play.PlayerY, 260.0f);
  Place(330, 450, 0, 3);
  CollidePlayer();
  EXPECT_EQ(Play.PlayerY, 450.0f);
  Place(-20, -20, 0, 3);
  CollidePlayer();
  EXPECT_EQ(Play.PlayerY, -20.0f);
}

}  // namespace
