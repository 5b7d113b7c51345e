// Live stage checks: small maps and the warnings (with their cells) they must give, in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/stage_checks.h"
#include "media/media.h"
#include "stage_sources.h"

namespace {

struct Want {
  int Col, Row;
  const char16_t* Text;
};

struct Case {
  const char* Name;
  std::vector<std::string> Rows;
  std::map<char, int> Legend;
  std::vector<Want> Warnings;
};

const Case Cases[] = {
    {"a playable stage gives none", {"S..G", "####"}, {}, {}},
    {"an empty stage lacks both", {"....", "####"}, {}, {{-1, -1, u"スタート地点がありません"}, {-1, -1, u"ゴールがありません"}}},
    {"the second and third start points are not used (column by column, top to bottom)",
     {".S.G", "S...", "..S."},
     {},
     {{1, 0, u"使われないスタート地点です"}, {2, 2, u"使われないスタート地点です"}}},
    {"a trap spike without its trigger, and a trigger without its spike",
     {"S.aG", "b..a", "####"},
     {{'a', 20}, {'b', 101}},
     {{2, 0, u"トゲ20を動かす1SLM(96)がありません"}, {0, 1, u"1FRM(101)で動くトゲ25がありません"}}},
    {"a trap spike with its trigger is fine", {"S.aG", "A...", "####"}, {{'a', 83}, {'A', 159}}, {}},
    {"a save block without its restart point; a pressed one needs none",
     {"S.2G", "1r..", "..5."},
     {{'r', 84}, {'5', 9}},
     {{2, 0, u"セーブ2の再開地点(85)がありません"}}},
    {"locks and keys disappear in custom play, each cell named",
     {"S.kG", "l..K"},
     {{'k', 93}, {'l', 90}, {'K', 95}},
     {{0, 1, u"カギブロックは自作ステージでは消えます"}, {2, 0, u"カギは自作ステージでは消えます"},
      {3, 1, u"カギは自作ステージでは消えます"}}},
};

class Checks : public ::testing::TestWithParam<Case> {};

TEST_P(Checks, Warnings) {
  const Case& c = GetParam();
  std::vector<uint8_t> cells = EditorStageFromRows(c.Rows, c.Legend);
  std::vector<StageWarning> got = CheckEditorStage(cells.data());
  ASSERT_EQ(got.size(), c.Warnings.size());
  for (size_t i = 0; i < got.size(); i++) {
    EXPECT_EQ(got[i].Col, c.Warnings[i].Col) << i;
    EXPECT_EQ(got[i].Row, c.Warnings[i].Row) << i;
    EXPECT_EQ(Utf16ToUtf8(got[i].Text.c_str()), Utf16ToUtf8(c.Warnings[i].Text)) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Maps, Checks, ::testing::ValuesIn(Cases), [](const auto& info) {
  return "case" + std::to_string(info.index);
});

}  // namespace
