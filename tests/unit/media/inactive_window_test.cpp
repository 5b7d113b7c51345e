// While the window is inactive every drawing, sound and keyboard operation waits for it; the wait is seen
// through the sleep of the clock, which makes the window active again.
#include <gtest/gtest.h>

#include <functional>

#include "media/testing.h"
#include "media_fixture.h"

namespace {

int Sleeps = 0;

void SleepAndComeBack(int) {
  ++Sleeps;
  SetWindowActive(1);
}

using InactiveWindowTest = MediaTest;

TEST_F(InactiveWindowTest, EveryDrawingSoundAndKeyboardOperationWaits) {
  GraphHandle picture = LoadPicture(WritePng("p.png", 4, 4, std::vector<uint32_t>(16, 0xFF00FF00u)).c_str());
  SoundHandle sound = LoadSound(WriteWav("s.wav", 0.1).c_str(), 2);
  FontHandle font = MakeFont(16, -1, FontPlain, -1);
  ASSERT_NE(picture, -1);
  ASSERT_NE(sound, -1);
  ASSERT_NE(font, -1);
  const Color white = MakeColor(255, 255, 255);
  const struct {
    const char* name;
    std::function<void()> run;
  } operations[] = {
      {"ClearSurface", [] { ClearSurface(); }},
      {"DrawRect", [&] { DrawRect(0, 0, 10, 10, white, 1); }},
      {"DrawLine", [&] { DrawLine(0, 0, 10, 10, white); }},
      {"DrawPicture", [&] { DrawPicture(0, 0, picture, 1); }},
      {"DrawPictureRegion", [&] { DrawPictureRegion(0, 0, 0, 0, 2, 2, picture, 1, 0); }},
      {"DrawPictureRegionCentered", [&] { DrawPictureRegionCentered(8, 8, 0, 0, 4, 4, 1.0, 0.0, picture); }},
      {"DrawTextWithFont", [&] { DrawTextWithFont(0, 0, u"A", white, font, 0, 0); }},
      {"DrawFormattedTextWithFont", [&] { DrawFormattedTextWithFont(0, 0, white, font, u"%d", 1); }},
      {"DrawFormattedText", [&] { DrawFormattedText(0, 0, white, u"%d", 1); }},
      {"PresentFrame", [] { PresentFrame(); }},
      {"StartSound", [&] { StartSound(sound, SoundOnce, 1); }},
      {"StopSound", [&] { StopSound(sound); }},
      {"SetSoundVolume", [&] { SetSoundVolume(128, sound); }},
      {"IsSoundPlaying", [&] { IsSoundPlaying(sound); }},
      {"ReadKeyboard", [] { ReadKeyboard(); }},
  };
  ClockHooks hooks;
  hooks.sleepMs = SleepAndComeBack;
  SetClockHooks(hooks);
  for (const auto& operation : operations) {
    Sleeps = 0;
    SetWindowActive(0);
    operation.run();
    EXPECT_EQ(Sleeps, 1) << operation.name << " did not wait for the window";
    SetWindowActive(1);
  }
  // Active, nothing waits; PumpMessages never does.
  for (const auto& operation : operations) {
    Sleeps = 0;
    operation.run();
    EXPECT_EQ(Sleeps, 0) << operation.name;
  }
  SetWindowActive(0);
  PumpMessages();
  EXPECT_EQ(Sleeps, 0);
  SetWindowActive(1);
  SetClockHooks(ClockHooks{});
}

}  // namespace
