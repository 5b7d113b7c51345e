// Undo and redo over sequences of edits: paint strokes, dialog OKs, an open, stage switches. After every
// operation the maps, texts and difficulties must be what the sequence says, and the stage shown must be
// the one the undone step changed.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "editor/undo.h"
#include "stage/stageset.h"

namespace {

uint8_t& CellOf(StageSet& s, int t, int c, int r) { return s.Maps[(t * CustomColumns + c) * CustomRows + r]; }

void SetLine(StageSet& s, int t, int sign, int line, const char16_t* text) {
  std::memset(s.SignboardText[t][sign][line], 0, sizeof s.SignboardText[t][sign][line]);
  std::memcpy(s.SignboardText[t][sign][line], text, std::char_traits<char16_t>::length(text) * 2);
}

enum Op { Paint, Hold, Release, SignOk, DifficultyOk, Open, Switch, DoUndo, DoRedo };

struct Action {
  Op op;
  int stage = 0, c = 0, r = 0, value = 0;
  const char16_t* text = u"";
};

// What must hold after an action: one cell, one signboard line, one difficulty, the stage shown, the counts.
struct Expect {
  int stage, c, r, cell;
  const char16_t* line;  // stage `stage`, signboard 1, line 1
  int difficulty;        // of stage `stage`
  int shown;
  int undos, redos;
};

struct Case {
  const char* Name;
  std::vector<std::pair<Action, Expect>> Steps;
};

const Case Cases[] = {
    {"a stroke over three cells is one step",
     {{{Paint, 0, 1, 1, 3}, {0, 1, 1, 3, u"", 3, 0, 0, 0}},
      {{Paint, 0, 2, 1, 3}, {0, 2, 1, 3, u"", 3, 0, 0, 0}},
      {{Paint, 0, 3, 1, 3}, {0, 3, 1, 3, u"", 3, 0, 0, 0}},
      {{Release}, {0, 2, 1, 3, u"", 3, 0, 1, 0}},
      {{DoUndo}, {0, 3, 1, 0, u"", 3, 0, 0, 1}},
      {{DoRedo}, {0, 1, 1, 3, u"", 3, 0, 1, 0}}}},
    {"painting a cell with what it holds is no step",
     {{{Paint, 0, 1, 1, 0}, {0, 1, 1, 0, u"", 3, 0, 0, 0}}, {{Release}, {0, 1, 1, 0, u"", 3, 0, 0, 0}}}},
    {"an undo on another stage switches back to it, and a redo too",
     {{{Paint, 4, 5, 6, 188}, {4, 5, 6, 188, u"", 3, 4, 0, 0}},
      {{Release}, {4, 5, 6, 188, u"", 3, 4, 1, 0}},
      {{Switch, 9}, {4, 5, 6, 188, u"", 3, 9, 1, 0}},
      {{DoUndo}, {4, 5, 6, 0, u"", 3, 4, 0, 1}},
      {{Switch, 0}, {4, 5, 6, 0, u"", 3, 0, 0, 1}},
      {{DoRedo}, {4, 5, 6, 188, u"", 3, 4, 1, 0}}}},
    {"dialog OKs are steps of their own; one that changed nothing is none",
     {{{SignOk, 2, 0, 0, 0, u"こんにちは"}, {2, 0, 0, 0, u"こんにちは", 3, 2, 1, 0}},
      {{DifficultyOk, 2, 0, 0, 7}, {2, 0, 0, 0, u"こんにちは", 7, 2, 2, 0}},
      {{DifficultyOk, 2, 0, 0, 7}, {2, 0, 0, 0, u"こんにちは", 7, 2, 2, 0}},
      {{DoUndo}, {2, 0, 0, 0, u"こんにちは", 3, 2, 1, 1}},
      {{DoUndo}, {2, 0, 0, 0, u"", 3, 2, 0, 2}},
      {{DoUndo}, {2, 0, 0, 0, u"", 3, 2, 0, 2}},
      {{DoRedo}, {2, 0, 0, 0, u"こんにちは", 3, 2, 1, 1}}}},
    {"an open is one step over every stage it replaced",
     {{{Paint, 1, 0, 0, 2}, {1, 0, 0, 2, u"", 3, 1, 0, 0}},
      {{Release}, {1, 0, 0, 2, u"", 3, 1, 1, 0}},
      {{Open, 1, 0, 0, 9, u"開いた"}, {1, 0, 0, 1, u"開いた", 9, 1, 2, 0}},
      {{DoUndo}, {1, 0, 0, 2, u"", 3, 1, 1, 1}},
      {{DoRedo}, {1, 0, 0, 1, u"開いた", 9, 1, 2, 0}},
      {{DoUndo}, {1, 0, 0, 2, u"", 3, 1, 1, 1}},
      {{DoUndo}, {1, 0, 0, 0, u"", 3, 1, 0, 2}}}},
    {"a new edit after an undo forgets the redo",
     {{{Paint, 0, 7, 7, 3}, {0, 7, 7, 3, u"", 3, 0, 0, 0}},
      {{Release}, {0, 7, 7, 3, u"", 3, 0, 1, 0}},
      {{DoUndo}, {0, 7, 7, 0, u"", 3, 0, 0, 1}},
      {{Paint, 0, 8, 7, 16}, {0, 8, 7, 16, u"", 3, 0, 0, 1}},
      {{Release}, {0, 7, 7, 0, u"", 3, 0, 1, 0}},
      {{DoRedo}, {0, 7, 7, 0, u"", 3, 0, 1, 0}}}},
    {"an undo in the middle of a stroke takes back the stroke so far",
     {{{Paint, 0, 1, 2, 3}, {0, 1, 2, 3, u"", 3, 0, 0, 0}},
      {{Hold}, {0, 1, 2, 3, u"", 3, 0, 0, 0}},
      {{DoUndo}, {0, 1, 2, 0, u"", 3, 0, 0, 1}}}},
};

class Undo : public ::testing::TestWithParam<Case> {};

TEST_P(Undo, Sequence) {
  auto set = std::make_unique<StageSet>();
  ResetEditorHistory(*set);
  int shown = 0;
  int n = 0;
  for (const auto& [a, e] : GetParam().Steps) {
    SCOPED_TRACE("action " + std::to_string(n++));
    bool stroke = false;
    switch (a.op) {
      case Paint:
        shown = a.stage;
        CellOf(*set, a.stage, a.c, a.r) = static_cast<uint8_t>(a.value);
        stroke = true;
        break;
      case Hold:
        stroke = true;
        break;
      case Release:
        break;
      case SignOk:
        shown = a.stage;
        SetLine(*set, a.stage, 0, 0, a.text);
        break;
      case DifficultyOk:
        shown = a.stage;
        set->EditorDifficulty[a.stage] = a.value;
        break;
      case Open: {  // a whole other set, as a file holds it
        auto other = std::make_unique<StageSet>();
        for (int t = 0; t < CustomStageCount; t++) {
          CellOf(*other, t, 0, 0) = 1;
          other->EditorDifficulty[t] = a.value;
          SetLine(*other, t, 0, 0, a.text);
        }
        *set = *other;
        break;
      }
      case Switch:
        shown = a.stage;
        break;
      case DoUndo:
        UndoEditorSet(set.get(), &shown);
        break;
      case DoRedo:
        RedoEditorSet(set.get(), &shown);
        break;
    }
    WatchEditorSet(*set, stroke);
    EXPECT_EQ(CellOf(*set, e.stage, e.c, e.r), e.cell);
    EXPECT_EQ(std::u16string(set->SignboardText[e.stage][0][0]), std::u16string(e.line));
    EXPECT_EQ(set->EditorDifficulty[e.stage], e.difficulty);
    EXPECT_EQ(shown, e.shown);
    EXPECT_EQ(UndoStepCount(), e.undos);
    EXPECT_EQ(RedoStepCount(), e.redos);
  }
}

INSTANTIATE_TEST_SUITE_P(Edits, Undo, ::testing::ValuesIn(Cases), [](const auto& info) {
  std::string name;
  for (const char* p = info.param.Name; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
});

TEST(UndoHistory, KeepsAThousandStepsAndForgetsTheOldest) {
  auto set = std::make_unique<StageSet>();
  ResetEditorHistory(*set);
  for (int i = 0; i < 1200; i++) {
    set->Maps[i % CustomCells] = static_cast<uint8_t>(1 + i / CustomCells);
    WatchEditorSet(*set, false);
  }
  EXPECT_EQ(UndoStepCount(), UndoHistoryLimit);
  int shown = 0;
  while (UndoEditorSet(set.get(), &shown)) {
  }
  // The first 200 strokes can no longer be undone; the 201st and later are.
  EXPECT_EQ(set->Maps[199], 1);
  EXPECT_EQ(set->Maps[200], 0);
  EXPECT_EQ(set->Maps[1199], 0);
}

}  // namespace
