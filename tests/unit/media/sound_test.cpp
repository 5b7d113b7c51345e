// Sounds on SDL's dummy audio driver: the volume curve on the samples, voice rotation, restarts, stopping and
// volume 0, and music decoded while it plays.
#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
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


// ---- volumes on the samples, and music decoded while it plays

// What reaches the device: the whole mix, caught after mixing.
std::atomic<int> MixPeak{0};
void CatchPeak(void*, Uint8* stream, int length) {
  auto* samples = reinterpret_cast<int16_t*>(stream);
  int peak = MixPeak.load();
  for (int i = 0; i < length / 2; ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
  MixPeak.store(peak);
}

// The loudest sample of a sound looped at a volume, as the device got it over a few buffers.
int PeakAtVolume(SoundHandle sound, int volume) {
  EXPECT_EQ(SetSoundVolume(volume, sound), 0);
  EXPECT_EQ(StartSound(sound, SoundLoop, 1), 0);
  SleepMs(60);  // buffers mixed before the start took effect
  MixPeak.store(0);
  SleepMs(150);
  StopSound(sound);
  return MixPeak.load();
}

TEST_F(SoundTest, EffectVolumesFollowTheDecibelCurveBelowTheMixersSteps) {
  ASSERT_TRUE(AudioOpen());
  const int amplitude = 30000;
  SoundHandle tone = LoadSound(WriteWav("tone.wav", 0.5, amplitude).c_str(), 3);
  ASSERT_NE(tone, -1);
  ASSERT_EQ(SoundIsStreamed(tone), 0);
  Mix_SetPostMix(CatchPeak, nullptr);
  // 27 and 10 were silent with the mixer's 128 volume steps; 1 is -100 dB, below one 16-bit step.
  for (int volume : {255, 160, 27, 10}) {
    double expected = amplitude * VolumeToGain(volume);
    EXPECT_NEAR(PeakAtVolume(tone, volume), expected, expected * 0.02 + 1) << volume;
  }
  EXPECT_EQ(PeakAtVolume(tone, 0), 0);
  Mix_SetPostMix(nullptr, nullptr);
}

std::string MusicPath() { return std::string(PELVORO_SOURCE_DIR) + "/assets/bgm/title.mp3"; }

// The track decoded whole by the mixer, as it was before music was streamed: interleaved stereo.
std::vector<int16_t> WholeTrack(const std::string& path) {
  Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
  if (chunk == nullptr) return {};
  auto* samples = reinterpret_cast<int16_t*>(chunk->abuf);
  std::vector<int16_t> track(samples, samples + chunk->alen / 2);
  Mix_FreeChunk(chunk);
  return track;
}

// The streamed mix in device-sized pieces, as the audio thread pulls it.
std::vector<int16_t> Pull(size_t frames) {
  std::vector<int16_t> out(frames * 2);
  for (size_t at = 0; at < frames; at += 1024) {
    size_t n = std::min<size_t>(1024, frames - at);
    PullStreamedMix(out.data() + at * 2, static_cast<int>(n));
  }
  return out;
}

class StreamedMusicTest : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_NE(Mix_QuerySpec(&frequency, &format, &channels), 0);
    ASSERT_EQ(frequency, 44100);
    ASSERT_EQ(channels, 2);
    PauseStreamMixing(true);
  }
  void TearDown() override {
    PauseStreamMixing(false);
    SoundTest::TearDown();
  }
};

TEST_F(StreamedMusicTest, TheLoopIsTheWholeDecodedTrackSampleForSample) {
  std::vector<int16_t> track = WholeTrack(MusicPath());
  ASSERT_GT(track.size(), 44100u * 2 * 10);
  size_t frames = track.size() / 2;
  SoundHandle music = LoadSound(MusicPath().c_str(), 1);
  ASSERT_NE(music, -1);
  ASSERT_EQ(SoundIsStreamed(music), 1);
  ASSERT_EQ(StartSound(music, SoundLoop, 1), 0);
  std::vector<int16_t> heard = Pull(frames * 2 + 3000);
  ASSERT_TRUE(std::equal(track.begin(), track.end(), heard.begin())) << "first pass";
  ASSERT_TRUE(std::equal(track.begin(), track.end(), heard.begin() + track.size())) << "second pass";
  ASSERT_TRUE(std::equal(track.begin(), track.begin() + 6000, heard.begin() + 2 * track.size())) << "third";
  EXPECT_EQ(IsSoundPlaying(music), 1);

  // Played once it ends after one pass; a start restarts it from the beginning.
  ASSERT_EQ(StartSound(music, SoundOnce, 1), 0);
  heard = Pull(frames + 4096);
  EXPECT_TRUE(std::equal(track.begin(), track.end(), heard.begin()));
  EXPECT_TRUE(std::all_of(heard.begin() + track.size(), heard.end(), [](int16_t s) { return s == 0; }));
  EXPECT_EQ(IsSoundPlaying(music), 0);
  ASSERT_EQ(StartSound(music, SoundLoop, 1), 0);
  Pull(50000);
  ASSERT_EQ(StartSound(music, SoundLoop, 1), 0);
  heard = Pull(4096);
  EXPECT_TRUE(std::equal(heard.begin(), heard.end(), track.begin())) << "restart";
  EXPECT_EQ(StopSound(music), 0);
  EXPECT_EQ(IsSoundPlaying(music), 0);
  heard = Pull(1024);
  EXPECT_TRUE(std::all_of(heard.begin(), heard.end(), [](int16_t s) { return s == 0; }));
}

TEST_F(StreamedMusicTest, VolumeIsAFloatGainAndTwoTracksMix) {
  std::vector<int16_t> track = WholeTrack(MusicPath());
  ASSERT_FALSE(track.empty());
  SoundHandle a = LoadSound(MusicPath().c_str(), 1);
  SoundHandle b = LoadSound(MusicPath().c_str(), 1);
  ASSERT_EQ(SoundIsStreamed(a), 1);
  const size_t skip = 44100 * 4;  // into the music, where it is loud
  const size_t frames = 8192;
  for (int volume : {160, 27, 10, 0}) {
    SCOPED_TRACE(volume);
    float gain = VolumeToGain(volume);
    ASSERT_EQ(SetSoundVolume(volume, a), 0);
    ASSERT_EQ(StartSound(a, SoundLoop, 1), 0);
    std::vector<int16_t> heard = Pull(skip + frames);
    int mismatches = 0, nonzero = 0;
    for (size_t i = skip * 2; i < heard.size(); ++i) {
      if (std::abs(heard[i] - std::lrint(track[i] * gain)) > 0) ++mismatches;
      if (heard[i] != 0) ++nonzero;
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(nonzero > 0, volume > 0);
    EXPECT_EQ(IsSoundPlaying(a), 1);
    StopSound(a);
  }
  // Two tracks at once (a fade into the next scene's music): both are heard, added.
  SetSoundVolume(160, a);
  SetSoundVolume(255, b);
  StartSound(a, SoundLoop, 1);
  StartSound(b, SoundLoop, 1);
  std::vector<int16_t> heard = Pull(skip + frames);
  int mismatches = 0;
  for (size_t i = skip * 2; i < heard.size(); ++i) {
    long sum = std::lrint(track[i] + track[i] * VolumeToGain(160));
    if (heard[i] != std::clamp(sum, -32768L, 32767L)) ++mismatches;
  }
  EXPECT_EQ(mismatches, 0);
}

TEST_F(StreamedMusicTest, ShortAndDamagedFiles) {
  // An effect-length MP3 is decoded whole; bytes that are no MP3 fail as before.
  SoundHandle effect = LoadSound((std::string(PELVORO_SOURCE_DIR) + "/assets/se/gameover.mp3").c_str(), 3);
  ASSERT_NE(effect, -1);
  EXPECT_EQ(SoundIsStreamed(effect), 0);
  std::string junk = folder_ + "/junk.mp3";
  FILE* f = std::fopen(junk.c_str(), "wb");
  for (int i = 0; i < 200000; ++i) std::fputc((i * 7919) & 0xFF, f);
  std::fclose(f);
  EXPECT_EQ(LoadSound(junk.c_str(), 1), -1);
}

}  // namespace
