#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "stage_files.h"

namespace {

using Loader = StageFilesTest;

const std::string LoadFailed = "ステージの読み込みに失敗しました。";

TEST_F(Loader, Stage7ReadsItsTwoFilesByName) {
  char fmf[32], text[32];
  BuiltinStageFileNames(7, fmf, text);
  EXPECT_STREQ(fmf, "data\\map\\stage07.fmf");
  EXPECT_STREQ(text, "data\\map\\stage07.txt");
  // Without an archive the names are served from a "data" folder on the disk.
  Write("data/map/stage07.fmf", FmfBytes(PlayableMap()));
  Write("data/map/stage07.txt", Utf16Text(u"seven\r\n"));
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(Dir);
  LoadBuiltinStage(7);
  std::filesystem::current_path(before);
  EXPECT_EQ(StageWidth, 20);
  EXPECT_EQ(StageHeight, 15);
  EXPECT_EQ(StageMap[2 * 45 + 13], 1);
  EXPECT_EQ(std::u16string(SignboardText[0][0]), u"seven");
}

TEST_F(Loader, TextFilesFillTheSignboardsInFieldOrder) {
  struct Case {
    std::u16string Text;
    std::u16string Board1[4];
    std::u16string Board2Line1;
  };
  const Case cases[] = {
      {u"one\r\ntwo\r\nthree\r\nfour\r\n", {u"one", u"two", u"three", u"four"}, u""},
      {u"a,b,c\r\n", {u"a,b,c", u"", u"", u""}, u""},
      {u"1 2 3 4 5\r\n", {u"1", u"2", u"3", u"4"}, u"5"},
      {u"tab\there\r\n", {u"tab\there", u"", u"", u""}, u""},
  };
  const std::string fmf = Write("s.fmf", FmfBytes(PlayableMap()));
  for (const Case& c : cases) {
    const std::string text = Write("s.txt", Utf16Text(c.Text));
    Load(fmf, text.c_str());
    for (int l = 0; l < 4; ++l) EXPECT_EQ(std::u16string(SignboardText[0][l]), c.Board1[l]);
    EXPECT_EQ(std::u16string(SignboardText[1][0]), c.Board2Line1);
    EXPECT_EQ(std::u16string(SignboardText[3][3]), u"");
  }
}

TEST_F(Loader, AMissingTextFileLeavesEverySignboardEmptyWithoutAMessage) {
  const std::string fmf = Write("s.fmf", FmfBytes(PlayableMap()));
  Load(fmf, Write("s.txt", Utf16Text(u"old\r\n")).c_str());
  Load(fmf, (Dir / "missing.txt").c_str());
  for (auto& board : SignboardText)
    for (auto& line : board) EXPECT_EQ(line[0], u'\0');
}

TEST_F(Loader, ALongSignboardFieldIsCutToFitItsLine) {
  const std::u16string longField(300, u'x');
  const std::string fmf = Write("s.fmf", FmfBytes(PlayableMap()));
  Load(fmf, Write("s.txt", Utf16Text(longField + u"\r\nnext\r\n")).c_str());
  EXPECT_EQ(std::u16string(SignboardText[0][0]).size(), 255u);
  EXPECT_EQ(SignboardText[0][1][0] != u'\0', true);  // the rest of the file is still read
}

TEST_F(Loader, RefusesFilesThatDoNotFitTheMap) {
  const FmfMap good = PlayableMap();
  struct Case {
    const char* Name;
    std::string Bytes;
  };
  FmfMap big(201, 1);
  big.At(0, 0) = 1;
  const Case cases[] = {
      {"bad magic (a space for the underscore)", FmfBytes(good, "FMF ")},
      {"width above 200", FmfBytes(big)},
      {"height above 45", FmfBytes(FmfMap(1, 46))},
      {"size other than width x height", FmfBytes(good, "FMF_", 299)},
      {"negative size", FmfBytes(good, "FMF_", -5)},
      {"negative width", FmfBytes(good, "FMF_", FromMap, -20, -15)},
      {"width and height whose product wraps", FmfBytes(FmfMap(0, 0), "FMF_", 0, 65536, 65536)},
      {"cell data cut short", FmfBytes(good).substr(0, 200)},
      {"header cut short", FmfBytes(good).substr(0, 12)},
  };
  for (const Case& c : cases) EXPECT_EQ(LoadFailure(Write("bad.fmf", c.Bytes)), LoadFailed) << c.Name;
  EXPECT_EQ(LoadFailure((Dir / "absent.fmf").string()), LoadFailed) << "missing file";
}

TEST_F(Loader, StageNumbersOutsideTheThirtyAreRefused) {
  for (int n : {0, 31, -1}) {
    try {
      LoadBuiltinStage(n);
      ADD_FAILURE() << n;
    } catch (const FatalExit& e) {
      EXPECT_EQ(std::string(e.what()), LoadFailed);
    }
  }
}

TEST_F(Loader, AnEmptyMapIsLegalButHasNoStartPoint) {
  EXPECT_EQ(LoadFailure(Write("empty.fmf", FmfBytes(FmfMap(0, 0)))), "主人公が配置されていませんでした。");
  EXPECT_EQ(LoadFailure(Write("empty.fmf", FmfBytes(FmfMap(0, 7)))), "主人公が配置されていませんでした。");
}

TEST_F(Loader, AFullSizeMapLoads) {
  FmfMap map = PlayableMap(200, 45);
  map.At(199, 44) = 188;
  Load(Write("full.fmf", FmfBytes(map)));
  EXPECT_EQ(StageMap[199 * 45 + 44], 188);
}

TEST_F(Loader, MoreMovingSpikesThanTheTableHoldsAreRefused) {
  FmfMap map = PlayableMap(200, 45);
  int spikes = 0;
  for (int r = 0; r < 30 && spikes < 2701; ++r)
    for (int c = 0; c < 200 && spikes < 2701; ++c, ++spikes) map.At(c, r) = 20;
  EXPECT_EQ(LoadFailure(Write("crowded.fmf", FmfBytes(map))), LoadFailed);
  // Exactly as many as the table holds is fine.
  map.At(100, 13) = 0;
  Load(Write("full.fmf", FmfBytes(map)));
  EXPECT_EQ(ObjectCount, 2700);
}

TEST_F(Loader, ASmallerMapLeavesTheRestOfTheLastOneAlone) {
  FmfMap first = PlayableMap(30, 20);
  first.At(25, 5) = 191;
  first.At(5, 17) = 188;
  Load(Write("first.fmf", FmfBytes(first)));
  Load(Write("second.fmf", FmfBytes(PlayableMap(20, 15))));
  EXPECT_EQ(StageWidth, 20);
  EXPECT_EQ(StageHeight, 15);
  EXPECT_EQ(StageMap[25 * 45 + 5], 191);
  EXPECT_EQ(StageMap[5 * 45 + 17], 188);
  EXPECT_EQ(StageMap[2 * 45 + 13], 1);
}

TEST_F(Loader, GoalPlacedFollowsTheFileJustRead) {
  FmfMap map = PlayableMap();
  Load(Write("a.fmf", FmfBytes(map)));
  EXPECT_EQ(GoalPlaced, 1);
  map.At(18, 13) = 0;
  EXPECT_EQ(LoadFailure(Write("b.fmf", FmfBytes(map))), "ゴールの旗が配置されていませんでした。");
  EXPECT_EQ(GoalPlaced, 0);
}

TEST_F(Loader, RestartBringsBackWhatPlayUsedUpAndKeepsPressedSaveBlocks) {
  FmfMap map = PlayableMap();
  map.At(3, 10) = 188;   // breakable block
  map.At(5, 10) = 180;   // balloon block
  map.At(7, 10) = 186;   // count balloon in the map
  map.At(9, 10) = 4;     // save block
  map.At(11, 10) = 93;   // key
  map.At(13, 10) = 90;   // lock
  map.At(15, 10) = 200;  // a reserved id
  const std::string fmf = Write("r.fmf", FmfBytes(map));
  Load(fmf);
  auto cell = [](int c, int r) -> uint8_t& { return StageMap[c * 45 + r]; };
  // What play changed:
  cell(3, 10) = 0;
  cell(5, 10) = 3;
  cell(5, 9) = 184;
  cell(7, 10) = 0;
  cell(9, 10) = 5;
  cell(11, 10) = 0;
  cell(13, 10) = 0;
  cell(15, 10) = 0;
  Play.PlayerX = 300;
  Play.PlayerY = 100;
  Play.PlayPhase = 2;
  Load(fmf);
  EXPECT_EQ(cell(3, 10), 188);
  EXPECT_EQ(cell(5, 10), 180);
  EXPECT_EQ(cell(5, 9), 0);
  EXPECT_EQ(cell(7, 10), 186);
  EXPECT_EQ(cell(9, 10), 5);
  EXPECT_EQ(cell(11, 10), 93);
  EXPECT_EQ(cell(13, 10), 90);
  EXPECT_EQ(cell(15, 10), 0);  // other cells keep their play state
  EXPECT_EQ(Play.PlayerX, 300.0f);
  EXPECT_EQ(Play.PlayerY, 100.0f);
}

}  // namespace
