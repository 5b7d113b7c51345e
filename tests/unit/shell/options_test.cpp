#include <fstream>
#include <iterator>
#include <vector>

#include "menu_fixture.h"

class OptionsTest : public MenuTest {
 protected:
  std::vector<uint8_t> SaveFile() {
    std::ifstream in(SaveDataPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

TEST_F(OptionsTest, MenuOpensOptionsOnTheFirstRowInTheSameFrame) {
  SceneId = 20;
  MenuCursor = 3;
  std::memset(KeyState, 0, sizeof KeyState);
  KeyState[KeyEnter] = 1;
  UpdateMenuScenes();
  EXPECT_EQ(SceneId, 40);
  EXPECT_EQ(MenuCursor, 0);
  EXPECT_EQ(ShowFps, 0);  // Enter was not seen again by the options section
  EXPECT_EQ(MusicOn, 1);
}

TEST_F(OptionsTest, CursorClampsAtBothEnds) {
  SceneId = 40;
  MenuCursor = 0;
  Press({KeyUp});
  EXPECT_EQ(MenuCursor, 0);
  for (int i = 0; i < 7; ++i) Press({KeyDown});
  EXPECT_EQ(MenuCursor, 4);
}

TEST_F(OptionsTest, EnterTogglesEachSwitch) {
  uint8_t* switches[] = {&MusicOn, &SoundEffectsOn, &ShowFps, &BloodOn};
  for (int row = 0; row < 4; ++row) {
    SCOPED_TRACE(row);
    SceneId = 40;
    MenuCursor = row;
    const uint8_t before = *switches[row];
    Press({KeyEnter});
    EXPECT_EQ(*switches[row], before ^ 1);
    Press({KeyEnter});
    EXPECT_EQ(*switches[row], before);
    EXPECT_EQ(SceneId, 40);
  }
}

// Switches change in memory at once, but reach the save file only when the screen is left through "もどる".
TEST_F(OptionsTest, SwitchesReachTheSaveFileOnlyThroughBack) {
  SaveDataIo(0);  // a new save file
  const std::vector<uint8_t> fresh = SaveFile();
  ASSERT_EQ(fresh.size(), 46u);
  SceneId = 40;
  MenuCursor = 2;
  Press({KeyEnter});  // FPS on
  Press({KeyDown});
  Press({KeyEnter});  // blood on
  EXPECT_EQ(ShowFps, 1);
  EXPECT_EQ(BloodOn, 1);
  EXPECT_EQ(SaveFile(), fresh);
  Press({KeyDown});
  ASSERT_EQ(MenuCursor, 4);
  Frame({KeyEnter});
  EXPECT_EQ(SceneId, 20);
  EXPECT_EQ(MenuCursor, 3);  // back on "オプション"
  const std::vector<uint8_t> saved = SaveFile();
  ASSERT_EQ(saved.size(), 46u);
  EXPECT_EQ(saved[42], 1);
  EXPECT_EQ(saved[43], 1);
  EXPECT_EQ(saved[44], 1);
  EXPECT_EQ(saved[45], 1);
  // Loading it back gives the switches as they were left.
  ShowFps = BloodOn = 0;
  SaveDataIo(1);
  EXPECT_EQ(ShowFps, 1);
  EXPECT_EQ(BloodOn, 1);
}
