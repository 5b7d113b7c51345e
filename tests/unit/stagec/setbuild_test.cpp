// The stage compiler's set mode: the limits of a set's stages and where a source lands in the set.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../../../tools/stagec/setbuild.h"

namespace {

bool AnyContains(const std::vector<std::string>& errors, const std::string& part) {
  for (auto& e : errors)
    if (e.find(part) != std::string::npos) return true;
  return false;
}

std::string Rows(int width, int height, char fill = '.') {
  std::string map = "map:\n";
  for (int r = 0; r < height; ++r) map += std::string(width, fill) + "\n";
  return map;
}

std::vector<std::string> CompileForSet(const std::string& text) {
  stagec::StageSource s = stagec::ParseSetStage(text);
  if (s.Errors.empty()) stagec::CheckSetStage(s);
  if (s.Errors.empty()) stagec::CheckStage(s, false);
  return s.Errors;
}

TEST(StageSetCompiler, SizesAndLinesWithinTheSetsLimits) {
  struct Case {
    const char* what;
    std::string text;
    const char* error;  // nullptr: accepted
  } cases[] = {
      {"60 x 45", Rows(60, 45), nullptr},
      {"61 wide", Rows(61, 45), "the map is 61 x 45 cells"},
      {"46 tall", Rows(60, 46), "the map is 60 x 46 cells"},
      {"no start and no goal", Rows(3, 2), nullptr},
      {"32-unit line", "a = sign 1\n" + Rows(3, 1, 'a') + "sign 1:\n" + std::string(32, 'x') + "\n", nullptr},
      {"33-unit line", "a = sign 1\n" + Rows(3, 1, 'a') + "sign 1:\n" + std::string(33, 'x') + "\n",
       "signboard 1 line 1 is 33 units"},
  };
  for (auto& c : cases) {
    // Legend lines belong under "legend:"; the cases without one start with the map.
    std::string text = c.text.rfind("map:", 0) == 0 ? c.text : "legend:\n" + c.text;
    auto errors = CompileForSet(text);
    if (c.error == nullptr) EXPECT_TRUE(errors.empty()) << c.what << ": " << errors[0];
    else EXPECT_TRUE(AnyContains(errors, c.error)) << c.what << ": " << (errors.empty() ? "no error" : errors[0]);
  }
}

TEST(StageSetCompiler, ASourceFillsTheTopLeftOfItsStage) {
  auto set = std::make_unique<StageSet>();
  set->Maps[(4 * 60 + 50) * 45 + 40] = 7;  // left from before: the whole stage is rewritten
  stagec::StageSource s = stagec::ParseSetStage("stars: 8\nlegend:\n  a = sign 3\nmap:\nS.a\n#=G\nsign 3:\nいち\n\nさん\n");
  ASSERT_TRUE(s.Errors.empty()) << s.Errors[0];
  stagec::PutStageIntoSet(s, 4, set.get());
  auto cell = [&](int c, int r) { return set->Maps[(4 * 60 + c) * 45 + r]; };
  EXPECT_EQ(cell(0, 0), 1);
  EXPECT_EQ(cell(2, 0), 178);
  EXPECT_EQ(cell(1, 1), 191);
  EXPECT_EQ(cell(2, 1), 2);
  EXPECT_EQ(cell(50, 40), 0);
  EXPECT_EQ(set->EditorDifficulty[4], 8);
  EXPECT_EQ(set->EditorDifficulty[5], 3);
  EXPECT_EQ(std::u16string(set->SignboardText[4][2][0]), u"いち");
  EXPECT_EQ(std::u16string(set->SignboardText[4][2][1]), u"");  // an empty line stays empty in a set
  EXPECT_EQ(std::u16string(set->SignboardText[4][2][2]), u"さん");

  stagec::StageSource unrated = stagec::ParseSetStage("map:\nSG\n");
  stagec::PutStageIntoSet(unrated, 4, set.get());
  EXPECT_EQ(set->EditorDifficulty[4], 3);
}

}  // namespace
