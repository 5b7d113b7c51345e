#include "menu_fixture.h"

class MainMenuTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    SceneId = 20;
  }
};

TEST_F(MainMenuTest, CursorClampsAtBothEnds) {
  Press({KeyUp});
  EXPECT_EQ(MenuCursor, 0);
  for (int i = 0; i < 6; ++i) Press({KeyDown});
  EXPECT_EQ(MenuCursor, 4);
  Press({KeyUp});
  EXPECT_EQ(MenuCursor, 3);
}

TEST_F(MainMenuTest, HeldKeyMovesOnce) {
  for (int i = 0; i < 5; ++i) Frame({KeyDown});
  EXPECT_EQ(MenuCursor, 1);
}

TEST_F(MainMenuTest, EnterByItem) {
  struct Case {
    int item;
    int scene;
    int cursorAfter;
  };
  // Item 1 stays on the menu when no set is chosen (without a window no chooser opens: a cancelled dialog).
  const Case cases[] = {{0, 30, 0}, {1, 20, 1}, {2, 200, 2}, {3, 40, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    SceneId = 20;
    MenuCursor = c.item;
    CustomStageIndex = 7;
    Play.PlaySource = 1;
    Frame({KeyEnter});
    EXPECT_EQ(SceneId, c.scene);
    EXPECT_EQ(MenuCursor, c.cursorAfter);
    if (c.item <= 1) {
      EXPECT_EQ(CustomStageIndex, 0);
      EXPECT_EQ(Play.PlaySource, 0);
    }
    Frame({});
  }
}

TEST_F(MainMenuTest, LastItemEndsTheProgramAtOnce) {
  MenuCursor = 4;
  EXPECT_EXIT(Frame({KeyEnter}), ::testing::ExitedWithCode(0), "");
}

// The editor scene keeps the menu on screen during its fade-out, on the key state that started it.
TEST_F(MainMenuTest, MenuIsStillDrawnAndEnterConsumedWhileTheEditorOpens) {
  MenuCursor = 2;
  std::memset(KeyState, 0, sizeof KeyState);
  KeyState[KeyEnter] = 1;
  UpdateMenuScenes();
  ASSERT_EQ(SceneId, 200);
  // The fade runs the menu again on the same key state, without a copy in between.
  FadeActive = 1;
  for (int i = 0; i < 51; ++i) UpdateMenuScenes();
  EXPECT_EQ(SceneId, 200);
  EXPECT_EQ(MenuCursor, 2);
}
