// The editor's input rules: placing, scrolling, stage switching, the dialog keys and the cooldown, driven by
// key and mouse states without a window.
#include "editor_fixture.h"
#include "stage/catalogue.h"

namespace {

TEST_F(EditorTest, ScrollAndStageStopAtTheirEnds) {
  struct Case {
    const char* what;
    int column, row, stage;
    int key;
    int wantColumn, wantRow, wantStage;
  };
  const Case cases[] = {
      {"Right at column 40", 40, 0, 0, KeyRight, 40, 0, 0}, {"Left at column 0", 0, 5, 0, KeyLeft, 0, 5, 0},
      {"Up at row 0", 3, 0, 0, KeyUp, 3, 0, 0},             {"Down at row 30", 3, 30, 0, KeyDown, 3, 30, 0},
      {"Down from row 29", 3, 29, 0, KeyDown, 3, 30, 0},    {"Z on stage 1", 0, 0, 0, KeyZ, 0, 0, 0},
      {"X on stage 30", 0, 0, 29, KeyX, 0, 0, 29},          {"X on stage 1", 0, 0, 0, KeyX, 0, 0, 1},
      {"Z on stage 30", 0, 0, 29, KeyZ, 0, 0, 28},
  };
  for (const Case& c : cases) {
    ResetEditor();
    Editor.MapScrollColumn = c.column;
    Editor.MapScrollRow = c.row;
    Editor.CurrentStage = c.stage;
    Editor.RepeatCounter = 31;
    Frame({c.key});
    EXPECT_EQ(Editor.MapScrollColumn, c.wantColumn) << c.what;
    EXPECT_EQ(Editor.MapScrollRow, c.wantRow) << c.what;
    EXPECT_EQ(Editor.CurrentStage, c.wantStage) << c.what;
  }
}

TEST_F(EditorTest, ClicksPlaceInTheMapViewOnly) {
  struct Case {
    int x, y, buttons;
    int column, row;  // the cell expected to change, -1 for none
    int want;
  };
  // Scrolled to column 5, row 3; left part Block (3), right part GoalFlag (2).
  const Case cases[] = {
      {160, 0, LeftButton, 5, 3, 3},       {799, 479, LeftButton, 24, 17, 3}, {191, 31, RightButton, 5, 3, 2},
      {192, 32, BothButtons, 6, 4, 2},     {159, 10, LeftButton, -1, -1, 0},  {400, 480, LeftButton, -1, -1, 0},
      {400, 100, NoButton, -1, -1, 0},
  };
  for (const Case& c : cases) {
    ResetEditor();
    Editor.CurrentStage = 4;
    Editor.MapScrollColumn = 5;
    Editor.MapScrollRow = 3;
    Editor.RightPart = 2;
    Frame({}, c.x, c.y, c.buttons);
    int changed = 0;
    for (int i = 0; i < CustomStageCount * CustomCells; ++i) changed += EditorStageSet.Maps[i] != 0;
    if (c.column < 0) {
      EXPECT_EQ(changed, 0) << "click at " << c.x << "," << c.y;
    } else {
      EXPECT_EQ(changed, 1) << "click at " << c.x << "," << c.y;
      EXPECT_EQ(Cell(4, c.column, c.row), c.want) << "click at " << c.x << "," << c.y;
    }
  }
}

TEST_F(EditorTest, DraggingPaintsEveryCellPassed) {
  for (int x = 160; x < 160 + 32 * 5; x += 16) Frame({}, x, 40, LeftButton);
  for (int c = 0; c < 5; ++c) EXPECT_EQ(Cell(0, c, 1), Block);
  EXPECT_EQ(Cell(0, 5, 1), Empty);
}

// A held arrow acts when the repeat counter is above 3 and then resets it: at once from a rested counter,
// then every fourth frame.
TEST_F(EditorTest, HeldArrowScrollsOnTheRepeatCounter) {
  struct Case {
    int counter;
    int frames;
    int wantColumn;
  };
  const Case cases[] = {{31, 1, 1}, {4, 1, 1}, {3, 1, 0}, {0, 4, 0}, {0, 5, 1}, {31, 4, 1}, {31, 5, 2},
                        {31, 9, 3}, {31, 60, 15}};
  for (const Case& c : cases) {
    ResetEditor();
    Editor.RepeatCounter = c.counter;
    for (int f = 0; f < c.frames; ++f) Frame({KeyRight});
    EXPECT_EQ(Editor.MapScrollColumn, c.wantColumn) << "counter " << c.counter << ", " << c.frames << " frames";
  }
}

TEST_F(EditorTest, DialogKeysActOnlyWhileNoDialogIsRequested) {
  Frame({KeyF9, KeyF11});
  EXPECT_EQ(Editor.DifficultyRequest, 1);
  EXPECT_EQ(SceneId, 201) << "F11 in the frame that requested F9";
  Frame({});
  Press(KeyF11);
  EXPECT_EQ(SceneId, 201) << "F11 while F9 is requested";
  Press(KeyF5);
  EXPECT_EQ(Editor.SignboardEditState, 0);
  Editor.DifficultyRequest = 0;
  Frame({KeyF7, KeyF5, KeyF9});
  EXPECT_EQ(Editor.SignboardEditState, 1) << "F5 comes first in the key order";
  EXPECT_EQ(Editor.DifficultyRequest, 0);
  Editor.SignboardEditState = 0;
  Frame({});
  Press(KeyF11);
  EXPECT_EQ(SceneId, 202);
}

TEST_F(EditorTest, TwentyFramesOfCooldownAfterADialogWhileStageFileAndHelpKeysStillAct) {
  Press(KeyF9);
  ASSERT_EQ(Editor.DifficultyRequest, 1);
  SetMouseOverride(1, 400, 400, LeftButton);  // on OK: the dialog closes in its first frame
  RunDifficultyDialog();
  EXPECT_EQ(Editor.DifficultyRequest, 0);
  EXPECT_EQ(Editor.InputCooldown, 20);
  CopyKeyState();
  Editor.RepeatCounter = 31;
  for (int f = 0; f < 20; ++f) {
    Frame({f == 2 ? KeyX : f == 4 ? KeyZ : f == 6 ? KeyF1 : f == 8 ? KeyF3 : f == 10 ? KeyF4 : KeyRight},
          300, 100, LeftButton);
  }
  EXPECT_EQ(Cell(0, 4, 3), Empty) << "clicks ignored for 20 frames";
  EXPECT_EQ(Editor.MapScrollColumn, 0) << "arrows ignored for 20 frames";
  EXPECT_EQ(Editor.CurrentStage, 0) << "X then Z acted";
  EXPECT_EQ(Commands.help, 1);
  EXPECT_EQ(Commands.open, 1);
  EXPECT_EQ(Commands.save, 1);
  Frame({}, 300, 100, LeftButton);
  EXPECT_EQ(Cell(0, 4, 3), Block) << "the 21st frame places";
}

TEST_F(EditorTest, StageSwitchKeepsScrollAndPicks) {
  Editor.MapScrollColumn = 12;
  Editor.MapScrollRow = 7;
  Editor.LeftPart = 77;
  Editor.PaletteScroll = 4;
  Press(KeyX);
  Press(KeyX);
  EXPECT_EQ(Editor.CurrentStage, 2);
  EXPECT_EQ(Editor.MapScrollColumn, 12);
  EXPECT_EQ(Editor.MapScrollRow, 7);
  EXPECT_EQ(Editor.LeftPart, 77);
  EXPECT_EQ(Editor.PaletteScroll, 4);
  Frame({}, 160, 0, LeftButton);
  EXPECT_EQ(Cell(2, 12, 7), 77);
  EXPECT_EQ(Cell(0, 12, 7), 0);
}

}  // namespace
