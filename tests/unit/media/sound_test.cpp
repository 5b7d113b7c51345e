// Sounds on SDL's dummy audio driver: the volume curve, voice rotation, restarts, stopping and volume 0.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>

#include "media/testing.h"
#include "media_fixture.h"

namespace {

TEST(VolumeCurve, DecibelsFromTheByteScale) {
  struct Case {
    int volume;
    double decibels;  // expected attenuation; nan for silence
  } cases[] = {{255, 0.0}, {160, 50.0 * std::log10(160.0 / 255.0)}, {128, 50.0 * std::log10(128.0 / 255.0)},
               {10, -70.32}, {3, -96.47}, {2, -100.0}, {1, -100.0}};
  for (const Case& c : cases) {
    float gain = VolumeToGain(c.volume);
    ASSERT_GT(gain, 0.0f) << c.volume;
    EXPECT_NEAR(20.0 * std::log10(gain), c.decibels, 0.01) << c.volume;
  }
  EXPECT_NEAR(20.0 * std::log10(VolumeToGain(160)), -10.12, 0.01);
  EXPECT_FLOAT_EQ(VolumeToGain(255), 1.0f);
  EXPECT_FLOAT_EQ(VolumeToGain(1), 1e-5f);
  EXPECT_EQ(VolumeToGain(0), 0.0f);
  EXPECT_EQ(VolumeToGain(-5), 0.0f);
  EXPECT_FLOAT_EQ(VolumeToGain(400), 1.0f);
}

using SoundTest = MediaTest;

TEST_F(SoundTest, ThreeVoicesRotateAndTheFourthStartReusesTheFirst) {
  ASSERT_TRUE(AudioOpen());
  SoundHandle jump = LoadSound(WriteWav("jump.wav", 2.0).c_str(), 3);
  ASSERT_NE(jump, -1);
  std::vector<int> channels;
  for (int i = 0; i < 4; ++i) {
    ASSERT_EQ(StartSound(jump, SoundOnce, 1), 0);
    channels.push_back(LastSoundChannel(jump));
  }
  EXPECT_NE(channels[0], channels[1]);
  EXPECT_NE(channels[1], channels[2]);
  EXPECT_NE(channels[0], channels[2]);
  EXPECT_EQ(channels[3], channels[0]);
  EXPECT_EQ(IsSoundPlaying(jump), 1);
}

TEST_F(SoundTest, SoundsOwnSeparateChannels) {
  SoundHandle a = LoadSound(WriteWav("a.wav", 0.2).c_str(), 3);
  SoundHandle music = LoadSound(WriteWav("m.wav", 0.2).c_str(), 1);
  ASSERT_NE(a, -1);
  ASSERT_NE(music, -1);
  std::set<int> used;
  for (int i = 0; i < 3; ++i) {
    StartSound(a, SoundOnce, 1);
    used.insert(LastSoundChannel(a));
  }
  StartSound(music, SoundLoop, 1);
  int musicChannel = LastSoundChannel(music);
  EXPECT_EQ(used.count(musicChannel), 0u);
  StartSound(music, SoundLoop, 1);
  EXPECT_EQ(LastSoundChannel(music), musicChannel) << "one voice: a start always restarts the track";
}

TEST_F(SoundTest, VolumeZeroStillPlaysAndStopStopsEveryVoice) {
  SoundHandle music = LoadSound(WriteWav("music.wav", 0.3).c_str(), 1);
  ASSERT_NE(music, -1);
  EXPECT_EQ(IsSoundPlaying(music), 0);
  ASSERT_EQ(StartSound(music, SoundLoop, 1), 0);
  EXPECT_EQ(SetSoundVolume(0, music), 0);
  EXPECT_EQ(IsSoundPlaying(music), 1);
  SleepMs(500);  // longer than the sound: the loop keeps it going
  EXPECT_EQ(IsSoundPlaying(music), 1);
  EXPECT_EQ(StopSound(music), 0);
  EXPECT_EQ(IsSoundPlaying(music), 0);
}

TEST_F(SoundTest, OnceEndsAndWaitModeReturnsAfterTheEnd) {
  SoundHandle blip = LoadSound(WriteWav("blip.wav", 0.1).c_str(), 3);
  ASSERT_NE(blip, -1);
  int t0 = NowMs();
  ASSERT_EQ(StartSound(blip, SoundWait, 1), 0);
  EXPECT_GE(NowMs() - t0, 80);
  EXPECT_EQ(IsSoundPlaying(blip), 0);
  StartSound(blip, SoundOnce, 1);
  EXPECT_EQ(IsSoundPlaying(blip), 1);
  SleepMs(400);
  EXPECT_EQ(IsSoundPlaying(blip), 0);
}

TEST_F(SoundTest, FailuresAndInvalidHandles) {
  EXPECT_EQ(LoadSound((folder_ + "/missing.mp3").c_str(), 3), -1);
  for (SoundHandle bad : {-1, 0, 12345}) {
    EXPECT_EQ(StartSound(bad, SoundOnce, 1), -1);
    EXPECT_EQ(StopSound(bad), -1);
    EXPECT_EQ(SetSoundVolume(100, bad), -1);
    EXPECT_EQ(IsSoundPlaying(bad), -1);
  }
}

TEST_F(SoundTest, AsynchronousLoadsCountWithPictures) {
  std::string good = WriteWav("good.wav", 0.1);
  SetAsyncLoading(1);
  SoundHandle a = LoadSound(good.c_str(), 3);
  SoundHandle b = LoadSound((folder_ + "/missing.wav").c_str(), 1);
  SetAsyncLoading(0);
  ASSERT_NE(a, -1);
  ASSERT_NE(b, -1);
  while (PendingLoadCount() > 0) SleepMs(1);
  EXPECT_EQ(HandleLoadState(a), 0);
  EXPECT_EQ(HandleLoadState(b), -1);
  EXPECT_EQ(StartSound(a, SoundOnce, 1), 0);
  EXPECT_EQ(StartSound(b, SoundOnce, 1), -1);
}

}  // namespace
