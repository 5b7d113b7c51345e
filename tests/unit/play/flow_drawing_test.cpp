// What the in-play flow puts on the surface, and in which order, on SDL's dummy video driver.
#include <algorithm>
#include <cstring>
#include <string>

#include "../media/media_fixture.h"
#include "media/testing.h"
#include "play/inplay_flow.h"
#include "play/playstate.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/savedata.h"
#include "shell/scenes.h"
#include "stage/stagedata.h"

namespace {

constexpr uint32_t White = 0xFFFFFF, Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF;

uint32_t RandomZero() { return 0; }

class FlowDrawingTest : public MediaTest {
 protected:
  void SetUp() override {
    MediaTest::SetUp();
    Play = PlayState{};
    StageWidth = 20;
    StageHeight = 15;
    std::memset(StageMap, 0, sizeof StageMap);
    std::memset(KeyState, 0, sizeof KeyState);
    std::memset(PrevKeyState, 0, sizeof PrevKeyState);
    for (BloodDrop& drop : BloodDrops) drop = BloodDrop{};
    for (DebrisSlot& slot : DebrisSlots) slot = DebrisSlot{};
    BloodState = 0;
    SceneId = 100;
    FadeActive = 0;
    SaveDataPath = nullptr;
    // A full-screen picture that is transparent but for a 20 x 20 patch at (300, 200).
    std::vector<uint32_t> screen(640 * 480, 0);
    for (int y = 200; y < 220; ++y)
      for (int x = 300; x < 320; ++x) screen[y * 640 + x] = 0xFF000000u | Red;
    ImgGameOver = LoadPicture(WritePng("gameover.png", 640, 480, screen).c_str());
    for (uint32_t& p : screen)
      if (p != 0) p = 0xFF000000u | Blue;
    ImgPause = LoadPicture(WritePng("pause.png", 640, 480, screen).c_str());
    ImgLiquid = LoadPicture(WritePng("liquid.png", 4, 4, std::vector<uint32_t>(16, 0xFF000000u | Green)).c_str());
    ASSERT_NE(ImgGameOver, -1);
    ASSERT_NE(ImgPause, -1);
    ASSERT_NE(ImgLiquid, -1);
    DrawRect(0, 0, 640, 480, MakeColor(255, 255, 255), 1);
  }
  void TearDown() override {
    SetRandomOverride(nullptr);
    BloodOn = 0;
    SaveDataPath = "save.dat";
    FreeAllPictures();
    ImgGameOver = ImgPause = ImgLiquid = -1;
    MediaTest::TearDown();
  }
};

TEST_F(FlowDrawingTest, SignboardWindowIsDrawnUnderTheGameOverPicture) {
  Play.SignboardShown = 1;
  Play.DeadState = 5;
  Play.PlayerX = 600;
  Play.PlayerY = 40;
  InPlayFlow();
  EXPECT_EQ(Pixel(305, 205), Red);     // the picture covers the window
  const uint32_t box = Pixel(100, 170);  // the black box at 200/255 over white
  EXPECT_NEAR(static_cast<int>(box >> 16), 55, 2);
  EXPECT_EQ(Pixel(20, 20), White);
}

// White text pixels (the font's edge is dark) in the rectangle of signboard line k.
static int WhiteInLine(int k) {
  std::vector<uint32_t> pixels(540 * 26);
  EXPECT_EQ(ReadSurfacePixels(pixels.data(), 60, 180 + 30 * (k - 1), 540, 26), 0);
  int n = 0;
  for (uint32_t p : pixels) n += (p & 0xFFFFFF) == White;
  return n;
}

TEST_F(FlowDrawingTest, ACustomStageShowsTheLinesOfItsOwnSignboard) {
  Font20Edge = MakeFont(20, -1, FontEdge, -1);
  ASSERT_NE(Font20Edge, -1);
  Play.PlaySource = 1;
  CustomStageIndex = 4;
  std::memset(CustomSignboardText, 0, sizeof CustomSignboardText);
  std::memset(SignboardText, 0, sizeof SignboardText);
  const std::u16string line = u"Signboard three";
  std::copy(line.begin(), line.end(), CustomSignboardText[4][2][1]);
  std::copy(line.begin(), line.end(), SignboardText[2][0]);  // the built-in texts are not looked at
  Play.SignboardShown = 3;
  DrawRect(0, 0, 640, 480, MakeColor(0, 0, 0), 1);
  InPlayFlow();
  EXPECT_EQ(WhiteInLine(1), 0);
  EXPECT_GT(WhiteInLine(2), 30);
  EXPECT_EQ(WhiteInLine(3), 0);
  // An empty signboard shows the empty box.
  Play.SignboardShown = 1;
  DrawRect(0, 0, 640, 480, MakeColor(255, 255, 255), 1);
  InPlayFlow();
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(WhiteInLine(k), 0) << k;
  EXPECT_NEAR(static_cast<int>(Pixel(300, 300) >> 16), 55, 2);
  Play.PlaySource = 0;
  CustomStageIndex = 0;
  FreeAllFonts();
  Font20Edge = -1;
}

TEST_F(FlowDrawingTest, BloodIsDrawnOnlyWhenTheOptionIsOn) {
  SetRandomOverride(RandomZero);
  Play.PlayerX = 200;
  Play.PlayerY = 160;
  for (int on : {0, 1}) {
    BloodOn = static_cast<uint8_t>(on);
    Play.DeadState = 5;
    Play.PlayPhase = 0;
    BloodState = 0;
    DrawRect(0, 0, 640, 480, MakeColor(255, 255, 255), 1);
    InPlayFlow();
    // In the death frame the drops are drawn where they burst from, before they move.
    const uint32_t p = Pixel(208, 176);
    if (on) {
      EXPECT_LT(static_cast<int>(p >> 16), 100) << "blood on";
      EXPECT_EQ((p >> 8) & 0xFF, 0xFFu);
    } else {
      EXPECT_EQ(p, White) << "blood off";
    }
    EXPECT_EQ(BloodState, 2);
  }
}

TEST_F(FlowDrawingTest, PausePictureIsNotDrawnInTheFrameTabClearsThePause) {
  Play.Paused = 1;
  InPlayFlow();
  EXPECT_EQ(Pixel(305, 205), Blue);
  DrawRect(0, 0, 640, 480, MakeColor(255, 255, 255), 1);
  KeyState[KeyTab] = 1;
  InPlayFlow();
  EXPECT_EQ(Play.Paused, 0);
  EXPECT_EQ(Pixel(305, 205), White);
}

}  // namespace
