#include <gtest/gtest.h>

#include <vector>

#include "girl_fixture.h"

namespace {

// The control step alone, on an empty map (no collision): what the keys and the physics do per frame. Each
// frame starts with the player in the middle of the screen, so that no screen scroll freezes her.
class Control : public GirlTest {
 protected:
  static constexpr float Mid = 300.0f;
  void Frame(std::initializer_list<int> keys = {}) {
    std::memset(KeyState, 0, sizeof KeyState);
    for (int k : keys) KeyState[k] = 1;
    Play.PlayerX = Mid;
    Play.PlayerY = Mid;
    ControlPlayer();
  }
};

TEST_F(Control, LeftFromRestAndTheTopSpeed) {
  Frame({KeyLeft});
  EXPECT_EQ(Play.PlayerVX, -0.95f * 0.8f);
  EXPECT_EQ(Play.PlayerX, Mid + -0.76f);
  EXPECT_EQ(Play.PlayerFacing, 0);
  for (int i = 0; i < 10; ++i) Frame({KeyLeft});
  EXPECT_EQ(Play.PlayerVX, -1.6f);
  // Released, the speed decays by 0.8 a frame, in single precision.
  float expected = -1.6f;
  for (int i = 0; i < 10; ++i) {
    Frame();
    expected *= 0.8f;
    EXPECT_EQ(Play.PlayerVX, expected);
  }
}

TEST_F(Control, BothArrowsCancelAndFaceRight) {
  Frame({KeyLeft, KeyRight});
  EXPECT_EQ(Play.PlayerVX, 0.0f);
  EXPECT_EQ(Play.PlayerFacing, 1);
}

TEST_F(Control, TheWalkFrameChangesEveryFiveFramesAtFullSpeed) {
  for (int i = 0; i < 30; ++i) Frame({KeyRight});
  ASSERT_EQ(Play.PlayerVX, 1.6f);
  std::vector<int> changes;
  int last = Play.PlayerWalkFrame;
  for (int i = 0; i < 40; ++i) {
    Frame({KeyRight});
    if (Play.PlayerWalkFrame != last) changes.push_back(i);
    last = Play.PlayerWalkFrame;
  }
  ASSERT_GE(changes.size(), 7u);
  for (size_t i = 1; i < changes.size(); ++i) EXPECT_EQ(changes[i] - changes[i - 1], 5);
}

TEST_F(Control, GravityAndTheFallLimit) {
  Play.PlayerAirborne = 0;
  Frame();
  EXPECT_EQ(Play.PlayerVY, 0.125f);
  EXPECT_EQ(Play.PlayerAirborne, 1);  // walking off a ledge
  for (int i = 0; i < 60; ++i) Frame();
  EXPECT_EQ(Play.PlayerVY, 4.3f);
}

TEST_F(Control, AJumpNeedsTheGroundAFreshPressAndNoIce) {
  Frame({KeyZ});
  EXPECT_EQ(Play.PlayerVY, -4.3f + 0.125f);
  EXPECT_EQ(Play.PlayerAirborne, 1);
  Play.PlayerAirborne = 0;  // landed while Z stays held
  Frame({KeyZ});
  EXPECT_EQ(Play.PlayerVY, (-4.3f + 0.125f) + 0.125f);
  SetUp();
  Play.PlayerOnIce = 1;
  Frame({KeyZ});
  EXPECT_EQ(Play.PlayerVY, 0.125f);
  EXPECT_EQ(Play.PlayerOnIce, 0);  // cleared at the end of every control step
}

TEST_F(Control, WithACountBalloonEveryPressLiftsAgain) {
  Play.BalloonState = 1;
  Play.BalloonTimer = 2159;
  Play.PlayerAirborne = 1;  // in mid-air
  Frame();                  // carrying the balloon makes a jump possible again
  for (int press = 0; press < 3; ++press) {
    Frame({KeyZ});
    EXPECT_EQ(Play.PlayerVY, -1.4f + 0.03125f);
    EXPECT_EQ(Play.PlayerAirborne, 0);
    Frame();
  }
  for (int i = 0; i < 200; ++i) Frame();
  EXPECT_EQ(Play.PlayerVY, 1.4f);
  EXPECT_EQ(Play.BalloonX, Play.PlayerX - 8.0f);
}

TEST_F(Control, ACountBalloonRunsOutAfterItsFramesWithoutABurst) {
  Play.BalloonState = 1;
  Play.BalloonTimer = 359;
  for (int i = 0; i < 358; ++i) Frame();
  EXPECT_EQ(Play.BalloonState, 1);
  EXPECT_EQ(Play.BalloonTimer, 1);
  Frame();
  EXPECT_EQ(Play.BalloonState, 0);
  EXPECT_EQ(Play.BalloonTimer, 0);
}

TEST_F(Control, TheBurstAnimationLastsSixtyFrames) {
  Play.BalloonState = 2;
  Play.BalloonTimer = 0;
  for (int i = 0; i < 59; ++i) Frame();
  EXPECT_EQ(Play.BalloonState, 2);
  Frame();
  EXPECT_EQ(Play.BalloonState, 0);
  EXPECT_EQ(Play.BalloonTimer, 0);
}

TEST_F(Control, FrozenPlayersAndBalloonsStandStill) {
  int* const freezers[] = {&Play.GoalReached, &Play.Paused, &FadeActive};
  for (int* freezer : freezers) {
    SetUp();
    *freezer = 1;
    Play.PlayerVX = 1;
    Play.BalloonState = 1;
    Play.BalloonTimer = 100;
    Frame({KeyLeft, KeyZ});
    EXPECT_EQ(Play.PlayerX, Mid);
    EXPECT_EQ(Play.PlayerY, Mid);
    EXPECT_EQ(Play.PlayerVX, 1.0f);
    EXPECT_EQ(Play.PlayerVY, 0.0f);
    EXPECT_EQ(Play.BalloonTimer, 100);
    EXPECT_EQ(Play.JumpKeyWasDown, 0);
    *freezer = 0;
  }
  SetUp();
  Play.BalloonState = 2;
  Play.BalloonTimer = 10;
  Play.Paused = 1;
  Frame();
  EXPECT_EQ(Play.BalloonTimer, 10);
}

TEST_F(Control, OnTheGameOverScreenNothingMoves) {
  Play.PlayPhase = 1;
  Play.PlayerVX = 1;
  Play.PlayerVY = 2;
  Play.BalloonState = 1;
  Play.BalloonTimer = 100;
  Frame({KeyRight, KeyZ});
  EXPECT_EQ(Play.PlayerX, Mid);
  EXPECT_EQ(Play.PlayerVX, 1.0f);
  EXPECT_EQ(Play.PlayerVY, 2.0f);
  EXPECT_EQ(Play.BalloonTimer, 100);
}

}  // namespace
