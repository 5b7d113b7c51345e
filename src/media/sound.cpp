// Sounds: MP3 and WAV files decoded whole by SDL_mixer at load (on the loading thread while asynchronous
// loading is on). A sound of N voices owns N mixer channels and starts them in rotation. Without a sound device
// the mixer plays on SDL's silent dummy device, so the game runs, and checks its sounds, on machines without
// sound.
#include <SDL2/SDL_mixer.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "media/internal.h"
#include "media/testing.h"

using namespace media;

namespace {

struct Sound {
  std::atomic<int> state{1};  // 1 loading, 0 ready, -1 failed
  Mix_Chunk* chunk = nullptr;  // nullptr when not even the dummy device could be opened
  int firstChannel = 0;
  int voices = 1;
  int current = 0;  // the voice started last; the next start uses the one after it
  int volume = 255;
  int lastChannel = -1;
};

std::vector<std::unique_ptr<Sound>> Sounds;
int ChannelsInUse = 0;
bool Audio = false;

void Decode(Sound* sound, const std::string& path) {
  std::string bytes;
  bool ok = ReadWholeDataFile(path.c_str(), &bytes) && !bytes.empty();
  if (ok && Audio) {
    SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    sound->chunk = source != nullptr ? Mix_LoadWAV_RW(source, 1) : nullptr;
    ok = sound->chunk != nullptr;
  }
  sound->state.store(ok ? 0 : -1);
}

// Every sound operation starts here: it waits while the window is inactive and for the sound's load.
Sound* Ready(SoundHandle handle) {
  GuardActive();
  int index = HandleIndex(handle, KindSound);
  if (index < 0 || index >= static_cast<int>(Sounds.size())) return nullptr;
  Sound* sound = Sounds[index].get();
  if (sound->state.load() == 1) WaitForLoad(sound->state);
  return sound->state.load() == 0 ? sound : nullptr;
}

int MixerVolume(int volume) { return static_cast<int>(std::lround(VolumeToGain(volume) * MIX_MAX_VOLUME)); }

bool Playing(int channel) { return Audio && Mix_Playing(channel) != 0; }

}  // namespace

namespace media {

// A machine without a sound device plays on SDL's silent dummy device, so that every sound is still decoded
// (a damaged file is found at start-up on every machine) and behaves the same, only without being heard.
static bool OpenMixer(const char* driver) {
  if (driver != nullptr) SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver, SDL_HINT_OVERRIDE);
  bool open = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (open && Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
    SDL_Log("no sound device: %s", Mix_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open = false;
  }
  if (driver != nullptr) SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  return open;
}

bool OpenAudio() {
  if (Audio) return true;
  Mix_Init(MIX_INIT_MP3);
  if (!OpenMixer(nullptr) && !OpenMixer("dummy")) {
    Mix_Quit();
    return false;
  }
  Audio = true;
  if (ChannelsInUse > 0) Mix_AllocateChannels(ChannelsInUse);
  return true;
}

void CloseAudio() {
  if (!Audio) return;
  Mix_HaltChannel(-1);
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  Audio = false;
}

// The child of a fork has no audio thread: it must never reach the mixer.
void ForgetAudioInChild() { Audio = false; }

int SoundLoadState(int handle) {
  int index = HandleIndex(handle, KindSound);
  if (index < 0 || index >= static_cast<int>(Sounds.size())) return -1;
  return Sounds[index]->state.load();
}

}  // namespace media

bool AudioOpen() { return Audio; }

int LastSoundChannel(SoundHandle handle) {
  Sound* sound = Ready(handle);
  return sound != nullptr ? sound->lastChannel : -1;
}

float VolumeToGain(int volume) {
  if (volume <= 0) return 0.0f;
  if (volume > 255) volume = 255;
  double decibels = 50.0 * std::log10(volume / 255.0);
  if (decibels < -100.0) decibels = -100.0;
  return static_cast<float>(std::pow(10.0, decibels / 20.0));
}

SoundHandle LoadSound(const char* path, int voices) {
  if (path == nullptr) return -1;
  if (voices < 1) voices = 1;
  auto sound = std::make_unique<Sound>();
  Sound* raw = sound.get();
  raw->voices = voices;
  raw->current = voices - 1;
  if (AsyncLoadingOn()) {
    QueueLoad([raw, file = std::string(path)] { Decode(raw, file); });
  } else {
    Decode(raw, path);
    if (raw->state.load() != 0) return -1;
  }
  // The channels are taken here, on the main thread, so that the loading thread never touches the mixer's
  // channel table.
  raw->firstChannel = ChannelsInUse;
  ChannelsInUse += voices;
  if (Audio) Mix_AllocateChannels(ChannelsInUse);
  Sounds.push_back(std::move(sound));
  return MakeHandle(KindSound, static_cast<int>(Sounds.size()) - 1);
}

int StartSound(SoundHandle handle, int mode, int restart) {
  Sound* sound = Ready(handle);
  if (sound == nullptr) return -1;
  sound->current = (sound->current + 1) % sound->voices;
  int channel = sound->firstChannel + sound->current;
  sound->lastChannel = channel;
  if (Playing(channel)) {
    if (restart == 0) return 0;
    Mix_HaltChannel(channel);
  }
  if (!Audio || sound->chunk == nullptr) return 0;
  Mix_Volume(channel, MixerVolume(sound->volume));
  if (Mix_PlayChannel(channel, sound->chunk, mode == SoundLoop ? -1 : 0) < 0) return -1;
  if (mode == SoundWait) {
    while (Playing(channel)) {
      if (PumpMessages() != 0) break;
      SleepMs(1);
    }
  }
  return 0;
}

int StopSound(SoundHandle handle) {
  Sound* sound = Ready(handle);
  if (sound == nullptr) return -1;
  if (Audio) {
    for (int v = 0; v < sound->voices; ++v) Mix_HaltChannel(sound->firstChannel + v);
  }
  return 0;
}

int SetSoundVolume(int volume, SoundHandle handle) {
  Sound* sound = Ready(handle);
  if (sound == nullptr) return -1;
  sound->volume = volume < 0 ? 0 : volume > 255 ? 255 : volume;
  if (Audio) {
    for (int v = 0; v < sound->voices; ++v) Mix_Volume(sound->firstChannel + v, MixerVolume(sound->volume));
  }
  return 0;
}

int IsSoundPlaying(SoundHandle handle) {
  Sound* sound = Ready(handle);
  if (sound == nullptr) return -1;
  for (int v = 0; v < sound->voices; ++v) {
    if (Playing(sound->firstChannel + v)) return 1;
  }
  return 0;
}

void FreeAllSounds() {
  DrainLoads();
  if (Audio) Mix_HaltChannel(-1);
  for (auto& sound : Sounds) {
    if (sound->chunk != nullptr) Mix_FreeChunk(sound->chunk);
  }
  Sounds.clear();
  ChannelsInUse = 0;
}
