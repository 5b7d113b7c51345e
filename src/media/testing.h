// Seams for the media layer's tests and benchmarks: a clock that tests control, and a look at which mixer
// channel a sound used.
#pragma once

#include <cstdint>

#include "media/media.h"

struct ClockHooks {
  int (*nowMs)() = nullptr;
  int64_t (*nowTicks)() = nullptr;
  int64_t (*msToTicks)(int ms) = nullptr;
  void (*sleepMs)(int ms) = nullptr;
};
// Replaces the clock functions that are set (nullptr keeps the real one); an empty ClockHooks restores all.
void SetClockHooks(const ClockHooks& hooks);

// Makes Random return what source returns (a seed cannot give every value, such as a run of zeros);
// nullptr brings the generator back.
void SetRandomOverride(uint32_t (*source)());

// Makes the window active or inactive as a focus change would (the dummy driver never changes focus).
void SetWindowActive(int active);

// The mixer channel of the voice the last StartSound of this sound used, -1 when none.
int LastSoundChannel(SoundHandle handle);
// Whether the audio device is open (sounds still work without one, silently).
bool AudioOpen();

// Stands in for the data folder of an installed game (nullptr: the one beside the executable again) and
// forgets where data.bin was found.
void SetInstalledDataFolder(const char* folder);

// Long music files are decoded while they play. Paused, the audio device gets no streamed samples and the
// decoders stand still, so that a test can pull the streamed mix itself: frames of the device's format
// (interleaved 16-bit samples of every playing streamed voice, with its gain).
void PauseStreamMixing(bool paused);
void PullStreamedMix(int16_t* out, int frames);
// Whether a sound is decoded while it plays; -1 for an invalid handle.
int SoundIsStreamed(SoundHandle handle);
