// Every picture and sound the game loads at start-up is in the built data.bin, decodes through the game's own
// loaders, and has the size its sheet layout needs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "media/media.h"
#include "shell/archive_key.h"

namespace {

struct PictureCase {
  const char* path;
  int width, height;
};

const PictureCase Pictures[] = {
    {"data\\texture\\velmora.png", 240, 80},        {"data\\texture\\wait.png", 200, 120},
    {"data\\texture\\girl.png", 128, 32},           {"data\\texture\\mapparts.png", 512, 64},
    {"data\\texture\\bg01.png", 640, 480},          {"data\\texture\\gameover.png", 640, 480},
    {"data\\texture\\liquid.png", 3, 3},            {"data\\texture\\stageclear.png", 640, 480},
    {"data\\texture\\bg02.png", 640, 480},          {"data\\texture\\stageselectbg.png", 640, 480},
    {"data\\texture\\stageselectobj.png", 540, 440}, {"data\\texture\\pause.png", 640, 480},
    {"data\\texture\\bg03.png", 640, 480},          {"data\\texture\\countballoon.png", 640, 96},
    {"data\\texture\\titlescreen.png", 640, 480},   {"data\\texture\\titlescreenobj.png", 256, 64},
    {"data\\texture\\bg04.png", 640, 480},          {"data\\texture\\bg05.png", 640, 480},
    {"data\\texture\\stageselectobj2.png", 540, 240}, {"data\\texture\\stageclear2.png", 640, 480},
    {"data\\texture\\allstageclear.png", 640, 480}, {"data\\texture\\parts.png", 512, 512},
    {"data\\texture\\scrollbar.png", 60, 40},       {"data\\texture\\icon.png", 64, 64},
};

struct SoundCase {
  const char* path;
  int voices;
};

const SoundCase Sounds[] = {
    {"data\\se\\select.mp3", 3},   {"data\\se\\enter.mp3", 3},       {"data\\se\\jump.mp3", 3},
    {"data\\se\\hatena.mp3", 3},   {"data\\se\\get.mp3", 3},         {"data\\se\\balloon.wav", 3},
    {"data\\se\\crack.wav", 3},    {"data\\se\\gameover.mp3", 3},    {"data\\se\\stageclear.mp3", 3},
    {"data\\bgm\\title.mp3", 1},   {"data\\bgm\\game.mp3", 1},       {"data\\bgm\\staffcredit.mp3", 1},
};

// The media layer is started once, in the build folder where data.bin lies, as the game starts it.
class AssetsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(chdir(PELVORO_BINARY_DIR), 0);
    FILE* archive = std::fopen("data.bin", "rb");
    ASSERT_NE(archive, nullptr) << "no data.bin in " << PELVORO_BINARY_DIR;
    std::fclose(archive);
    SetDrawingSurface(800, 600, 32, 60);
    SetWindowClientSize(640, 480);
    SetWindowedMode(1);
    ASSERT_EQ(InitMedia(), 0);
    SetArchiveExtension("bin");
    SetArchiveKey(UnscrambleGameKey());
  }
  static void TearDownTestSuite() {
    FreeAllPictures();
    FreeAllSounds();
    EndMedia();
  }
};

TEST_F(AssetsTest, EveryPictureLoadsWithItsSheetSize) {
  for (const PictureCase& c : Pictures) {
    SCOPED_TRACE(c.path);
    GraphHandle handle = LoadPicture(c.path);
    ASSERT_NE(handle, -1);
    EXPECT_EQ(HandleLoadState(handle), 0);
    int width = 0, height = 0;
    GetPictureSize(handle, &width, &height);
    EXPECT_EQ(width, c.width);
    EXPECT_EQ(height, c.height);
  }
}

TEST_F(AssetsTest, PicturesLoadedOnTheLoadingThreadToo) {
  SetAsyncLoading(1);
  GraphHandle handles[std::size(Pictures)];
  for (size_t i = 0; i < std::size(Pictures); ++i) handles[i] = LoadPicture(Pictures[i].path);
  SetAsyncLoading(0);
  while (PendingLoadCount() > 0) SleepMs(1);
  for (size_t i = 0; i < std::size(Pictures); ++i) {
    SCOPED_TRACE(Pictures[i].path);
    ASSERT_EQ(HandleLoadState(handles[i]), 0);
    int width = 0, height = 0;
    GetPictureSize(handles[i], &width, &height);
    EXPECT_EQ(width, Pictures[i].width);
    EXPECT_EQ(height, Pictures[i].height);
  }
}

TEST_F(AssetsTest, EverySoundDecodes) {
  for (const SoundCase& c : Sounds) {
    SCOPED_TRACE(c.path);
    SoundHandle handle = LoadSound(c.path, c.voices);
    ASSERT_NE(handle, -1);
    EXPECT_EQ(HandleLoadState(handle), 0);
  }
}

TEST_F(AssetsTest, AMissingFileFailsToLoad) {
  EXPECT_EQ(LoadPicture("data\\texture\\nosuch.png"), -1);
  EXPECT_EQ(LoadSound("data\\se\\nosuch.mp3", 3), -1);
}

}  // namespace
