// The stage warnings in the legend panel: a click on one scrolls the map to its cell (as near the middle of
// the view as the map's edges allow), a click on one about the whole stage or beside the strip does nothing,
// and "次へ" pages through more than two.
#include "editor_fixture.h"
#include "stage/catalogue.h"

namespace {

class WarningStrip : public EditorTest {
 protected:
  static void Put(int c, int r, int part) {
    EditorStageSet.Maps[(Editor.CurrentStage * CustomColumns + c) * CustomRows + r] = static_cast<uint8_t>(part);
  }
  static void Click(int x, int y) {
    Frame({}, x, y, LeftButton);
    Frame({}, x, y, NoButton);
  }
};

TEST_F(WarningStrip, AClickScrollsToTheCellOfItsWarning) {
  struct Case {
    const char* what;
    int x, y;
    int column, row;  // scroll afterwards
  };
  // Stage 3: start points at (1, 1) and (50, 40), the later one in column order unused; a goal; a key at
  // (30, 20).
  const Case cases[] = {
      {"first line: the extra start point near the bottom right", 200, 578, 40, 30},
      {"second line: the key, centred", 200, 591, 20, 13},
      {"left of the strip", 150, 578, 7, 7},
      {"above the strip", 200, 560, 7, 7},
  };
  for (const Case& c : cases) {
    ResetEditor();
    Editor.CurrentStage = 3;
    Editor.MapScrollColumn = 7;
    Editor.MapScrollRow = 7;
    Put(1, 1, StartPoint);
    Put(50, 40, StartPoint);
    Put(5, 5, GoalFlag);
    Put(30, 20, Key1);
    ASSERT_EQ(CurrentStageWarnings().size(), 2u);
    Click(c.x, c.y);
    EXPECT_EQ(Editor.MapScrollColumn, c.column) << c.what;
    EXPECT_EQ(Editor.MapScrollRow, c.row) << c.what;
  }
}

TEST_F(WarningStrip, WarningsAboutTheWholeStageScrollNowhereAndNextPagesOn) {
  Editor.MapScrollColumn = 3;
  Put(10, 10, LockBlock1);  // no start, no goal, a lock: three warnings
  ASSERT_EQ(CurrentStageWarnings().size(), 3u);
  Click(200, 578);  // "no start point"
  EXPECT_EQ(Editor.MapScrollColumn, 3);
  Click(440, 590);  // 次へ: the lock comes first
  EXPECT_EQ(Editor.WarningFirst, 2);
  Click(200, 578);
  EXPECT_EQ(Editor.MapScrollColumn, 0);
  EXPECT_EQ(Editor.MapScrollRow, 3);
  Click(440, 590);  // and round again
  EXPECT_EQ(Editor.WarningFirst, 0);
}

TEST_F(WarningStrip, NoClickActsDuringTheCooldownOrWhileHeld) {
  Put(30, 20, Key1);
  Editor.InputCooldown = 5;
  Click(200, 591);  // the key's line (second: the first is "no start point")
  EXPECT_EQ(Editor.MapScrollColumn, 0);
  Editor.InputCooldown = 0;
  Frame({}, 300, 100, LeftButton);  // pressed on the map, then dragged onto the strip: no click
  Frame({}, 200, 591, LeftButton);
  EXPECT_EQ(Editor.MapScrollColumn, 0);
}

}  // namespace
