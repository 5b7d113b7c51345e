#include <fstream>
#include <iterator>

#include "flow_fixture.h"

namespace {

class ScreensTest : public FlowTest {
 protected:
  std::string SaveFile() {
    std::ifstream in(SavePath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Dies on the fixture stage and lets the game over start.
  void DieAndStartGameOver() {
    Play.DeadState = 5;
    Flow();
    ASSERT_EQ(Play.PlayPhase, 1);
  }
};

TEST_F(ScreensTest, RAndSInTheSameFrameBothAct) {
  StartStage(PlayableMap());
  Play.PlayerX = 300;
  DieAndStartGameOver();
  Flow({KeyR, KeyS});
  EXPECT_EQ(Play.PlayPhase, 0);
  EXPECT_EQ(Play.DeadState, 0);
  EXPECT_EQ(BloodState, 0);
  EXPECT_EQ(Play.PlayerX, 72.0f);  // back at the start
  EXPECT_EQ(SceneId, 102);
}

TEST_F(ScreensTest, RestartDoesNotLookAtSceneIdButSDoes) {
  StartStage(PlayableMap());
  DieAndStartGameOver();
  SceneId = 102;  // a scene change already requested in this frame
  Hold({KeyR, KeyS});
  InPlayFlow();
  EXPECT_EQ(Play.PlayPhase, 0);
  EXPECT_EQ(PrevKeyState[KeyR], 1);
  EXPECT_EQ(PrevKeyState[KeyS], 0);
  EXPECT_EQ(SceneId, 102);
}

TEST_F(ScreensTest, GameOverKeysNeedAFreshPress) {
  StartStage(PlayableMap());
  Flow({KeyR});  // R held while still alive does nothing
  Play.DeadState = 5;
  Flow({KeyR});  // still held in the frame of the death: not a new press
  EXPECT_EQ(Play.PlayPhase, 1);
  Flow({KeyR});
  EXPECT_EQ(Play.PlayPhase, 1);
  Flow({});
  Flow({KeyR});
  EXPECT_EQ(Play.PlayPhase, 0);
}

TEST_F(ScreensTest, RPressedInTheFrameOfTheDeathRestartsAtOnce) {
  StartStage(PlayableMap());
  Play.DeadState = 5;
  Flow({KeyR});
  EXPECT_EQ(Play.PlayPhase, 0);
  EXPECT_EQ(Play.DeadState, 0);
}

TEST_F(ScreensTest, SOnTheGameOverOfACustomStageLeadsToTheCustomSelect) {
  Play.PlaySource = 1;
  DieAndStartGameOver();
  Flow({KeyS});
  EXPECT_EQ(SceneId, 103);
  EXPECT_EQ(Play.PlayPhase, 1);
}

TEST_F(ScreensTest, ClearingStageFiveUnlocksSixAndWritesTheSaveFile) {
  for (int i = 0; i < 5; ++i) StageUnlocked[i] = 1;
  SelectedStage = 5;
  Play.GoalReached = 1;
  Flow();
  EXPECT_EQ(Play.GoalReached, 2);
  EXPECT_EQ(SelectedStage, 6);
  EXPECT_EQ(StageUnlocked[5], 1);
  EXPECT_EQ(StageUnlocked[6], 0);
  const std::string file = SaveFile();
  ASSERT_EQ(file.size(), 46u);
  EXPECT_EQ(file.substr(0, 8), "SAVEPLV0");
  EXPECT_EQ(file[10 + 5], 1);
  EXPECT_EQ(file[10 + 6], 0);
  Flow({KeyZ});
  EXPECT_EQ(SceneId, 101);
  EXPECT_EQ(PrevKeyState[KeyZ], 1);
}

TEST_F(ScreensTest, ClearingAnEarlierStageAgainChangesNoUnlockButWrites) {
  for (int i = 0; i < 10; ++i) StageUnlocked[i] = 1;
  uint8_t before[32];
  std::memcpy(before, StageUnlocked, sizeof before);
  SelectedStage = 3;
  Play.GoalReached = 1;
  Flow();
  EXPECT_EQ(SelectedStage, 4);
  EXPECT_EQ(std::memcmp(before, StageUnlocked, sizeof before), 0);
  EXPECT_EQ(SaveFile().size(), 46u);
  Flow({KeyS});
  EXPECT_EQ(SceneId, 102);
}

TEST_F(ScreensTest, ClearingStageThirtyLeadsOnlyToTheCredits) {
  SelectedStage = 30;
  Play.GoalReached = 1;
  Flow();
  EXPECT_EQ(SelectedStage, 30);
  EXPECT_EQ(AllStagesCleared, 1);
  EXPECT_EQ(SaveFile().size(), 46u);
  Flow({KeyS});
  EXPECT_EQ(SceneId, 100);
  EXPECT_EQ(PrevKeyState[KeyS], 1);  // only the end-of-frame copy; the press itself was not taken
  Flow({});
  Flow({KeyZ});
  EXPECT_EQ(SceneId, 104);
}

TEST_F(ScreensTest, ACustomClearKeepsNoProgressAndOnlySWorks) {
  Play.PlaySource = 1;
  SelectedStage = 5;
  Play.GoalReached = 1;
  Flow();
  EXPECT_EQ(Play.GoalReached, 2);
  EXPECT_EQ(SelectedStage, 5);
  EXPECT_FALSE(std::filesystem::exists(SavePath));
  Flow({KeyZ});
  EXPECT_EQ(SceneId, 100);
  Flow({KeyS});
  EXPECT_EQ(SceneId, 103);
}

TEST_F(ScreensTest, TabOnTheFrameOfTheGoalIsRefused) {
  Play.GoalReached = 1;
  Flow({KeyTab});
  EXPECT_EQ(Play.Paused, 0);
  EXPECT_EQ(Play.GoalReached, 2);
}

TEST_F(ScreensTest, TabIsIgnoredOnTheGameOverAndDuringAFade) {
  Play.PlayPhase = 1;
  Flow({KeyTab});
  EXPECT_EQ(Play.Paused, 0);
  Play.PlayPhase = 0;
  Flow({});
  FadeActive = 1;
  Flow({KeyTab});
  EXPECT_EQ(Play.Paused, 0);
}

TEST_F(ScreensTest, HoldingTabDoesNotFlicker) {
  Flow({KeyTab});
  EXPECT_EQ(Play.Paused, 1);
  EXPECT_EQ(PrevKeyState[KeyTab], 1);
  for (int frame = 0; frame < 10; ++frame) {
    Flow({KeyTab});
    ASSERT_EQ(Play.Paused, 1);
  }
  Flow({});
  Flow({KeyTab});
  EXPECT_EQ(Play.Paused, 0);
}

TEST_F(ScreensTest, SOnThePauseScreenLeavesAndDIsNotAlsoTaken) {
  Flow({KeyTab});
  Flow({KeyS, KeyD});
  EXPECT_EQ(SceneId, 102);
  EXPECT_EQ(Play.Paused, 1);
  EXPECT_EQ(Play.DeadState, 0);
}

TEST_F(ScreensTest, DOnThePauseScreenGivesUpAndRBringsHerBackWithoutTheBalloon) {
  FmfMap map = PlayableMap();
  map.At(10, 13) = SaveBlock1;
  StartStage(map);
  Frame();
  Play.BalloonState = 1;
  Play.BalloonTimer = 600;
  Frame({KeyTab});
  ASSERT_EQ(Play.Paused, 1);
  Frame({});
  Frame({KeyD});
  EXPECT_EQ(Play.Paused, 0);
  EXPECT_EQ(Play.DeadState, 5);
  EXPECT_EQ(Play.PlayPhase, 0);  // the game over starts only in the next frame
  Frame({});
  EXPECT_EQ(Play.PlayPhase, 1);
  EXPECT_EQ(BloodState, 2);
  Frame({KeyR});
  EXPECT_EQ(Play.PlayPhase, 0);
  EXPECT_EQ(Play.DeadState, 0);
  EXPECT_EQ(Play.BalloonState, 0);
  EXPECT_EQ(Play.PlayerX, 72.0f);
  EXPECT_EQ(Play.PlayerY, 416.0f);
}

}  // namespace
