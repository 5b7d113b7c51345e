// The loading screen and the sound routines on the real media layer (SDL's dummy drivers), with the game's
// own pictures and a sound from assets/ standing in for every slot of the tables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "media/media.h"
#include "media/testing.h"
#include "menu_fixture.h"
#include "shell/assets.h"
#include "shell/loading_screen.h"

namespace {

std::string Asset(const char* path) { return std::string(PELVORO_SOURCE_DIR) + "/assets/" + path; }

class AssetsTest : public MenuTest {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    MenuTest::SetUp();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SetDrawingSurface(800, 600, 32, 60), 0);
    SetWindowClientSize(640, 480);
    ASSERT_EQ(InitMedia(), 0);
    SetDrawingEnabled(1);
    ImgLoadingCharacter = LoadPicture(Asset("texture/velmora.png").c_str());
    ImgWait = LoadPicture(Asset("texture/wait.png").c_str());
    GraphHandle picture = LoadPicture(Asset("texture/girl.png").c_str());
    SoundHandle sound = LoadSound(Asset("se/balloon.wav").c_str(), 3);
    ASSERT_NE(ImgLoadingCharacter, -1);
    ASSERT_NE(ImgWait, -1);
    ASSERT_NE(picture, -1);
    ASSERT_NE(sound, -1);
    for (GraphHandle* slot : {&ImgGirl, &ImgMapParts, &ImgBg01, &ImgGameOver, &ImgLiquid, &ImgStageClear,
                              &ImgBg02, &ImgStageSelectBg, &ImgStageSelectObj, &ImgPause, &ImgBg03,
                              &ImgCountBalloon, &ImgTitleScreen, &ImgTitleScreenObj, &ImgBg04, &ImgBg05,
                              &ImgStageSelectObj2, &ImgStageClear2, &ImgAllStageClear})
      *slot = picture;
    for (SoundHandle& slot : SoundEffectHandle) slot = sound;
    for (SoundHandle& slot : MusicHandle) slot = LoadSound(Asset("se/balloon.wav").c_str(), 1);
    Font24 = MakeFont(24, -1, FontEdgeAntialiased, -1);
    Pending0 = 31;  // as if all 31 had been issued; none is pending now
    LoadedCount = 0;
    BarTarget = BarEased = 0;
    AnimFrame = 0;
  }
  void TearDown() override {
    EndMedia();
    MenuTest::TearDown();
  }
  static uint32_t Pixel(int x, int y) {
    uint32_t value = 0;
    EXPECT_EQ(ReadSurfacePixels(&value, x, y, 1, 1), 0);
    return value & 0xFFFFFF;
  }
};

TEST_F(AssetsTest, LoadingCharacterFramesShowThreePassesEach) {
  std::vector<int> frames;
  for (int pass = 0; pass < 19; ++pass) {
    frames.push_back(AnimFrame);
    EXPECT_FALSE(LoadingScreenPass());  // nothing pending: the screen is done
  }
  const std::vector<int> expected = {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 0};
  EXPECT_EQ(frames, expected);
}

TEST_F(AssetsTest, BarFollowsTheLoadsAndThePicturesGlideBehind) {
  LoadingScreenPass();
  EXPECT_EQ(LoadedCount, 31);
  EXPECT_FLOAT_EQ(BarTarget, 1.0f);
  EXPECT_FLOAT_EQ(BarEased, 0.0f);  // eased before the count is taken
  EXPECT_EQ(Pixel(0, 470), 0x00FFC0u);
  EXPECT_EQ(Pixel(639, 470), 0x00FFC0u);
  LoadingScreenPass();
  EXPECT_FLOAT_EQ(BarEased, 0.2f);
  LoadingScreenPass();
  EXPECT_FLOAT_EQ(BarEased, 0.36f);
}

// Nothing issued at all: a full bar, never 0 / 0.
TEST_F(AssetsTest, NothingPendingFromTheStartGivesAFullBar) {
  Pending0 = 0;
  LoadingScreenPass();
  EXPECT_FLOAT_EQ(BarTarget, 1.0f);
  EXPECT_EQ(Pixel(639, 470), 0x00FFC0u);
}

TEST_F(AssetsTest, FailedLoadsEndWithTheMessageOfTheirKind) {
  ImgBg05 = -1;
  EXPECT_EXIT(LoadingScreenPass(), ::testing::ExitedWithCode(255), "テクスチャーの読み込みに失敗しました。");
  MusicHandle[2] = -1;  // pictures are checked first
  EXPECT_EXIT(LoadingScreenPass(), ::testing::ExitedWithCode(255), "テクスチャーの読み込みに失敗しました。");
  ImgBg05 = ImgGirl;
  EXPECT_EXIT(LoadingScreenPass(), ::testing::ExitedWithCode(255), "サウンドの読み込みに失敗しました。");
}

TEST_F(AssetsTest, FatalAssetErrorIgnoresOtherKinds) {
  FatalAssetError(0);
  FatalAssetError(3);
  SUCCEED();
}

TEST_F(AssetsTest, SoundRoutinesHonourTheSwitches) {
  SoundEffectsOn = 0;
  PlaySoundEffect(SeJump);
  EXPECT_EQ(IsSoundPlaying(SoundEffectHandle[SeJump]), 0);
  SoundEffectsOn = 1;
  PlaySoundEffect(SeJump);
  EXPECT_EQ(IsSoundPlaying(SoundEffectHandle[SeJump]), 1);

  MusicOn = 0;
  PlayMusic(2);
  EXPECT_EQ(IsSoundPlaying(MusicHandle[2]), 0);
  MusicOn = 1;
  PlayMusic(0);
  EXPECT_EQ(IsSoundPlaying(MusicHandle[0]), 1);
}

// In the options, music off stops the title music at once, music on starts it again; sound effects switched
// on are confirmed with the confirm sound, switched off silently.
TEST_F(AssetsTest, OptionsSwitchTheTitleMusicAndTheConfirmSound) {
  for (SoundHandle& slot : SoundEffectHandle) slot = LoadSound(Asset("se/balloon.wav").c_str(), 3);
  PlayMusic(0);
  ASSERT_EQ(IsSoundPlaying(MusicHandle[0]), 1);
  SceneId = 40;
  MenuCursor = 0;
  Press({KeyEnter});
  EXPECT_EQ(MusicOn, 0);
  EXPECT_EQ(IsSoundPlaying(MusicHandle[0]), 0);
  Press({KeyEnter});
  EXPECT_EQ(MusicOn, 1);
  EXPECT_EQ(IsSoundPlaying(MusicHandle[0]), 1);

  StopSound(SoundEffectHandle[SeConfirm]);
  MenuCursor = 1;
  Press({KeyEnter});
  EXPECT_EQ(SoundEffectsOn, 0);
  EXPECT_EQ(IsSoundPlaying(SoundEffectHandle[SeConfirm]), 0);
  Press({KeyEnter});
  EXPECT_EQ(SoundEffectsOn, 1);
  EXPECT_EQ(IsSoundPlaying(SoundEffectHandle[SeConfirm]), 1);
}

}  // namespace
