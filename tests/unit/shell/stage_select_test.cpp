#include "menu_fixture.h"
#include "media/testing.h"
#include "stage/stagedata.h"

class StageSelectTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    SceneId = 30;
  }
};

TEST_F(StageSelectTest, ArrowsMoveAndWrap) {
  struct Case {
    int from;
    std::initializer_list<int> keys;
    int to;
  };
  const Case cases[] = {
      {0, {KeyLeft}, 29},            // stage 1 to stage 30
      {29, {KeyRight}, 0},
      {2, {KeyUp}, 26},              // same column, bottom row
      {27, {KeyDown}, 3},
      {14, {KeyRight}, 15},
      {0, {KeyLeft, KeyUp}, 23},     // -7 before wrapping
      {10, {KeyLeft, KeyUp}, 3},
      {29, {KeyRight, KeyDown}, 6},  // +7
      {8, {KeyLeft, KeyRight, KeyUp, KeyDown}, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    CustomStageIndex = c.from;
    for (int scene : {30, 50}) {
      SceneId = scene;
      CustomStageIndex = c.from;
      Frame(c.keys);
      Frame({});
      EXPECT_EQ(CustomStageIndex, c.to) << "scene " << scene;
    }
  }
}

TEST_F(StageSelectTest, KeysAreIgnoredDuringAFade) {
  FadeActive = 1;
  CustomStageIndex = 0;
  Frame({KeyEnter, KeyRight});
  Frame({KeyX});
  EXPECT_EQ(CustomStageIndex, 0);
  EXPECT_EQ(SceneId, 30);
}

TEST_F(StageSelectTest, EnterStartsAnUnlockedStage) {
  StageUnlocked[6] = 1;
  CustomStageIndex = 6;
  Frame({KeyEnter});
  EXPECT_EQ(SceneId, 31);
  EXPECT_EQ(SelectedStage, 7);
  EXPECT_EQ(StageSelectMessageOn, 0);
}

TEST_F(StageSelectTest, LockedStageShowsTheMessageForEightyFramesAndIgnoresEnter) {
  CustomStageIndex = 1;  // stage 2, locked
  Frame({KeyEnter});
  EXPECT_EQ(SceneId, 30);
  EXPECT_EQ(StageSelectMessageOn, 1);
  // Meanwhile Enter does nothing, not even on the unlocked stage 1, but the cursor still moves.
  Frame({});
  Frame({KeyLeft});
  Frame({});
  ASSERT_EQ(CustomStageIndex, 0);
  Frame({KeyEnter});
  EXPECT_EQ(SceneId, 30);
  int framesShown = 5;  // the Enter frame and the four above
  while (StageSelectMessageOn == 1 && framesShown < 1000) {
    Frame({});
    ++framesShown;
  }
  EXPECT_EQ(framesShown, 80);
  // Afterwards Enter works again.
  Frame({KeyEnter});
  EXPECT_EQ(SceneId, 31);
  EXPECT_EQ(SelectedStage, 1);
}

TEST_F(StageSelectTest, XStillLeavesWhileTheMessageShows) {
  CustomStageIndex = 1;
  Press({KeyEnter});
  ASSERT_EQ(StageSelectMessageOn, 1);
  Frame({KeyX});
  EXPECT_EQ(SceneId, 20);
}

TEST_F(StageSelectTest, ByteOtherThanZeroOrOneCannotBeChosen) {
  StageUnlocked[4] = 2;
  CustomStageIndex = 4;
  Frame({KeyEnter});
  EXPECT_EQ(SceneId, 30);
  EXPECT_EQ(StageSelectMessageOn, 0);
}

// Stage 1 with Left and Enter in one frame chooses stage 30 where the cursor lands, which is locked.
TEST_F(StageSelectTest, EnterActsOnTheCellTheCursorMovedTo) {
  CustomStageIndex = 0;
  Frame({KeyLeft, KeyEnter});
  EXPECT_EQ(CustomStageIndex, 29);
  EXPECT_EQ(SceneId, 30);
  EXPECT_EQ(StageSelectMessageOn, 1);
  StageUnlocked[29] = 1;
  StageSelectMessageOn = 0;
  CustomStageIndex = 0;
  Frame({});
  Frame({KeyLeft, KeyEnter});
  EXPECT_EQ(SceneId, 31);
  EXPECT_EQ(SelectedStage, 30);
}

TEST(StageStars, BuiltinTable) {
  const int expected[30] = {2, 3, 2, 3, 2, 4, 4, 6, 3, 5, 6, 9, 6, 7, 5, 6, 7, 6, 3, 5, 5, 7, 8, 6, 6, 7, 8, 9, 10, 1};
  for (int i = 0; i < 30; ++i) EXPECT_EQ(StageStars(i), expected[i]) << "stage " << i + 1;
}

TEST(StageStars, CustomDifficultyIsClampedToOneToTen) {
  const int cases[][2] = {{0, 1}, {25, 10}, {-3, 1}, {1, 1}, {7, 7}, {10, 10}, {11, 10}};
  for (const auto& c : cases) {
    CustomDifficulty[3] = c[0];
    EXPECT_EQ(CustomStageStars(3), c[1]) << "difficulty " << c[0];
  }
}

class CustomStageSelectTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    SceneId = 50;
    Play.PlaySource = 1;
  }
};

// One 32-bit draw r gives (r x 30) >> 32 in 64 bits, plus 1.
TEST_F(CustomStageSelectTest, EnterStartsTheStageWithARandomBackground) {
  static uint32_t draw;
  SetRandomOverride([] { return draw; });
  const uint32_t cases[][2] = {{0, 1}, {0x08888888, 1}, {0x08888889, 2}, {0x80000000, 16}, {0xFFFFFFFF, 30}};
  for (const auto& c : cases) {
    draw = c[0];
    SceneId = 50;
    Frame({KeyEnter});
    EXPECT_EQ(SceneId, 51);
    EXPECT_EQ(BackgroundNo, static_cast<int>(c[1])) << std::hex << c[0];
    Frame({});
  }
  SetRandomOverride(nullptr);
}

TEST_F(CustomStageSelectTest, XGoesBackToTheMenuAndForgetsTheSet) {
  Frame({KeyX});
  EXPECT_EQ(SceneId, 20);
  EXPECT_EQ(Play.PlaySource, 0);
}
