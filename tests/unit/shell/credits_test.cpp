#include "menu_fixture.h"
#include "shell/credits.h"

class CreditsTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    SceneId = 105;
    CreditsScrollY = 480.0f;
    CreditsMusicVolume = 160;
  }
  // Frames until the music starts fading (the first frame that lowers the volume), holding these keys.
  static int FramesBeforeFade(std::initializer_list<int> held) {
    int frames = 0;
    while (CreditsMusicVolume == 160 && frames < 10000) {
      Frame(held, UpdateCredits);
      ++frames;
    }
    return frames - 1;
  }
};

TEST_F(CreditsTest, NormalSpeedFadesAfter3840Frames) { EXPECT_EQ(FramesBeforeFade({}), 3840); }

TEST_F(CreditsTest, HoldingEnterOrZFadesAfter960Frames) {
  EXPECT_EQ(FramesBeforeFade({KeyEnter}), 960);
  SetUp();
  EXPECT_EQ(FramesBeforeFade({KeyZ}), 960);
}

TEST_F(CreditsTest, MusicStepsDownToOneThenStopsAndLeaves) {
  FramesBeforeFade({KeyEnter});
  // The fade's first frame set 160 and left 159.
  EXPECT_EQ(CreditsMusicVolume, 159);
  int expected = 159;
  while (SceneId == 105 && expected > -10) {
    Frame({}, UpdateCredits);
    --expected;
    ASSERT_EQ(CreditsMusicVolume, expected);
  }
  EXPECT_EQ(SceneId, 106);
  EXPECT_EQ(CreditsMusicVolume, 0);  // volumes 160 .. 1 were set, 160 frames in all
}

TEST_F(CreditsTest, ScrollsHalfAPixelOrTwoPixels) {
  Frame({}, UpdateCredits);
  EXPECT_FLOAT_EQ(CreditsScrollY, 479.5f);
  Frame({KeyEnter}, UpdateCredits);
  EXPECT_FLOAT_EQ(CreditsScrollY, 477.5f);
  Frame({KeyEnter, KeyZ}, UpdateCredits);
  EXPECT_FLOAT_EQ(CreditsScrollY, 475.5f);
  FadeActive = 1;  // the credits do not test it
  Frame({KeyZ}, UpdateCredits);
  EXPECT_FLOAT_EQ(CreditsScrollY, 473.5f);
}
