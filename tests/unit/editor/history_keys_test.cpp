// Undo and redo through the editor's own input: strokes painted with the mouse, an F3 open, stage switches,
// and Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z pressed as keys. Ctrl+Z and Ctrl+X never also switch the stage.
#include <memory>

#include "editor/undo.h"
#include "editor_fixture.h"

namespace {

// The cell under map-view pixel (x, y) at scroll 0.
constexpr int X(int column) { return MapViewLeft + 32 * column + 8; }
constexpr int Y(int row) { return 32 * row + 8; }

class HistoryKeys : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    ResetEditorHistory(EditorStageSet);
  }
  // A stroke with the left button from column c1 to c2 on row r: button down, moved, released.
  static void Stroke(int c1, int c2, int r, int buttons = LeftButton) {
    for (int c = c1; c <= c2; ++c) Frame({}, X(c), Y(r), buttons);
    Frame({}, X(c2), Y(r), NoButton);
  }
  static void Chord(std::initializer_list<int> keys) {
    Frame(keys);
    Frame({});
  }
};

enum Op { StrokeRow, SwitchUp, SwitchDown, OpenFile, Undo, Redo, RedoShift, CtrlX };

struct Step {
  Op op;
  int arg;            // the stroke's row, unused otherwise
  int stage;          // the stage shown afterwards
  int row0, row1;     // how many of the cells (1..3, 0) and (1..3, 1) of stage 0 hold a Block afterwards
  int row1OfStage1;   // the same for (1..3, 1) of stage 1
  int openedCell;     // cell (0, 0) of stage 7 (the open writes 1 there)
};

struct Case {
  const char* name;
  std::vector<Step> steps;
};

const Case Cases[] = {
    {"a stroke is one step; Ctrl+Z takes it back whole, Ctrl+Y and Ctrl+Shift+Z bring it back",
     {{StrokeRow, 0, 0, 3, 0, 0, 0},
      {StrokeRow, 1, 0, 3, 3, 0, 0},
      {Undo, 0, 0, 3, 0, 0, 0},
      {Undo, 0, 0, 0, 0, 0, 0},
      {Undo, 0, 0, 0, 0, 0, 0},
      {Redo, 0, 0, 3, 0, 0, 0},
      {RedoShift, 0, 0, 3, 3, 0, 0},
      {Redo, 0, 0, 3, 3, 0, 0}}},
    {"undo switches back to the stage it changes, never to a neighbour",
     {{StrokeRow, 0, 0, 3, 0, 0, 0},
      {SwitchUp, 0, 1, 3, 0, 0, 0},
      {StrokeRow, 1, 1, 3, 0, 3, 0},
      {SwitchUp, 0, 2, 3, 0, 3, 0},
      {SwitchUp, 0, 3, 3, 0, 3, 0},
      {Undo, 0, 1, 3, 0, 0, 0},
      {Undo, 0, 0, 0, 0, 0, 0},
      {SwitchUp, 0, 1, 0, 0, 0, 0},
      {Redo, 0, 0, 3, 0, 0, 0}}},
    {"Ctrl+X does not switch the stage, X alone does",
     {{SwitchUp, 0, 1, 0, 0, 0, 0}, {CtrlX, 0, 1, 0, 0, 0, 0}, {SwitchDown, 0, 0, 0, 0, 0, 0}}},
    {"an F3 open is one step",
     {{StrokeRow, 0, 0, 3, 0, 0, 0},
      {OpenFile, 0, 0, 3, 0, 0, 1},
      {Undo, 0, 7, 3, 0, 0, 0},
      {Redo, 0, 7, 3, 0, 0, 1}}},
};

class HistoryKeyTable : public HistoryKeys, public ::testing::WithParamInterface<Case> {};

TEST_P(HistoryKeyTable, Sequence) {
  EditorCommands.Open = [] {
    EditorStageSet.Maps[(7 * CustomColumns + 0) * CustomRows + 0] = 1;
    return 0;
  };
  int n = 0;
  for (const Step& s : GetParam().steps) {
    SCOPED_TRACE("step " + std::to_string(n++));
    switch (s.op) {
      case StrokeRow: Stroke(1, 3, s.arg); break;
      case SwitchUp: Chord({KeyX}); break;
      case SwitchDown: Chord({KeyZ}); break;
      case OpenFile: Chord({KeyF3}); break;
      case Undo: Chord({KeyLeftCtrl, KeyZ}); break;
      case Redo: Chord({KeyRightCtrl, KeyY}); break;
      case RedoShift: Chord({KeyLeftCtrl, KeyLeftShift, KeyZ}); break;
      case CtrlX: Chord({KeyRightCtrl, KeyX}); break;
    }
    EXPECT_EQ(Editor.CurrentStage, s.stage);
    int row0 = 0, row1 = 0, stage1 = 0;
    for (int c = 1; c <= 3; ++c) {
      row0 += Cell(0, c, 0) == 3;
      row1 += Cell(0, c, 1) == 3;
      stage1 += Cell(1, c, 1) == 3;
    }
    EXPECT_EQ(row0, s.row0);
    EXPECT_EQ(row1, s.row1);
    EXPECT_EQ(stage1, s.row1OfStage1);
    EXPECT_EQ(Cell(7, 0, 0), s.openedCell);
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, HistoryKeyTable, ::testing::ValuesIn(Cases), [](const auto& info) {
  return "case" + std::to_string(info.index);
});

TEST_F(HistoryKeys, ADialogWithManyChangesIsOneStep) {
  // The difficulty dialog changes the set on every arrow click while it is requested; its OK ends the step.
  Editor.DifficultyRequest = 1;
  for (int d = 4; d <= 8; ++d) {
    EditorStageSet.EditorDifficulty[0] = d;
    Frame({});
  }
  Editor.DifficultyRequest = 0;
  Frame({});
  EXPECT_EQ(UndoStepCount(), 1);
  Chord({KeyLeftCtrl, KeyZ});
  EXPECT_EQ(EditorStageSet.EditorDifficulty[0], 3);
}

TEST_F(HistoryKeys, KeysDoNothingWhileADialogIsRequested) {
  Stroke(1, 1, 0);
  Editor.SignboardEditState = 1;
  Chord({KeyLeftCtrl, KeyZ});
  EXPECT_EQ(Cell(0, 1, 0), 3);
  Editor.SignboardEditState = 0;
  Chord({KeyLeftCtrl, KeyZ});
  EXPECT_EQ(Cell(0, 1, 0), 0);
}

}  // namespace
