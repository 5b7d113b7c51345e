// The stage compiler: legend spelling, the checks that name the offending cell, and the two output files.
#include <gtest/gtest.h>

#include <string>

#include "../../../tools/stagec/stagesource.h"

namespace {

std::string Stage(const std::string& legend, const std::string& map, const std::string& tail = "") {
  return "title: test\nstars: 1\nlegend:\n" + legend + "map:\n" + map + tail;
}

std::vector<std::string> Compile(const std::string& text) {
  stagec::StageSource s = stagec::ParseStage(text);
  if (s.Errors.empty()) stagec::CheckStage(s);
  return s.Errors;
}

std::string Repeat(const std::string& row, int n) {
  std::string out;
  for (int i = 0; i < n; i++) out += row;
  return out;
}

bool AnyContains(const std::vector<std::string>& errors, const std::string& part) {
  for (auto& e : errors)
    if (e.find(part) != std::string::npos) return true;
  return false;
}

TEST(StageCompiler, PartSpellings) {
  struct Case {
    const char* text;
    int id;
  } cases[] = {
      {"trap 1SL", 20},       {"trap 1FR", 25},      {"trap 8FD", 83},     {"trigger 1SL", 96},
      {"trigger 5FR", 133},   {"trigger 8FD", 159},  {"rove SL", 160},     {"rove FD", 167},
      {"turner SL", 168},     {"turner FD", 175},    {"save 1", 4},        {"save 6", 14},
      {"restart 1", 84},      {"restart 6", 89},     {"lock 1", 90},       {"key 3", 95},
      {"sign 4", 179},        {"balloonblock 6", 180}, {"balloonblock 36", 183}, {"balloon 12", 185},
      {"balloon 36", 187},    {"spike U", 18},       {"ice", 191},         {"id 5", 5},
      {"trap 9SL", -1},       {"trap 1XL", -1},      {"rove SQ", -1},      {"save 7", -1},
      {"balloon 7", -1},      {"lock 0", -1},        {"wibble", -1},       {"id 256", -1},
  };
  for (auto& c : cases) EXPECT_EQ(stagec::ParsePart(c.text), c.id) << c.text;
}

TEST(StageCompiler, RejectionsNameTheCell) {
  struct Case {
    const char* what;
    std::string text;
    const char* expected;
  } cases[] = {
      {"no start", Stage("", "...G\n####\n"), "no start point"},
      {"two starts", Stage("", "S.SG\n####\n"), "cell (0, 0) cell (2, 0)"},
      {"no goal", Stage("", "S...\n####\n"), "no goal"},
      {"trigger alone", Stage("A = trigger 2FU\n", "S.AG\n####\n"), "cell (2, 0): trigger 2FU has no trap spike"},
      {"trap alone", Stage("a = trap 3SD\n", "S..G\n#a##\n"), "cell (1, 1): trap spike 3SD has no trigger"},
      {"wrong partner", Stage("a = trap 1SL\nA = trigger 1SR\n", "SaAG\n####\n"), "cell (1, 0): trap spike 1SL"},
      {"save alone", Stage("", "S.3G\n####\n"), "cell (2, 0): save block 3 has no restart point 3"},
      {"restart a screen away", Stage("r = restart 2\n", "S.2" + std::string(17, '.') + "rG\n" + std::string(22, '#') + "\n"),
       "cell (20, 0): restart point 2 is not on the screen of its save block at cell (2, 0)"},
      {"restart a screen below", Stage("r = restart 1\n", "S1G\n" + Repeat("...\n", 15) + "..r\n###\n"),
       "cell (2, 16): restart point 1 is not on the screen of its save block at cell (1, 0)"},
      {"lock alone", Stage("L = lock 2\n", "S.LG\n####\n"), "cell (2, 0): lock 2 has no key 2"},
      {"sign silent", Stage("s = sign 2\n", "SsG.\n####\n"), "cell (1, 0): signboard 2 has no message"},
      {"balloon block at top", Stage("b = balloonblock 12\n", "..b.\nS..G\n####\n"), "cell (2, 0): a balloon block"},
      {"unknown token", Stage("", "S.?G\n####\n"), "cell (2, 0): '?' is not in the legend"},
      {"ragged row", Stage("", "S..G\n###\n"), "map row 1 is 3 cells wide"},
      {"size mismatch", "size: 5 2\n" + Stage("", "S..G\n####\n"), "size says 5 x 2"},
      {"bad legend", Stage("x = trap 9SL\n", "S..G\n####\n"), "unknown part 'trap 9SL'"},
      {"spaced sign", Stage("s = sign 1\n", "SsG.\n####\n", "sign 1:\nこんにちは 世界\n"), "may not hold spaces"},
      // Header numbers: a sign, a letter or more digits than an int holds is refused on its own line.
      {"negative size", "size: -1 15\n" + Stage("", "S..G\n####\n"), "line 1: size is"},
      {"huge size", "#\nsize: 99999999999 15\n" + Stage("", "S..G\n####\n"), "line 2: size is"},
      {"size with more", "size: 4 2 7\n" + Stage("", "S..G\n####\n"), "line 1: size is"},
      {"size alone", "size: 4\n" + Stage("", "S..G\n####\n"), "line 1: size is"},
      {"stars word", "stars: abc\n" + Stage("", "S..G\n####\n"), "line 1: stars is"},
      {"stars negative", "stars: -2\n" + Stage("", "S..G\n####\n"), "line 1: stars is"},
      {"stars huge", "stars: 99999999999\n" + Stage("", "S..G\n####\n"), "line 1: stars is"},
  };
  for (auto& c : cases) {
    auto errors = Compile(c.text);
    EXPECT_TRUE(AnyContains(errors, c.expected)) << c.what << ": " << (errors.empty() ? "no error" : errors[0]);
  }
}

TEST(StageCompiler, LimitsAndFineStages) {
  EXPECT_TRUE(AnyContains(Compile(Stage("", "S" + std::string(199, '.') + "G\n")), "at most 200 x 45"));
  std::string tall;
  for (int r = 0; r < 46; r++) tall += (r == 0 ? "SG\n" : "##\n");
  EXPECT_TRUE(AnyContains(Compile(Stage("", tall)), "at most 200 x 45"));
  // Every pairing satisfied: no error.
  EXPECT_TRUE(Compile(Stage("a = trap 1SL\nA = trigger 1SL\nr = restart 1\nk = key 1\nL = lock 1\n",
                            "S.Aa1rkLG\n#########\n"))
                  .empty());
  EXPECT_TRUE(Compile("size: 4 2\n" + Stage("", "S..G\n####\n")).empty());
  stagec::StageSource s = stagec::ParseStage("stars: 10\nmap:\nSG\n");
  EXPECT_TRUE(s.Errors.empty());
  EXPECT_EQ(s.Stars, 10);
}

TEST(StageCompiler, FmfIsOneByteLayerRowByRow) {
  stagec::StageSource s = stagec::ParseStage(Stage("", "S.G\n#^#\n"));
  ASSERT_TRUE(s.Errors.empty());
  std::string fmf = stagec::BuildFmf(s);
  ASSERT_EQ(fmf.size(), 20u + 6u);
  EXPECT_EQ(fmf.substr(0, 4), "FMF_");
  auto i32 = [&](int at) {
    return int(uint8_t(fmf[at])) | int(uint8_t(fmf[at + 1])) << 8 | int(uint8_t(fmf[at + 2])) << 16 |
           int(uint8_t(fmf[at + 3])) << 24;
  };
  EXPECT_EQ(i32(4), 6);
  EXPECT_EQ(i32(8), 3);
  EXPECT_EQ(i32(12), 2);
  EXPECT_EQ(std::string(fmf.data() + 16, 4), std::string("\x20\x20\x01\x08", 4));
  const uint8_t cells[6] = {1, 0, 2, 3, 18, 3};
  for (int i = 0; i < 6; i++) EXPECT_EQ(uint8_t(fmf[20 + i]), cells[i]) << i;
}

TEST(StageCompiler, TextSplitsIntoSixteenFields) {
  stagec::StageSource s = stagec::ParseStage(
      Stage("s = sign 1\nt = sign 3\n", "SstG\n####\n", "sign 1:\nあ\nい,う\n\nえ\nsign 3:\n一\n二\n三\n四\n"));
  ASSERT_TRUE(s.Errors.empty()) << s.Errors[0];
  std::string bytes = stagec::BuildText(s);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(uint8_t(bytes[0]), 0xFF);
  EXPECT_EQ(uint8_t(bytes[1]), 0xFE);
  std::u16string units;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) units += char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
  // Split the way the game's formatted read does: runs between spaces, CR and LF.
  std::vector<std::u16string> fields;
  std::u16string cur;
  for (char16_t u : units) {
    if (u == u' ' || u == u'\r' || u == u'\n') {
      if (!cur.empty()) fields.push_back(cur);
      cur.clear();
    } else {
      cur += u;
    }
  }
  if (!cur.empty()) fields.push_back(cur);
  ASSERT_EQ(fields.size(), 16u);
  EXPECT_EQ(fields[0], u"あ");
  EXPECT_EQ(fields[1], u"い,う");
  EXPECT_EQ(fields[2], u"\u3000");  // the blank line
  EXPECT_EQ(fields[3], u"え");
  EXPECT_EQ(fields[4], u"\u3000");  // signboard 2 unused
  EXPECT_EQ(fields[8], u"一");
  EXPECT_EQ(fields[11], u"四");
}

}  // namespace
