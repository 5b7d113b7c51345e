#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stage/catalogue.h"

namespace {

std::vector<std::u16string> Lines(int id) {
  std::vector<std::u16string> lines;
  for (int i = 0; i < PartHelpLineCount(id); ++i) lines.push_back(PartHelpLine(id, i));
  return lines;
}

TEST(Catalogue, HelpLinesOfSingleIds) {
  struct Case {
    int Id;
    std::vector<std::u16string> Lines;
  };
  const Case cases[] = {
      {0, {u"何もなし。"}},
      {3, {u"ブロック"}},
      {188, {u"頭突きで壊せるブロック"}},
      {4, {u"セーブブロック1です。", u"パーツ(84)辺りから", u"始まります。"}},
      {6, {u"セーブブロック2です。", u"パーツ(85)辺りから", u"始まります。"}},
      {5, {u"セーブブロック1です。", u"既に押された状態。", u"設置しても意味が", u"ありません。"}},
      {19, {u"下向きトゲです。", u"当たるとゲーム", u"オーバーです。"}},
      {57, {u"右向きトゲです。", u"パーツ133(5FRM)に", u"触れるとトゲが", u"動きます。(速い)"}},
      {83, {u"下向きトゲです。", u"パーツ159(8FDM)に", u"触れるとトゲが", u"動きます。(速い)"}},
      {89, {u"パーツ14を頭突きした", u"後にゲームオーバー後", u"に始まるポイントです。"}},
      {118, {u"上向きトゲ(3)(パーツ42)", u"を発動させるポイント", u"です。ここに触れると", u"発動します。(速い)"}},
      {167, {u"トゲです。パーツ16～83", u"とは違いどこから", u"当たってもゲームオーバー", u"です。初期下移動(速い)"}},
      {175, {u"パーツ160～167のトゲを", u"制御するためのパーツ", u"です。下移動(速い)トゲが", u"パーツに触れると変化。"}},
      {179, {u"看板(4)です。自分が", u"近づくとメッセージが", u"表示されます。", u"メッセージ編集はF8キー"}},
      {183, {u"これを頭突きすると", u"カウントバルーンが", u"出てきます。", u"使用時間36秒間有効。"}},
      {185, {u"カウントバルーン12", u"使用時間12秒間有効。"}},
      {190, {u"見えないブロック", u"自分はすり抜ける。", u"パーツ189のトゲ", u"(斜め移動)を跳ね返す物。"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Lines(c.Id), c.Lines) << "id " << c.Id;
}

TEST(Catalogue, LocksKeysAndReservedIdsShareTheNullLines) {
  const std::vector<std::u16string> null = {u"NULLは意味がないので", u"置かないでください。"};
  for (int id = 90; id <= 95; ++id) EXPECT_EQ(Lines(id), null) << id;
  for (int id = 192; id <= 255; ++id) EXPECT_EQ(Lines(id), null) << id;
}

TEST(Catalogue, LineCountsByFamily) {
  for (int id = 180; id <= 183; ++id) EXPECT_EQ(PartHelpLineCount(id), 4);
  for (int id = 184; id <= 187; ++id) EXPECT_EQ(PartHelpLineCount(id), 2);
  for (int id = 0; id < 256; ++id) {
    EXPECT_GE(PartHelpLineCount(id), 1);
    EXPECT_LE(PartHelpLineCount(id), 4);
  }
}

TEST(Catalogue, FamiliesAndParameters) {
  const PartInfo trap = PartInfoOf(57);  // group 5, fast, right
  EXPECT_EQ(trap.Family, PartFamily::TrapSpike);
  EXPECT_EQ(trap.Group, 5);
  EXPECT_EQ(trap.Speed, 1);
  EXPECT_EQ(trap.Direction, DirRight);
  const PartInfo trigger = PartInfoOf(159);
  EXPECT_EQ(trigger.Family, PartFamily::SpikeTrigger);
  EXPECT_EQ(trigger.Group, 8);
  EXPECT_EQ(trigger.Speed, 1);
  EXPECT_EQ(trigger.Direction, DirDown);
  EXPECT_EQ(PartInfoOf(166).Family, PartFamily::RovingSpike);
  EXPECT_EQ(PartInfoOf(166).Speed, 1);
  EXPECT_EQ(PartInfoOf(166).Direction, DirUp);
  EXPECT_EQ(PartInfoOf(170).Family, PartFamily::SpikeTurner);
  EXPECT_EQ(PartInfoOf(13).Family, PartFamily::SaveBlockPressed);
  EXPECT_EQ(PartInfoOf(13).Number, 5);
  EXPECT_EQ(PartInfoOf(86).Number, 3);
  EXPECT_EQ(PartInfoOf(178).Number, 3);
  EXPECT_EQ(PartInfoOf(182).Seconds, 24);
  EXPECT_EQ(PartInfoOf(187).Seconds, 36);
  EXPECT_EQ(PartInfoOf(94).Family, PartFamily::Key);
  EXPECT_EQ(PartInfoOf(94).Number, 2);
  EXPECT_EQ(PartInfoOf(200).Family, PartFamily::NullPart);
  EXPECT_EQ(PartInfoOf(190).Family, PartFamily::InvisibleBlock);
}

TEST(Catalogue, PartnersAndIcons) {
  for (int g = 1; g <= 8; ++g)
    for (int s = 0; s <= 1; ++s)
      for (int d = 0; d <= 3; ++d) {
        const int trap = TrapSpikeId(g, s, d);
        EXPECT_EQ(TriggerOfTrapSpike(trap), SpikeTriggerId(g, s, d));
        EXPECT_EQ(TrapSpikeOfTrigger(TriggerOfTrapSpike(trap)), trap);
      }
  EXPECT_EQ(TriggerOfTrapSpike(83), 159);
  EXPECT_EQ(PressedFormOfSaveBlock(8), 9);
  EXPECT_EQ(RestartPointOfSaveBlock(4), 84);
  EXPECT_EQ(RestartPointOfSaveBlock(14), 89);
  EXPECT_EQ(PartIconX(255), 480);
  EXPECT_EQ(PartIconY(255), 480);
  EXPECT_EQ(PartIconX(17), 32);
  EXPECT_EQ(PartIconY(17), 32);
}

}  // namespace
