// The stage-set file: its byte layout, the round trip through the file, the refusals, the atomic write, and
// the load for play with its play-side copy kept apart from the editor's set.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "stage/catalogue.h"
#include "stage/custom_stage.h"
#include "stage/stageset.h"
#include "stage_files.h"

namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void SetLine(StageSet& set, int t, int s, int l, const std::u16string& text) {
  char16_t* buffer = set.SignboardText[t][s][l];
  std::memset(buffer, 0, sizeof set.SignboardText[t][s][l]);
  std::copy(text.begin(), text.end(), buffer);
}

// A set with something different in every field: every part id somewhere, difficulties from -5 to 24 and
// lines of 0, 22, 31, 32 and 40 units.
std::unique_ptr<StageSet> VariedSet() {
  auto set = std::make_unique<StageSet>();
  for (int i = 0; i < CustomStageCount * CustomCells; ++i) set->Maps[i] = static_cast<uint8_t>((i * 7 + i / 251) & 0xFF);
  for (int t = 0; t < CustomStageCount; ++t) set->EditorDifficulty[t] = t - 5;
  set->EditorDifficulty[29] = -2147483647 - 1;
  for (int t = 0; t < CustomStageCount; ++t)
    for (int s = 0; s < 4; ++s)
      for (int l = 0; l < 4; ++l) {
        static const int lengths[] = {0, 22, 31, 32, 40};
        std::u16string text;
        for (int u = 0; u < lengths[(t + s + l) % 5]; ++u) text += static_cast<char16_t>(u'あ' + (t * 16 + s * 4 + l + u) % 80);
        SetLine(*set, t, s, l, text);
      }
  return set;
}

class StageSetFile : public StageFilesTest {
 protected:
  std::string PathIn(const std::string& name) { return (Dir / name).string(); }
};

TEST_F(StageSetFile, TheFileHoldsTheFieldsWhereTheFormatPutsThem) {
  auto set = std::make_unique<StageSet>();
  set->EditorDifficulty[1] = 0x01020304;
  SetLine(*set, 2, 1, 3, u"AB");
  set->Maps[(4 * 60 + 7) * 45 + 9] = 0xC8;
  const std::string path = PathIn("layout.plvsd");
  ASSERT_TRUE(WriteStageSetFile(path, *set));
  const std::string bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), 111848u);
  EXPECT_EQ(bytes.substr(0, 8), std::string("PLVSD\0\x01\0", 8));
  EXPECT_EQ(bytes.substr(8, 4), std::string("\3\0\0\0", 4));   // stage 1 keeps the start-up 3
  EXPECT_EQ(bytes.substr(12, 4), std::string("\4\3\2\1", 4));  // stage 2, little-endian
  const size_t line = 128 + ((2 * 4 + 1) * 4 + 3) * 64;       // stage 3, signboard 2, line 4
  EXPECT_EQ(bytes.substr(line, 6), std::string("A\0B\0\0\0", 6));
  EXPECT_EQ(static_cast<uint8_t>(bytes[30848 + 4 * 2700 + 7 * 45 + 9]), 0xC8);  // stage 5, column 7, row 9
}

TEST_F(StageSetFile, ASetWrittenAndReadBackIsTheSame) {
  auto written = VariedSet();
  const std::string first = PathIn("a.plvsd"), second = PathIn("b.plvsd");
  ASSERT_TRUE(WriteStageSetFile(first, *written));
  auto read = std::make_unique<StageSet>();
  // Stale content the read must replace.
  std::memset(read->Maps, 0x5A, sizeof read->Maps);
  std::memset(read->EditorDifficulty, 0x5A, sizeof read->EditorDifficulty);
  std::memset(read->SignboardText, 0x5A, sizeof read->SignboardText);
  ASSERT_EQ(ReadStageSetFile(first, read.get()), StageSetRead);
  EXPECT_EQ(std::memcmp(read->Maps, written->Maps, sizeof read->Maps), 0);
  EXPECT_EQ(std::memcmp(read->EditorDifficulty, written->EditorDifficulty, sizeof read->EditorDifficulty), 0);
  for (int t = 0; t < CustomStageCount; ++t)
    for (int s = 0; s < 4; ++s)
      for (int l = 0; l < 4; ++l) {
        const char16_t* in = written->SignboardText[t][s][l];
        const char16_t* out = read->SignboardText[t][s][l];
        ASSERT_EQ(std::memcmp(in, out, 32 * sizeof(char16_t)), 0) << t << " " << s << " " << l;
        // Only 32 units are stored: a longer line comes back cut to 32, and nothing old follows it.
        for (int u = 32; u < CustomLineUnits; ++u) ASSERT_EQ(out[u], 0) << t << " " << s << " " << l;
      }
  ASSERT_TRUE(WriteStageSetFile(second, *read));
  EXPECT_EQ(ReadBytes(first), ReadBytes(second));
}

TEST_F(StageSetFile, WrongMagicsAndSizesAreRefusedAndChangeNothing) {
  auto good = VariedSet();
  std::vector<uint8_t> image(StageSetFileSize);
  EncodeStageSet(*good, image.data());
  const std::string valid(image.begin(), image.end());
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"version 2", std::string("PLVSD\0\x02\0", 8) + valid.substr(8)},
      {"last byte of the magic", std::string("PLVSD\0\x01\x01", 8) + valid.substr(8)},
      {"lower case", "plvsd" + valid.substr(5)},
      {"one byte short", valid.substr(0, 111847)},
      {"one byte long", valid + '\0'},
      {"magic only", valid.substr(0, 8)},
      {"empty", ""},
  };
  for (const Case& c : cases) {
    const std::string path = Write("refused.plvsd", c.bytes);
    auto set = VariedSet();
    std::memset(set->Maps, 1, sizeof set->Maps);
    auto before = std::make_unique<StageSet>(*set);
    EXPECT_EQ(ReadStageSetFile(path, set.get()), StageSetRefused) << c.what;
    EXPECT_EQ(std::memcmp(set.get(), before.get(), sizeof *set), 0) << c.what;
  }
  auto set = std::make_unique<StageSet>();
  EXPECT_EQ(ReadStageSetFile(PathIn("missing.plvsd"), set.get()), StageSetCannotOpen);
  EXPECT_EQ(ReadStageSetFile(Dir.string(), set.get()), StageSetCannotOpen);
  EXPECT_EQ(ReadStageSetFile(Write("ok.plvsd", valid), set.get()), StageSetRead);
}

TEST_F(StageSetFile, SavingReplacesTheWholeFileAndLeavesNothingBeside) {
  const std::string path = PathIn("set");  // no extension: the name is used as given
  ASSERT_TRUE(WriteStageSetFile(path, *VariedSet()));
  ::chmod(path.c_str(), 0640);
  auto second = std::make_unique<StageSet>();
  ASSERT_TRUE(WriteStageSetFile(path, *second));
  std::vector<uint8_t> image(StageSetFileSize);
  EncodeStageSet(*second, image.data());
  EXPECT_EQ(ReadBytes(path), std::string(image.begin(), image.end()));
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // the replaced file's permissions are kept
  int entries = 0;
  for (auto& e : fs::directory_iterator(Dir)) entries += e.path().filename() == "set" ? 0 : 1;
  EXPECT_EQ(entries, 0);
}

TEST_F(StageSetFile, SavingThroughALinkReplacesTheSetItPointsAt) {
  const std::string real = PathIn("real.plvsd"), link = PathIn("link.plvsd");
  ASSERT_TRUE(WriteStageSetFile(real, StageSet{}));
  fs::create_symlink(real, link);
  auto set = VariedSet();
  ASSERT_TRUE(WriteStageSetFile(link, *set));
  EXPECT_TRUE(fs::is_symlink(link));
  auto read = std::make_unique<StageSet>();
  ASSERT_EQ(ReadStageSetFile(real, read.get()), StageSetRead);
  EXPECT_EQ(std::memcmp(read->Maps, set->Maps, sizeof read->Maps), 0);
}

TEST_F(StageSetFile, AFailedSaveReportsItAndKeepsTheOldFile) {
  const std::string path = PathIn("kept.plvsd");
  auto old = VariedSet();
  ASSERT_TRUE(WriteStageSetFile(path, *old));
  const std::string before = ReadBytes(path);
  EXPECT_FALSE(WriteStageSetFile(PathIn("no-such-folder/x.plvsd"), *old));
  EXPECT_FALSE(WriteStageSetFile(Dir.string(), *old));  // a folder cannot be replaced by a set
  EXPECT_FALSE(WriteStageSetFile("", *old));
  if (::geteuid() != 0) {  // root writes into read-only folders anyway
    ::chmod(Dir.c_str(), 0555);
    EXPECT_FALSE(WriteStageSetFile(path, StageSet{}));
    ::chmod(Dir.c_str(), 0755);
  }
  EXPECT_EQ(ReadBytes(path), before);
}

// The load for play and the editor's open work on separate copies.
class CustomSetLoad : public StageSetFile {
 protected:
  void TearDown() override {
    EditorStageSet = StageSet{};
    StageSetFile::TearDown();
  }
};

TEST_F(CustomSetLoad, LocksAndKeysAreGoneInPlayAndOtherIdsAreKept) {
  auto set = std::make_unique<StageSet>();
  struct Case {
    uint8_t stored, pristine;
  } cases[] = {{89, 89}, {90, 0}, {91, 0}, {92, 0}, {93, 0}, {94, 0}, {95, 0}, {96, 96}, {200, 200}, {255, 255}};
  const int t = 17;
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) set->Maps[(t * 60 + 3 + i) * 45 + 40] = cases[i].stored;
  set->EditorDifficulty[t] = 25;
  SetLine(*set, t, 2, 1, u"看板三の二行目");
  const std::string path = PathIn("play.plvsd");
  ASSERT_TRUE(WriteStageSetFile(path, *set));
  ASSERT_EQ(LoadCustomSetFile(path), StageSetRead);
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
    const int c = 3 + i, r = 40;
    EXPECT_EQ(CustomPristineMap[(t * 45 + r) * 60 + c], cases[i].pristine) << int(cases[i].stored);
    EXPECT_EQ(CustomStageMap[t * 2700 + c * 45 + r], cases[i].stored) << int(cases[i].stored);  // raw until started
  }
  EXPECT_EQ(CustomDifficulty[t], 25);
  EXPECT_EQ(std::u16string(CustomSignboardText[t][2][1]), u"看板三の二行目");
}

TEST_F(CustomSetLoad, PlayAndEditorCopiesDoNotTouchEachOther) {
  auto forPlay = VariedSet();
  auto forEditor = std::make_unique<StageSet>();
  forEditor->Maps[5] = 3;
  forEditor->EditorDifficulty[0] = 9;
  const std::string playPath = PathIn("play.plvsd"), editorPath = PathIn("editor.plvsd");
  ASSERT_TRUE(WriteStageSetFile(playPath, *forPlay));
  ASSERT_TRUE(WriteStageSetFile(editorPath, *forEditor));

  EditorStageSet = StageSet{};
  EditorStageSet.Maps[100] = 42;
  auto editorBefore = std::make_unique<StageSet>(EditorStageSet);
  ASSERT_EQ(LoadCustomSetFile(playPath), StageSetRead);
  EXPECT_EQ(std::memcmp(&EditorStageSet, editorBefore.get(), sizeof EditorStageSet), 0);

  std::vector<uint8_t> playMap(CustomStageMap, CustomStageMap + sizeof CustomStageMap);
  std::vector<uint8_t> pristine(CustomPristineMap, CustomPristineMap + sizeof CustomPristineMap);
  std::vector<int32_t> difficulty(CustomDifficulty, CustomDifficulty + CustomStageCount);
  ASSERT_EQ(ReadStageSetFile(editorPath, &EditorStageSet), StageSetRead);
  EXPECT_EQ(EditorStageSet.Maps[5], 3);
  EXPECT_EQ(std::vector<uint8_t>(CustomStageMap, CustomStageMap + sizeof CustomStageMap), playMap);
  EXPECT_EQ(std::vector<uint8_t>(CustomPristineMap, CustomPristineMap + sizeof CustomPristineMap), pristine);
  EXPECT_EQ(std::vector<int32_t>(CustomDifficulty, CustomDifficulty + CustomStageCount), difficulty);

  // A refused file leaves the set being played as it was.
  const std::string bad = Write("bad.plvsd", std::string(111848, 'x'));
  EXPECT_EQ(LoadCustomSetFile(bad), StageSetRefused);
  EXPECT_EQ(std::vector<uint8_t>(CustomStageMap, CustomStageMap + sizeof CustomStageMap), playMap);
}

// Starting a stage of a loaded set, fresh and after a game over.
class CustomStageRebuild : public StageSetFile {
 protected:
  static constexpr int T = 6;
  std::unique_ptr<StageSet> Set = std::make_unique<StageSet>();
  uint8_t& Stored(int c, int r) { return Set->Maps[(T * 60 + c) * 45 + r]; }
  static uint8_t& Slot(int c, int r) { return CustomStageMap[T * 2700 + c * 45 + r]; }
  void LoadSet() {
    const std::string path = PathIn("rebuild.plvsd");
    ASSERT_TRUE(WriteStageSetFile(path, *Set));
    ASSERT_EQ(LoadCustomSetFile(path), StageSetRead);
  }
};

TEST_F(CustomStageRebuild, ARestartGivesBackWhatPlayUsedUpAndNothingElse) {
  Stored(2, 40) = StartPoint;
  Stored(50, 40) = GoalFlag;
  struct Case {
    const char* what;
    int c, r;
    uint8_t stored, inPlay, afterRestart;
  } cases[] = {
      {"broken breakable block", 10, 30, BreakableBlock, Empty, BreakableBlock},
      {"used balloon block", 12, 30, BalloonBlock12, Block, BalloonBlock12},
      {"the count balloon it released", 12, 29, Empty, CountBalloon12, Empty},
      {"placed count balloon picked up", 14, 30, CountBalloon24, Empty, CountBalloon24},
      {"pressed save block", 16, 30, SaveBlock1, SaveBlockPressed1, SaveBlockPressed1},
      {"lock block of the file", 18, 30, LockBlock1, Empty, Empty},
      {"id 200 of the file", 20, 30, 200, 200, 200},
  };
  for (const Case& c : cases) Stored(c.c, c.r) = c.stored;
  LoadSet();
  Play.PlayPhase = 0;
  ASSERT_EQ(PrepareCustomStage(T), nullptr);
  EXPECT_EQ(Slot(18, 30), Empty);  // a fresh start copies the pristine stage, locks already gone
  EXPECT_EQ(GoalPlaced, 1);
  for (const Case& c : cases) Slot(c.c, c.r) = c.inPlay;
  Play.PlayPhase = 2;
  ASSERT_EQ(PrepareCustomStage(T), nullptr);
  for (const Case& c : cases) EXPECT_EQ(Slot(c.c, c.r), c.afterRestart) << c.what;
}

TEST_F(CustomStageRebuild, AStageWithoutStartOrGoalIsRefusedWithItsMessage) {
  struct Case {
    bool start, goal;
    const char* message;
  } cases[] = {
      {false, false, "主人公が配置されていませんでした。"},
      {false, true, "主人公が配置されていませんでした。"},
      {true, false, "ゴールの旗が配置されていませんでした。"},
      {true, true, nullptr},
  };
  for (const Case& c : cases) {
    *Set = StageSet{};
    if (c.start) Stored(0, 0) = StartPoint;
    if (c.goal) Stored(59, 44) = GoalFlag;
    LoadSet();
    Play.PlayPhase = 0;
    const char* got = PrepareCustomStage(T);  // returns instead of ending the program
    if (c.message == nullptr) EXPECT_EQ(got, nullptr);
    else EXPECT_STREQ(got, c.message);
  }
}

}  // namespace
