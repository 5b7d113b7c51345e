// The frame routines against a clock the test drives: due times, overruns, re-anchoring, the 31-bit wrap.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <vector>

#include "media/media.h"
#include "media/testing.h"

namespace {

// Microseconds of fake time; every read of the tick counter moves it on a little, as a spin loop would.
int64_t Micros = 0;
int BaseMs = 0;

int FakeNowMs() { return static_cast<int>((static_cast<int64_t>(BaseMs) + Micros / 1000) & 0x7FFFFFFF); }
int64_t FakeNowTicks() { return Micros += 5; }
int64_t FakeMsToTicks(int ms) { return static_cast<int64_t>(ms) * 1000; }
void FakeSleepMs(int ms) { Micros += static_cast<int64_t>(ms) * 1000; }

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Micros = 0;
    BaseMs = 1000;
    ClockHooks hooks;
    hooks.nowMs = FakeNowMs;
    hooks.nowTicks = FakeNowTicks;
    hooks.msToTicks = FakeMsToTicks;
    hooks.sleepMs = FakeSleepMs;
    SetClockHooks(hooks);
    FpsFrameCount = 0;
    FpsWindowStart = 0;
    MeasuredFps = 0;
  }
  void TearDown() override { SetClockHooks(ClockHooks{}); }

  // Runs frames whose work takes workMs[i] milliseconds; returns each frame's start in fake microseconds.
  static std::vector<int64_t> RunFrames(const std::vector<int>& workMs) {
    std::vector<int64_t> starts;
    for (int work : workMs) {
      starts.push_back(Micros);
      MeasureFps();
      Micros += static_cast<int64_t>(work) * 1000;
      WaitFrameDue();
    }
    return starts;
  }
};

TEST_F(FrameTest, FramesStartAtTheirDueTimes) {
  std::vector<int64_t> starts = RunFrames(std::vector<int>(121, 3));
  // Frame k of the window is due k * 1000 / 60 ms after the window start.
  for (int k = 1; k < 60; ++k) {
    int64_t due = starts[0] + static_cast<int64_t>(k * 1000 / 60) * 1000;
    EXPECT_GE(starts[k], due) << k;
    EXPECT_LE(starts[k], due + 1000) << k;
  }
  EXPECT_NEAR(static_cast<double>(starts[120] - starts[0]), 2'000'000.0, 2000.0);
  EXPECT_NEAR(MeasuredFps, 60.0f, 0.1f);
  EXPECT_EQ(FpsFrameCount, 1);
}

TEST_F(FrameTest, OverrunCatchesUpInItsWindowAndIsNotCarriedFurther) {
  std::vector<int> work(130, 2);
  work[10] = 60;  // frame 11 of the first window overruns by more than three slots
  std::vector<int64_t> starts = RunFrames(work);
  int64_t late = starts[11];
  EXPECT_GE(late - starts[10], 60'000);
  // The next frames run without waiting until the fixed due times are reached again.
  EXPECT_LT(starts[12] - starts[11], 3'000);
  EXPECT_LT(starts[13] - starts[12], 3'000);
  int64_t due15 = starts[0] + static_cast<int64_t>(15 * 1000 / 60) * 1000;
  EXPECT_GE(starts[15], due15);
  EXPECT_LE(starts[15], due15 + 1000);
  // The whole first window still lasts one second; the second one is anchored afresh.
  EXPECT_NEAR(static_cast<double>(starts[60] - starts[0]), 1'000'000.0, 1500.0);
  for (int k = 61; k < 120; ++k) {
    int64_t due = starts[60] + static_cast<int64_t>((k - 60) * 1000 / 60) * 1000;
    EXPECT_GE(starts[k], due) << k;
    EXPECT_LE(starts[k], due + 1000) << k;
  }
}

TEST_F(FrameTest, LateWindowStartIsReanchoredWithoutCarryingDelay) {
  std::vector<int> work(61, 2);
  work[59] = 100;  // the last frame of the window overruns badly
  std::vector<int64_t> starts = RunFrames(work);
  std::vector<int64_t> next = RunFrames(std::vector<int>(3, 2));
  // The new window starts at the late frame and paces from there.
  EXPECT_NEAR(static_cast<double>(next[1] - next[0]), 16'000.0, 1500.0);
  EXPECT_GT(MeasuredFps, 0.0f);
  EXPECT_LT(MeasuredFps, 60.0f);
}

TEST_F(FrameTest, ClockWrapInsideAWindow) {
  BaseMs = 0x7FFFFFFF - 300;  // NowMs wraps to 0 about 300 ms into the first window
  std::vector<int64_t> starts = RunFrames(std::vector<int>(121, 3));
  for (size_t k = 1; k < starts.size(); ++k) {
    int64_t step = starts[k] - starts[k - 1];
    EXPECT_GE(step, 15'000) << k;
    EXPECT_LE(step, 18'000) << k;
  }
  EXPECT_NEAR(MeasuredFps, 60.0f, 0.1f);
}

TEST_F(FrameTest, StartAheadOfTheClockNeverWaitsMoreThanAFrame) {
  MeasureFps();
  FpsWindowStart = FakeNowMs() + 5000;  // a start in the future: the difference is negative
  int64_t before = Micros;
  WaitFrameDue();
  EXPECT_LE(Micros - before, 17'500);
  // The measured rate never goes negative either.
  FpsFrameCount = 60;
  FpsWindowStart = FakeNowMs() + 5000;
  MeasuredFps = 59.0f;
  MeasureFps();
  EXPECT_FLOAT_EQ(MeasuredFps, 59.0f);
  EXPECT_EQ(FpsFrameCount, 1);
}

TEST_F(FrameTest, WindowClosedWhileWaitingReturnsAtOnce) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  MeasureFps();
  int64_t before = Micros;
  WaitFrameDue();
  EXPECT_LT(Micros - before, 2'000);
  SDL_QuitSubSystem(SDL_INIT_EVENTS);
  // A fresh start of the media layer forgets the close.
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_EQ(InitMedia(), 0);
  EXPECT_EQ(PumpMessages(), 0);
  EndMedia();
}

TEST(Random, MersenneTwisterKnownAnswers) {
  SeedRandom(5489);
  EXPECT_EQ(Random(), 3499211612u);
  for (int i = 2; i < 10000; ++i) Random();
  EXPECT_EQ(Random(), 4123659995u);
  SeedRandom(5489);
  EXPECT_EQ(Random(), 3499211612u);
}

TEST(Clock, RealClockIsThirtyOneBitsAndTicksConvert) {
  SetClockHooks(ClockHooks{});
  int ms = NowMs();
  EXPECT_GE(ms, 0);
  EXPECT_GT(MsToTicks(1000), 0);
  EXPECT_EQ(MsToTicks(0), 0);
  int64_t t0 = NowTicks();
  SleepMs(2);
  EXPECT_GE(NowTicks() - t0, MsToTicks(1));
}

}  // namespace
