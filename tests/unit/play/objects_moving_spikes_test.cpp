#include "objects_fixture.h"

using RovingSpikeTest = ObjectPassTest;
using BouncingSpikeTest = ObjectPassTest;

TEST_F(RovingSpikeTest, TurnsOnlyWhenExactlyOnTheTurnerCell) {
  SetCell(7, 5, SpikeTurnerFirst + 2);  // 170
  StageObject& spike = AddRovingSpike(RovingSpikeFirst + 1, 160, 160);
  for (int frame = 1; frame <= 15; ++frame) {
    PlayObjectPass();
    ASSERT_EQ(spike.PixelX, 160 + 4 * frame);
    ASSERT_EQ(spike.Dir, DirRight) << "frame " << frame;  // columns 5..6 and the approach to 7
  }
  PlayObjectPass();
  EXPECT_EQ(spike.PixelX, 224);
  EXPECT_EQ(spike.Dir, DirUp);
  PlayObjectPass();
  EXPECT_EQ(spike.PixelX, 224);
  EXPECT_EQ(spike.PixelY, 156);
  EXPECT_EQ(spike.State, RovingMoving);
}

TEST_F(RovingSpikeTest, FastTurnerSetsTheFastStep) {
  SetCell(4, 5, SpikeTurnerFirst + 7);  // 175
  StageObject& spike = AddRovingSpike(RovingSpikeFirst + 4, 192, 160);
  for (int frame = 0; frame < 8; ++frame) PlayObjectPass();
  EXPECT_EQ(spike.PixelX, 128);
  EXPECT_EQ(spike.Dir, 7);
  PlayObjectPass();
  EXPECT_EQ(spike.PixelX, 128);
  EXPECT_EQ(spike.PixelY, 168);
}

TEST_F(RovingSpikeTest, HaltsAgainstABlockAndIsHarmlessFromThenOn) {
  SetCell(4, 5, Block);
  StageObject& spike = AddRovingSpike(RovingSpikeFirst + 0, 164, 160);
  PlayObjectPass();
  EXPECT_EQ(spike.PixelX, 160);
  EXPECT_EQ(spike.State, RovingMoving);
  PlayObjectPass();  // 156: the left probe finds column 4
  EXPECT_EQ(spike.PixelX, 160);
  EXPECT_EQ(spike.PixelY, 160);  // the bottom probe looks below the new x, not into the Block
  EXPECT_EQ(spike.State, RovingHalted);
  PutPlayer(168, 160);
  Play.BalloonState = 1;
  Play.BalloonTimer = 100;
  Play.BalloonX = 160;
  Play.BalloonY = 160;
  for (int frame = 0; frame < 3; ++frame) PlayObjectPass();
  EXPECT_EQ(spike.PixelX, 160);
  EXPECT_EQ(Play.DeadState, 0);
  EXPECT_EQ(Play.BalloonState, 1);
}

TEST_F(RovingSpikeTest, KillsFromEverySideWithFiveAndLeavesKillerKind) {
  struct Case {
    float px, py;
    bool killed;
  } cases[] = {
      {147, 160, true},  {146, 160, false}, {189, 160, true},  {190, 160, false},
      {168, 133, true},  {168, 132, false}, {168, 187, true},  {168, 188, false},
  };
  for (const Case& c : cases) {
    SetUp();
    AddRovingSpike(RovingSpikeFirst + 0, 164, 160);  // at 160 after its step
    PutPlayer(c.px, c.py);
    PlayObjectPass();
    EXPECT_EQ(Play.DeadState, c.killed ? 5 : 0) << c.px << "," << c.py;
    EXPECT_EQ(KillerKind, 0);
  }
}

TEST_F(RovingSpikeTest, FrozenItStandsStillButStillKills) {
  StageObject& spike = AddRovingSpike(RovingSpikeFirst + 1, 160, 160);
  Play.Paused = 1;
  PutPlayer(170, 165);
  PlayObjectPass();
  EXPECT_EQ(spike.PixelX, 160);
  EXPECT_EQ(Play.DeadState, 5);
}

TEST_F(RovingSpikeTest, BurstsTheBalloon) {
  AddRovingSpike(RovingSpikeFirst + 2, 160, 164);
  Play.BalloonState = 1;
  Play.BalloonTimer = 100;
  Play.BalloonX = 185;
  Play.BalloonY = 140;
  PlayObjectPass();
  EXPECT_EQ(Play.BalloonState, 2);
  EXPECT_EQ(Play.BalloonTimer, 0);
  EXPECT_EQ(Play.DeadState, 0);
}

struct BounceCase {
  const char* name;
  int wall;
  float x, y, vx, vy;
  float afterX, afterY, afterVX, afterVY;
};

class LoneWallTest : public ObjectPassTest, public ::testing::WithParamInterface<BounceCase> {};

// A lone wall cell at column 5, row 5 (160, 160).
TEST_P(LoneWallTest, OneFrame) {
  const BounceCase& c = GetParam();
  SetCell(5, 5, c.wall);
  StageObject& spike = AddBouncingSpike(c.x, c.y, c.vx, c.vy);
  PlayObjectPass();
  EXPECT_EQ(spike.X, c.afterX);
  EXPECT_EQ(spike.Y, c.afterY);
  EXPECT_EQ(spike.VX, c.afterVX);
  EXPECT_EQ(spike.VY, c.afterVY);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoneWallTest,
    ::testing::Values(
        BounceCase{"TopSide", Block, 164, 128, 4, 4, 168, 128, 4, -4},
        BounceCase{"InvisibleBlockRebounds", InvisibleBlock, 128, 128, 4, 4, 132, 128, 4, -4},
        BounceCase{"SaveBlockRebounds", SaveBlockPressed6, 128, 128, 4, 4, 132, 128, 4, -4},
        BounceCase{"IceBlockDoesNot", IceBlock, 128, 128, 4, 4, 132, 132, 4, 4},
        BounceCase{"SignboardDoesNot", Signboard1, 128, 128, 4, 4, 132, 132, 4, 4},
        // The window starts at the spike's own cell, so a side is met 4 pixels deep.
        BounceCase{"BottomSide", Block, 168, 192, -4, -4, 164, 192, -4, 4},
        BounceCase{"NotYetBelow", Block, 164, 196, -4, -4, 160, 192, -4, -4},
        BounceCase{"LeftSide", Block, 128, 160, 4, 4, 128, 164, -4, 4},
        BounceCase{"RightSide", Block, 192, 164, -4, -4, 192, 160, 4, -4},
        // Meeting the corner diagonally the side band holds too, but the vertical rebound wins.
        BounceCase{"CornerVerticalWins", Block, 128, 128, 4, 4, 132, 128, 4, -4}),
    [](const ::testing::TestParamInfo<BounceCase>& info) { return info.param.name; });

TEST_F(BouncingSpikeTest, ComesBackOutOfAnInnerCorner) {
  for (int r = 0; r <= 10; ++r) SetCell(8, r, Block);  // wall column
  for (int c = 0; c <= 8; ++c) SetCell(c, 10, Block);  // floor
  StageObject& spike = AddBouncingSpike(224, 288, 4, 4);
  PlayObjectPass();
  EXPECT_EQ(spike.X, 224.0f);
  EXPECT_EQ(spike.Y, 288.0f);
  EXPECT_EQ(spike.VX, -4.0f);
  EXPECT_EQ(spike.VY, -4.0f);
}

TEST_F(BouncingSpikeTest, NeighbourOfTheSameWallClosesThatSide) {
  SetCell(5, 5, Block);
  SetCell(5, 4, Block);  // the top of (5, 5) is covered; (5, 4)'s own top is open, higher up
  StageObject& spike = AddBouncingSpike(128, 128, 4, 4);
  PlayObjectPass();
  // (5, 4): level 128 is not within its top band (96..104), and its left side is open: rebound to the left.
  EXPECT_EQ(spike.X, 128.0f);
  EXPECT_EQ(spike.VX, -4.0f);
  EXPECT_EQ(spike.Y, 132.0f);
  EXPECT_EQ(spike.VY, 4.0f);
}

TEST_F(BouncingSpikeTest, OnlyANeighbourOfTheSameWallClosesASide) {
  for (int neighbour : {InvisibleBlock, Block}) {
    SetUp();
    SetCell(4, 5, neighbour);
    SetCell(5, 5, Block);
    StageObject& spike = AddBouncingSpike(128, 160, 4, 4);
    PlayObjectPass();
    // At (132, 164) the left side of (5, 5) is open unless (4, 5) is a Block as well.
    EXPECT_EQ(spike.VX, neighbour == Block ? 4.0f : -4.0f) << neighbour;
    EXPECT_EQ(spike.X, neighbour == Block ? 132.0f : 128.0f) << neighbour;
  }
}

TEST_F(BouncingSpikeTest, HeldOnAMapEdgeWithoutWall) {
  StageObject& spike = AddBouncingSpike(8, 4);
  for (int frame = 0; frame < 5; ++frame) PlayObjectPass();
  EXPECT_EQ(spike.X, 0.0f);
  EXPECT_EQ(spike.Y, 0.0f);
  EXPECT_EQ(spike.VX, -4.0f);
  EXPECT_EQ(spike.VY, -4.0f);
  // The far edges hold it at the map's pixel size.
  StageObject& far = AddBouncingSpike(636, 476, 4, 4);
  PlayObjectPass();
  EXPECT_EQ(far.X, 640.0f);
  EXPECT_EQ(far.Y, 480.0f);
}

TEST_F(BouncingSpikeTest, BeyondTheMapCountsAsOpen) {
  // A wall in the last column rebounds from its right side, whose neighbour lies outside the map.
  SetCell(19, 5, Block);
  StageObject& spike = AddBouncingSpike(640, 164, -4, -4);
  PlayObjectPass();
  EXPECT_EQ(spike.X, 640.0f);
  EXPECT_EQ(spike.Y, 160.0f);
  EXPECT_EQ(spike.VX, 4.0f);
  // The same for the bottom side of a wall in the last row.
  SetUp();
  SetCell(5, 14, Block);
  StageObject& rising = AddBouncingSpike(164, 480, -4, -4);
  PlayObjectPass();
  EXPECT_EQ(rising.Y, 480.0f);
  EXPECT_EQ(rising.VY, 4.0f);
}

TEST_F(BouncingSpikeTest, FrozenItNeitherMovesNorKills) {
  StageObject& spike = AddBouncingSpike(160, 160);
  PutPlayer(160, 160);
  Play.Paused = 1;
  PlayObjectPass();
  EXPECT_EQ(spike.X, 160.0f);
  EXPECT_EQ(Play.DeadState, 0);
  Play.Paused = 0;
  PlayObjectPass();
  EXPECT_EQ(spike.X, 156.0f);
  EXPECT_EQ(Play.DeadState, 5);
  EXPECT_EQ(KillerKind, 0);
}

TEST_F(BouncingSpikeTest, NeverTouchesTheBalloonAndIgnoresOtherKinds) {
  StageObject& spike = AddBouncingSpike(160, 160);
  Play.BalloonState = 1;
  Play.BalloonX = 156;
  Play.BalloonY = 156;
  StageObject& odd = AddBouncingSpike(300, 300);
  odd.Kind = 72;  // State 5 but not the bouncing kind: skipped
  PlayObjectPass();
  EXPECT_EQ(Play.BalloonState, 1);
  EXPECT_EQ(spike.X, 156.0f);
  EXPECT_EQ(odd.X, 300.0f);
}

TEST_F(BouncingSpikeTest, CustomMapUsesItsOwnSize) {
  Play.PlaySource = 1;
  CustomStageIndex = 2;
  StageObject& spike = AddBouncingSpike(1916, 1436, 4, 4);
  PlayObjectPass();
  EXPECT_EQ(spike.X, 1920.0f);
  EXPECT_EQ(spike.Y, 1440.0f);
  CustomStageIndex = 0;
}
