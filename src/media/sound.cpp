// Sounds: MP3 and WAV files loaded on the loading thread while asynchronous loading is on. Short ones are
// decoded whole by SDL_mixer and a sound of N voices owns N mixer channels, started in rotation; long MP3 files
// (music) are decoded while they play (sound_stream.cpp), with a decoder per voice. Volumes are float gains on
// the samples (a channel effect, or the streamed mix), not the mixer's 128 volume steps, which would silence
// the quietest volumes of the decibel curve. Without a sound device the mixer plays on SDL's silent dummy
// device, so the game runs, and checks its sounds, on machines without sound.
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
  Mix_Chunk* chunk = nullptr;  // decoded whole; nullptr when streamed or when there is no mixer at all
  StreamedSoundPtr stream;     // decoded while it plays
  std::atomic<float> gain{1.0f};  // of the volume
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
  if (ok && Audio && StreamingReady()) sound->stream = OpenStreamedSound(&bytes, sound->voices);
  if (ok && Audio && sound->stream == nullptr) {
    SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    sound->chunk = source != nullptr ? Mix_LoadWAV_RW(source, 1) : nullptr;
    ok = sound->chunk != nullptr;
  }
  if (sound->stream != nullptr) AddStreamedSound(sound->stream.get());
  sound->state.store(ok ? 0 : -1);
}

// A channel effect: the voice's samples times the sound's gain, at full resolution.
void ApplyGain(int /*channel*/, void* stream, int length, void* sound) {
  float gain = static_cast<Sound*>(sound)->gain.load();
  if (gain == 1.0f) return;
  auto* samples = static_cast<int16_t*>(stream);
  for (int i = 0; i < length / 2; ++i) samples[i] = static_cast<int16_t>(std::lrint(samples[i] * gain));
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

bool VoicePlaying(Sound* sound, int voice) {
  if (!Audio) return false;
  if (sound->stream != nullptr) return StreamVoicePlaying(sound->stream.get(), voice);
  return Mix_Playing(sound->firstChannel + voice) != 0;
}

void StopVoice(Sound* sound, int voice) {
  if (!Audio) return;
  if (sound->stream != nullptr) StopStreamVoice(sound->stream.get(), voice);
  else Mix_HaltChannel(sound->firstChannel + voice);
}

bool StartVoice(Sound* sound, int voice, bool loop) {
  if (sound->stream != nullptr) return StartStreamVoice(sound->stream.get(), voice, loop);
  int channel = sound->firstChannel + voice;
  // The mixer drops a channel's effects whenever it stops, so the gain goes on again with every start.
  Mix_Volume(channel, MIX_MAX_VOLUME);
  Mix_RegisterEffect(channel, ApplyGain, nullptr, sound);
  return Mix_PlayChannel(channel, sound->chunk, loop ? -1 : 0) >= 0;
}

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
  StartStreamMixing();
  return true;
}

void CloseAudio() {
  if (!Audio) return;
  StopStreamMixing();
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
  int voice = sound->current;
  sound->lastChannel = sound->firstChannel + voice;
  if (VoicePlaying(sound, voice)) {
    if (restart == 0) return 0;
    StopVoice(sound, voice);
  }
  if (!Audio || (sound->chunk == nullptr && sound->stream == nullptr)) return 0;
  if (!StartVoice(sound, voice, mode == SoundLoop)) return -1;
  if (mode == SoundWait) {
    while (VoicePlaying(sound, voice)) {
      if (PumpMessages() != 0) break;
      SleepMs(1);
    }
  }
  return 0;
}

int StopSound(SoundHandle handle) {
  Sound* sound = Ready(handle);
  if (sound == nullptr) return -1;
  for (int v = 0; v < sound->voices; ++v) StopVoice(sound, v);
  return 0;
}

int SetSoundVolume(int volume, SoundHandle handle) {
  Sound* sound = Ready(handle);
  if (sound == nullptr) return -1;
  sound->volume = volume < 0 ? 0 : volume > 255 ? 255 : volume;
  sound->gain.store(VolumeToGain(sound->volume));
  if (sound->stream != nullptr) SetStreamGain(sound->stream.get(), sound->gain.load());
  return 0;
}

int IsSoundPlaying(SoundHandle handle) {
  Sound* sound = Ready(handle);
  if (sound == nullptr) return -1;
  for (int v = 0; v < sound->voices; ++v) {
    if (VoicePlaying(sound, v)) return 1;
  }
  return 0;
}

int SoundIsStreamed(SoundHandle handle) {
  Sound* sound = Ready(handle);
  if (sound == nullptr) return -1;
  return sound->stream != nullptr ? 1 : 0;
}

void FreeAllSounds() {
  DrainLoads();
  if (Audio) Mix_HaltChannel(-1);
  RemoveStreamedSounds();
  for (auto& sound : Sounds) {
    if (sound->chunk != nullptr) Mix_FreeChunk(sound->chunk);
  }
  Sounds.clear();
  ChannelsInUse = 0;
}
