#include "menu_fixture.h"

#include <vector>

using TitleTest = MenuTest;

TEST_F(TitleTest, EnterOpensTheMenuInTheSameCallWithoutConfirmingItemZero) {
  ASSERT_EQ(SceneId, 10);
  // Down held with Enter: the menu section of the same call sees it, so the menu really ran in this call.
  std::memset(KeyState, 0, sizeof KeyState);
  KeyState[KeyEnter] = 1;
  KeyState[KeyDown] = 1;
  UpdateMenuScenes();
  EXPECT_EQ(SceneId, 20);       // not 30: item 0 was not also chosen
  EXPECT_EQ(PrevKeyState[KeyEnter], 1);
  EXPECT_EQ(MenuCursor, 1);
  CopyKeyState();
  // Enter still held in the next frame is no new press.
  Frame({KeyEnter});
  EXPECT_EQ(SceneId, 20);
}

TEST_F(TitleTest, EnterDuringAFadeDoesNothing) {
  FadeActive = 1;
  Frame({KeyEnter});
  EXPECT_EQ(SceneId, 10);
}

TEST_F(TitleTest, RunnerJumpsOnTheVeryFirstFrame) {
  Frame({});
  EXPECT_FLOAT_EQ(RunnerVY, -4.0f);  // gravity of tick 0 first, then the jump of tick 0
  EXPECT_FLOAT_EQ(RunnerX, 636.0f);
  EXPECT_FLOAT_EQ(RunnerY, 320.0f);
  EXPECT_FLOAT_EQ(ChaserX, 1020.0f);
  EXPECT_FLOAT_EQ(ChaserVX, -4.25f);  // tick 0 is also a multiple of 240
  EXPECT_EQ(TitleTick, 1);
  Frame({});
  EXPECT_FLOAT_EQ(RunnerY, 316.0f);
  EXPECT_FLOAT_EQ(RunnerVY, -4.0f);
}

TEST_F(TitleTest, RunningFramesShowSevenTicksEach) {
  for (int i = 0; i < 6; ++i) Frame({});
  EXPECT_EQ(RunnerFrame, 0);
  Frame({});
  EXPECT_EQ(RunnerFrame, 1);
  for (int i = 0; i < 7 * 3; ++i) Frame({});
  EXPECT_EQ(RunnerFrame, 0);  // 3 wraps back to 0
}

// The chase of one direction until the catch, then the 120-frame caught pose and the restart.
TEST_F(TitleTest, CatchHoldsThePoseThenRestartsInTheOtherDirection) {
  struct Expected {
    int dirAfter;
    float runnerX, runnerSpeed, chaserVX;
  };
  const Expected rounds[] = {{1, -64.0f, -3.0f, -3.5f}, {0, 640.0f, -4.0f, -4.0f}, {1, -64.0f, -3.0f, -3.5f}};
  for (const Expected& round : rounds) {
    int frames = 0;
    while (Caught == 0 && frames < 20000) {
      Frame({});
      ++frames;
    }
    ASSERT_EQ(Caught, 1) << "no catch within 20000 frames";
    // The catch window held when it was tested (the chaser moved before the test, the runner did too).
    EXPECT_LT(ChaserX - 60, RunnerX);
    EXPECT_LT(RunnerX, ChaserX + 28);
    const float caughtX = RunnerX;
    for (int i = 0; i < 118; ++i) {
      Frame({});
      ASSERT_EQ(Caught, 1) << "released after " << i + 1 << " frames";
      ASSERT_FLOAT_EQ(RunnerX, caughtX);  // nobody moves while caught
    }
    Frame({});
    EXPECT_EQ(Caught, 0);
    EXPECT_EQ(RunnerDir, round.dirAfter);
    EXPECT_FLOAT_EQ(RunnerX, round.runnerX);
    EXPECT_FLOAT_EQ(RunnerSpeed, round.runnerSpeed);
    EXPECT_FLOAT_EQ(ChaserVX, round.chaserVX);
    EXPECT_FLOAT_EQ(ChaserX, 1024.0f);
    EXPECT_FLOAT_EQ(RunnerY, 320.0f);
    EXPECT_EQ(TitleTick, 0);  // -1, then the tick of the frame
    EXPECT_EQ(CaughtTimer, 0);
    EXPECT_EQ(RunnerFrame, 0);
  }
}

// A jump lasts 90 ticks, so the runner jumps at the first multiple of 60 (running left) or 50 (running
// right) on the ground: every 120 or every 100 ticks.
TEST_F(TitleTest, JumpsComeAtTheFirstMultipleOnTheGround) {
  struct Round {
    int dir;
    int period;
  };
  for (const Round& round : {Round{0, 120}, Round{1, 100}}) {
    SCOPED_TRACE(round.dir);
    while (RunnerDir != round.dir || Caught != 0) Frame({});
    std::vector<int> jumpTicks;
    while (Caught == 0) {
      const int tick = TitleTick;
      const float before = RunnerVY;
      Frame({});
      if (RunnerVY == -4.0f && before != -4.0f) jumpTicks.push_back(tick);
    }
    ASSERT_GE(jumpTicks.size(), 2u);
    for (size_t i = 0; i < jumpTicks.size(); ++i) EXPECT_EQ(jumpTicks[i], round.period * static_cast<int>(i));
  }
}
