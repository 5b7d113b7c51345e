#include <gtest/gtest.h>

#include "../stage/stage_files.h"
#include "girl_fixture.h"
#include "play/stage_start.h"
#include "stage/custom_stage.h"

namespace {

// Stage starts and the restart from the last save, on a fixture file read through the loader.
class StageStart : public StageFilesTest {
 protected:
  std::string Fmf;
  void SetUp() override {
    StageFilesTest::SetUp();
    SceneId = 100;
    AllStagesCleared = 1;
    BackgroundNo = 0;
    SelectedStage = 4;
    Play.SavedKeyHeld1 = Play.SavedKeyHeld2 = Play.SavedKeyHeld3 = 0;
  }
  // Two screens wide: start at (2, 13), save block 2 at (5, 10) on the first screen, its restart point at
  // (25, 13) on the second, a breakable block, a key and a count balloon.
  void WriteStage() {
    FmfMap map = PlayableMap(40, 15);
    map.At(5, 10) = 6;
    map.At(25, 13) = 85;
    map.At(8, 10) = 188;
    map.At(10, 13) = 93;
    map.At(12, 13) = 184;
    map.At(30, 5) = 20;
    Fmf = Write("s.fmf", FmfBytes(map));
    static std::string path;
    path = Fmf;
    StageFmfOverride = path.c_str();
  }
  static uint8_t& Cell(int c, int r) { return StageMap[c * 45 + r]; }
};

TEST_F(StageStart, ABuiltinStartResetsPlayAndSetsTheRespawnToTheStart) {
  WriteStage();
  Play.PlayerVX = 3;
  Play.GoalReached = 2;
  Play.DeadState = 5;
  Play.PlayerFacing = 1;
  Play.KeyHeld2 = 1;
  Play.LockOpenedThisFrame = 1;
  Play.BalloonState = 1;
  Play.BalloonTimer = 40;
  Play.SavedKeyHeld3 = 1;
  KillerKind = 7;
  BloodState = 2;
  StartBuiltinStage();
  EXPECT_EQ(Play.PlayerVX, 0.0f);
  EXPECT_EQ(Play.GoalReached, 0);
  EXPECT_EQ(Play.DeadState, 0);
  EXPECT_EQ(Play.PlayerFacing, 0);
  EXPECT_EQ(Play.KeyHeld2, 0);
  EXPECT_EQ(Play.LockOpenedThisFrame, 0);
  EXPECT_EQ(Play.BalloonState, 0);
  EXPECT_EQ(Play.BalloonTimer, 0);
  EXPECT_EQ(Play.SavedKeyHeld3, 1);  // no stage start touches the saved keys
  EXPECT_EQ(KillerKind, 0);
  EXPECT_EQ(BloodState, 0);
  EXPECT_EQ(AllStagesCleared, 0);
  EXPECT_EQ(BackgroundNo, 4);
  EXPECT_EQ(Play.RespawnX, 72.0f);
  EXPECT_EQ(Play.RespawnY, 416.0f);
  EXPECT_EQ(Play.PlayerX, 72.0f);
  EXPECT_EQ(ObjectCount, 1);
}

TEST_F(StageStart, TheNextStageKeepsTheKeysCarriedToTheGoal) {
  WriteStage();
  Play.KeyHeld1 = 1;
  StartNextBuiltinStage();
  EXPECT_EQ(Play.KeyHeld1, 1);
  EXPECT_EQ(AllStagesCleared, 0);
  EXPECT_EQ(BackgroundNo, 4);
}

TEST_F(StageStart, RestartFromASaveBlockOnAnotherScreen) {
  WriteStage();
  StartBuiltinStage();
  // Head the save block carrying key 1, then pick up key 2, break a block, take the balloon, die.
  Play.KeyHeld1 = 1;
  Play.PlayerX = 150;
  Play.PlayerY = 340;
  Play.PlayerVY = -2;
  CollidePlayer();
  ASSERT_EQ(Cell(5, 10), 7);
  Play.KeyHeld2 = 1;
  Cell(8, 10) = 0;
  Cell(12, 13) = 0;
  Play.BalloonState = 1;
  Play.BalloonTimer = 100;
  StageObjects[0].State = 1;
  StageObjects[0].X = 500;
  Play.DeadState = 5;
  Play.PlayPhase = 1;
  Play.ScrollX = -640;
  RestartFromLastSave();
  EXPECT_EQ(Play.PlayerX, 808.0f);  // RestartPoint2 + 8
  EXPECT_EQ(Play.PlayerY, 416.0f);
  EXPECT_EQ(Play.ScrollX, 0);       // the screen on which the block was hit
  EXPECT_EQ(Play.KeyHeld1, 1);
  EXPECT_EQ(Play.KeyHeld2, 0);
  EXPECT_EQ(Play.BalloonState, 0);
  EXPECT_EQ(Play.PlayPhase, 0);
  EXPECT_EQ(Play.DeadState, 0);
  EXPECT_EQ(Play.PlayerAirborne, 0);
  EXPECT_EQ(Cell(5, 10), 7);   // pressed stays pressed
  EXPECT_EQ(Cell(8, 10), 188);
  EXPECT_EQ(Cell(12, 13), 184);
  EXPECT_EQ(StageObjects[0].State, 0);
  EXPECT_EQ(StageObjects[0].X, 960.0f);
  // The scroll rule then brings her screen into view.
  ControlPlayer();
  EXPECT_EQ(Play.ScrollState, 1);
  for (int i = 1; i < 80; ++i) ControlPlayer();
  EXPECT_EQ(Play.ScrollX, -640);
  EXPECT_EQ(Play.ScrollState, 0);
}

TEST_F(StageStart, DyingBeforeAnySaveRestartsAtTheStart) {
  WriteStage();
  StartBuiltinStage();
  Play.PlayerX = 500;
  Play.ScrollX = -640;
  Play.KeyHeld3 = 1;
  Play.PlayPhase = 1;
  RestartFromLastSave();
  EXPECT_EQ(Play.PlayerX, 72.0f);
  EXPECT_EQ(Play.PlayerY, 416.0f);
  EXPECT_EQ(Play.ScrollX, 0);
  EXPECT_EQ(Play.KeyHeld3, 0);
}

TEST_F(StageStart, ACustomStageIsRebuiltFromItsPristineCopy) {
  std::memset(CustomPristineMap, 0, sizeof CustomPristineMap);
  const int t = 3;
  auto pristine = [t](int c, int r) -> uint8_t& { return CustomPristineMap[(t * 45 + r) * 60 + c]; };
  auto play = [t](int c, int r) -> uint8_t& { return CustomStageMap[t * 2700 + c * 45 + r]; };
  pristine(1, 1) = 1;
  pristine(50, 40) = 2;
  pristine(10, 10) = 188;
  pristine(11, 10) = 4;
  pristine(12, 10) = 200;
  pristine(13, 10) = 181;
  CustomStageIndex = t;
  Play.PlaySource = 1;
  BackgroundNo = 17;
  StartCustomStage();
  EXPECT_EQ(play(1, 1), 1);
  EXPECT_EQ(play(12, 10), 200);
  EXPECT_EQ(Play.PlayerX, 40.0f);
  EXPECT_EQ(BackgroundNo, 17);  // drawn at random by the custom select
  EXPECT_EQ(AllStagesCleared, 1);
  // Play changes the slot; the restart gives back only what was used up.
  play(10, 10) = 0;
  play(11, 10) = 5;
  play(12, 10) = 0;
  play(13, 10) = 3;
  play(13, 9) = 185;
  Play.PlayPhase = 1;
  RestartFromLastSave();
  EXPECT_EQ(play(10, 10), 188);
  EXPECT_EQ(play(11, 10), 5);
  EXPECT_EQ(play(12, 10), 0);
  EXPECT_EQ(play(13, 10), 181);
  EXPECT_EQ(play(13, 9), 0);
  Play.PlaySource = 0;
  CustomStageIndex = 0;
}

TEST_F(StageStart, ACustomStageWithoutStartOrGoalIsRefused) {
  std::memset(CustomPristineMap, 0, sizeof CustomPristineMap);
  Play.PlaySource = 1;
  CustomStageIndex = 5;
  // The start returns the game's message instead of ending the program; the shell shows it.
  auto failure = [] {
    const char* refusal = StartCustomStage();
    return std::string(refusal != nullptr ? refusal : "");
  };
  EXPECT_EQ(failure(), "主人公が配置されていませんでした。");
  CustomPristineMap[(5 * 45 + 3) * 60 + 3] = 1;
  EXPECT_EQ(failure(), "ゴールの旗が配置されていませんでした。");
  Play.PlaySource = 0;
  CustomStageIndex = 0;
}

}  // namespace
