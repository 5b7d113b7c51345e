#include "objects_fixture.h"

using TrapSpikeTest = ObjectPassTest;

TEST_F(TrapSpikeTest, ShootingRightStopsFlushAgainstTheBlock) {
  SetCell(5, 2, Block);
  StageObject& spike = AddTrapSpike(TrapPart(1, 0, DirRight), 96, 64, TrapShooting);
  for (float expected : {104.0f, 112.0f, 120.0f, 128.0f}) {
    PlayObjectPass();
    EXPECT_EQ(spike.X, expected);
    EXPECT_EQ(spike.State, TrapShooting);
  }
  PlayObjectPass();  // at 136 the right edge reaches column 5
  EXPECT_EQ(spike.X, 128.0f);
  EXPECT_EQ(spike.Y, 64.0f);
  EXPECT_EQ(spike.State, TrapStopped);
  PlayObjectPass();
  EXPECT_EQ(spike.X, 128.0f);
}

// Moved back out of the Block by the left probe, it stays in its row: the bottom probe reads the column of the
// corrected x.
TEST_F(TrapSpikeTest, ShootingLeftStopsFlushAgainstTheBlockInItsOwnRow) {
  SetCell(2, 2, Block);
  StageObject& spike = AddTrapSpike(TrapPart(1, 0, DirLeft), 128, 64, TrapShooting);
  for (float expected : {120.0f, 112.0f, 104.0f, 96.0f}) {
    PlayObjectPass();
    EXPECT_EQ(spike.X, expected);
    EXPECT_EQ(spike.State, TrapShooting);
  }
  PlayObjectPass();  // at 88 the left edge reaches column 2
  EXPECT_EQ(spike.X, 96.0f);
  EXPECT_EQ(spike.Y, 64.0f);
  EXPECT_EQ(spike.State, TrapStopped);
}

TEST_F(TrapSpikeTest, FastDownSpikeStopsAboveTheBlockRow) {
  SetCell(3, 9, Block);
  StageObject& spike = AddTrapSpike(TrapPart(1, 1, DirDown), 96, 64, TrapShooting);
  for (int frame = 1; frame <= 16; ++frame) {
    PlayObjectPass();
    ASSERT_EQ(spike.Y, 64.0f + 12 * frame);
    ASSERT_EQ(spike.State, TrapShooting);
  }
  PlayObjectPass();  // 268: the bottom edge (299) is in row 9
  EXPECT_EQ(spike.Y, 256.0f);
  EXPECT_EQ(spike.State, TrapStopped);
}

TEST_F(TrapSpikeTest, OnlyBlockStopsIt) {
  SetCell(5, 2, IceBlock);
  SetCell(6, 2, InvisibleBlock);
  SetCell(7, 2, BreakableBlock);
  SetCell(8, 2, SaveBlock1);
  StageObject& spike = AddTrapSpike(TrapPart(1, 0, DirRight), 128, 64, TrapShooting);
  for (int frame = 0; frame < 20; ++frame) PlayObjectPass();
  EXPECT_EQ(spike.X, 128.0f + 160);
  EXPECT_EQ(spike.State, TrapShooting);
}

TEST_F(TrapSpikeTest, LeavingTheMapItReadsTheEdgeColumnAndFliesOn) {
  StageObject& spike = AddTrapSpike(TrapPart(2, 0, DirLeft), 64, 64, TrapShooting);
  for (int frame = 0; frame < 200; ++frame) PlayObjectPass();
  EXPECT_EQ(spike.X, 64.0f - 8 * 200);
  EXPECT_EQ(spike.State, TrapShooting);
  // A Block in the edge column holds it beyond the edge, flush with the clamped cell.
  SetCell(0, 2, Block);
  PlayObjectPass();
  EXPECT_EQ(spike.X, 32.0f);
  EXPECT_EQ(spike.Y, 64.0f);
  EXPECT_EQ(spike.State, TrapStopped);
}

TEST_F(TrapSpikeTest, PausedSpikeHangsAndGoesOnAfterwards) {
  StageObject& spike = AddTrapSpike(TrapPart(1, 0, DirRight), 96, 64, TrapShooting);
  PlayObjectPass();
  Play.Paused = 1;
  for (int frame = 0; frame < 5; ++frame) PlayObjectPass();
  EXPECT_EQ(spike.X, 104.0f);
  Play.Paused = 0;
  PlayObjectPass();
  EXPECT_EQ(spike.X, 112.0f);
}

TEST_F(TrapSpikeTest, EveryFreezeStopsAShootingSpike) {
  int* flags[] = {&Play.PlayPhase, &Play.GoalReached, &FadeActive, &Play.Paused, &Play.ScrollState};
  for (int* flag : flags) {
    SetUp();
    StageObject& spike = AddTrapSpike(TrapPart(1, 0, DirRight), 96, 64, TrapShooting);
    *flag = 1;
    PlayObjectPass();
    EXPECT_EQ(spike.X, 96.0f);
    *flag = 0;
  }
}

// Player tests against a spike with its corner at (320, 96). Code is DeadState right after the spike's step
// (before the pass folds it into 5).
struct PlayerCase {
  const char* name;
  int dir;
  float px, py;
  int code;
  float afterX, afterY;
};

class TrapPlayerTest : public ObjectPassTest, public ::testing::WithParamInterface<PlayerCase> {};

TEST_P(TrapPlayerTest, WindowsAndResponses) {
  const PlayerCase& c = GetParam();
  StageObject& spike = AddTrapSpike(TrapPart(3, 0, c.dir), 320, 96);
  PutPlayer(c.px, c.py);
  Play.PlayerVX = 1.5f;
  Play.PlayerVY = 2.0f;
  Play.PlayerAirborne = 1;
  TrapSpikeStep(spike, false);
  EXPECT_EQ(Play.DeadState, c.code);
  EXPECT_EQ(KillerKind, c.code != 0 ? spike.Kind : 0);
  EXPECT_EQ(Play.PlayerX, c.afterX);
  EXPECT_EQ(Play.PlayerY, c.afterY);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrapPlayerTest,
    ::testing::Values(
        // Left-pointing: the point kills, the back pushes out to the right.
        PlayerCase{"LeftPoint", DirLeft, 306, 96, 1, 306, 96},
        PlayerCase{"LeftBackPushes", DirLeft, 340, 96, 0, 352, 96},
        PlayerCase{"LeftPointEdge", DirLeft, 304, 96, 1, 304, 96},
        PlayerCase{"LeftFromAbove", DirLeft, 320, 66, 1, 320, 66},
        PlayerCase{"LeftFromBelow", DirLeft, 320, 124, 1, 320, 124},
        PlayerCase{"LeftOutsideLevel", DirLeft, 306, 122, 0, 306, 122},
        // Right-pointing: strict windows, a gap between back and point.
        PlayerCase{"RightGapNoPushNoKill", DirRight, 330, 96, 0, 330, 96},
        PlayerCase{"RightAtCornerNothing", DirRight, 320, 96, 0, 320, 96},
        PlayerCase{"RightAtSixteenNothing", DirRight, 336, 96, 0, 336, 96},
        PlayerCase{"RightPointKills", DirRight, 340, 96, 2, 340, 96},
        PlayerCase{"RightBackPushes", DirRight, 310, 96, 0, 304, 96},
        // Up-pointing: the point kills with 3, the back bumps, the flanks kill with 1.
        PlayerCase{"UpPoint", DirUp, 320, 70, 3, 320, 70},
        PlayerCase{"UpPointTopEdge", DirUp, 320, 68, 3, 320, 68},
        PlayerCase{"UpPointBottomEdge", DirUp, 320, 84, 3, 320, 84},
        PlayerCase{"UpBackBumps", DirUp, 320, 120, 0, 320, 128},
        PlayerCase{"UpLeftFlank", DirUp, 306, 96, 1, 306, 96},
        PlayerCase{"UpRightFlank", DirUp, 350, 96, 1, 350, 96},
        PlayerCase{"UpBesideFlankStrip", DirUp, 309, 96, 0, 309, 96},
        // Down-pointing: the back carries her, the point kills with 4.
        PlayerCase{"DownLands", DirDown, 320, 70, 0, 320, 64},
        PlayerCase{"DownPoint", DirDown, 320, 110, 4, 320, 110},
        PlayerCase{"DownPointEdge", DirDown, 320, 108, 4, 320, 108},
        PlayerCase{"DownLeftFlank", DirDown, 306, 96, 1, 306, 96}),
    [](const ::testing::TestParamInfo<PlayerCase>& info) { return info.param.name; });

TEST_F(TrapSpikeTest, ResponsesSetVelocityAndFooting) {
  StageObject& down = AddTrapSpike(TrapPart(1, 0, DirDown), 320, 96);
  PutPlayer(320, 70);
  Play.PlayerVY = 3;
  Play.PlayerAirborne = 1;
  PlayObjectPass();
  EXPECT_EQ(Play.PlayerY, 64.0f);
  EXPECT_EQ(Play.PlayerVY, 0.0f);
  EXPECT_EQ(Play.PlayerAirborne, 0);
  EXPECT_EQ(Play.DeadState, 0);
  down.Dir = DirUp;
  PutPlayer(320, 120);
  Play.PlayerVY = -3;
  PlayObjectPass();
  EXPECT_EQ(Play.PlayerY, 128.0f);
  EXPECT_EQ(Play.PlayerVY, 0.5f);
  EXPECT_EQ(Play.PlayerAirborne, 1);
  down.Dir = DirLeft;
  PutPlayer(340, 96);
  Play.PlayerVX = -1.6f;
  PlayObjectPass();
  EXPECT_EQ(Play.PlayerX, 352.0f);
  EXPECT_EQ(Play.PlayerVX, 0.0f);
}

TEST_F(TrapSpikeTest, KillIsFoldedIntoFiveAndRecordsTheKind) {
  AddTrapSpike(TrapPart(2, 0, DirLeft), 320, 96);
  PutPlayer(306, 96);
  PlayObjectPass();
  EXPECT_EQ(Play.DeadState, 5);
  EXPECT_EQ(KillerKind, TrapPart(2, 0, DirLeft) - 19);
}

TEST_F(TrapSpikeTest, ADeadPlayerIsNeitherPushedNorKilledAgainButTheBalloonStillBursts) {
  AddTrapSpike(TrapPart(1, 0, DirLeft), 320, 96);
  PutPlayer(340, 96);
  Play.DeadState = 1;  // a fixed spike earlier in the frame
  Play.BalloonState = 1;
  Play.BalloonTimer = 300;
  Play.BalloonX = 300;  // on the point side
  Play.BalloonY = 96;
  PlayObjectPass();
  EXPECT_EQ(Play.PlayerX, 340.0f);
  EXPECT_EQ(KillerKind, 0);
  EXPECT_EQ(Play.DeadState, 5);
  EXPECT_EQ(Play.BalloonState, 2);
  EXPECT_EQ(Play.BalloonTimer, 0);
}

TEST_F(TrapSpikeTest, TheBalloonOnTheBackOfADownSpikeCarriesThePlayer) {
  AddTrapSpike(TrapPart(1, 0, DirDown), 320, 96);
  Play.BalloonState = 1;
  Play.BalloonTimer = 300;
  Play.BalloonX = 312;
  Play.BalloonY = 70;
  PutPlayer(320, 118);
  Play.PlayerVY = 1.4f;
  PlayObjectPass();
  EXPECT_EQ(Play.PlayerY, 112.0f);
  EXPECT_EQ(Play.PlayerVY, 0.0f);
  EXPECT_EQ(Play.BalloonState, 1);
  EXPECT_EQ(Play.BalloonX, 312.0f);  // the balloon itself is never moved here
  EXPECT_EQ(Play.BalloonY, 70.0f);
}

TEST_F(TrapSpikeTest, OnceBurstLaterSpikesSkipTheBalloon) {
  AddTrapSpike(TrapPart(1, 0, DirLeft), 320, 96);   // bursts it: balloon on its point side
  AddTrapSpike(TrapPart(1, 0, DirRight), 272, 96);  // would push the player to X - 24 = 248
  Play.BalloonState = 1;
  Play.BalloonX = 300;
  Play.BalloonY = 96;
  PutPlayer(100, 300);
  PlayObjectPass();
  EXPECT_EQ(Play.BalloonState, 2);
  EXPECT_EQ(Play.PlayerX, 100.0f);
}

TEST_F(TrapSpikeTest, KillFromBelowNudgesEverySpikeOfThatKind) {
  const int part = TrapPart(4, 0, DirDown);
  StageObject& killer = AddTrapSpike(part, 320, 96);
  StageObject& twinFar = AddTrapSpike(part, 64, 32);
  StageObject& twinOverBlock = AddTrapSpike(part, 160, 224);
  StageObject& other = AddTrapSpike(TrapPart(4, 1, DirDown), 96, 32);
  SetCell(5, 8, Block);  // 10 pixels down puts the bottom edge of twinOverBlock into row 8
  PutPlayer(320, 110);
  PlayObjectPass();
  EXPECT_EQ(Play.DeadState, 5);
  EXPECT_EQ(KillerKind, killer.Kind);
  EXPECT_EQ(killer.Y, 106.0f);
  EXPECT_EQ(killer.State, TrapWaiting);
  EXPECT_EQ(twinFar.Y, 42.0f);
  EXPECT_EQ(twinOverBlock.Y, 224.0f);
  EXPECT_EQ(twinOverBlock.State, TrapStopped);
  EXPECT_EQ(other.Y, 32.0f);
  // Only in the frame of the kill.
  PlayObjectPass();
  EXPECT_EQ(killer.Y, 106.0f);
  EXPECT_EQ(twinFar.Y, 42.0f);
}

TEST_F(TrapSpikeTest, KillByAnUpPointNudgesUpward) {
  StageObject& spike = AddTrapSpike(TrapPart(1, 0, DirUp), 320, 96);
  PutPlayer(320, 70);
  PlayObjectPass();
  EXPECT_EQ(spike.Y, 86.0f);
  EXPECT_EQ(Play.DeadState, 5);
}

TEST_F(TrapSpikeTest, StaticKillWithoutObjectsIsStillFolded) {
  Play.DeadState = 1;
  PlayObjectPass();
  EXPECT_EQ(Play.DeadState, 5);
}

TEST_F(TrapSpikeTest, UnknownStatesAreSkipped) {
  StageObject& spike = AddTrapSpike(TrapPart(1, 0, DirRight), 96, 64, 6);
  PutPlayer(110, 64);
  PlayObjectPass();
  EXPECT_EQ(spike.X, 96.0f);
  EXPECT_EQ(Play.DeadState, 0);
}
