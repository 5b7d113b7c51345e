// Long MP3 files (the music) are kept as their file bytes and decoded while they play, a little ahead of the
// sound device, instead of being decoded whole at load: some 11 MB less memory per minute of stereo and no
// decoding at start-up. Every voice has its own decoder on the shared bytes. The mixer's music hook mixes all
// playing voices, each with its float gain, before the mixer adds the sound effects' channels. A looped voice
// seeks its decoder back to the start when it runs out; the decoder leaves out the encoder's delay and
// padding both times, so the loop has exactly the samples of the whole-decoded track.
#include <SDL2/SDL_mixer.h>
#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

#include "media/internal.h"

namespace media {

struct StreamVoice {
  struct Reader {
    const std::string* bytes = nullptr;
    size_t position = 0;
  } reader;
  mpg123_handle* decoder = nullptr;
  SDL_AudioStream* converter = nullptr;  // the file's rate and channels to the device's
  bool playing = false;
  bool loop = false;
  bool ended = false;  // the decoder is at the end and the converter flushed (a voice played once)
  bool decodedSinceStart = false;  // a file that gives no samples at all must not loop forever
};

struct StreamedSound {
  std::string bytes;
  int rate = 0, channels = 0;
  int64_t frames = 0;  // the track's length in sample frames, without the encoder's delay and padding
  std::vector<StreamVoice> voices;
  std::atomic<float> gain{1.0f};
  ~StreamedSound();
};

}  // namespace media

using namespace media;

namespace {

// Shorter MP3 files (the sound effects) are decoded whole: they are small and start on the exact sample.
constexpr double StreamAboveSeconds = 10.0;

std::mutex Lock;  // the voices' play state and decoders, between the main thread and the audio thread
std::vector<StreamedSound*> Sounds;  // every streamed sound that may be playing
std::atomic<bool> Hooked{false};
bool MixingPaused = false;
SDL_AudioSpec Device{};  // what the mixer outputs (16-bit only: it is opened that way)

ssize_t ReadBytes(void* handle, void* buffer, size_t count) {
  auto* reader = static_cast<StreamVoice::Reader*>(handle);
  size_t left = reader->bytes->size() - reader->position;
  if (count > left) count = left;
  std::memcpy(buffer, reader->bytes->data() + reader->position, count);
  reader->position += count;
  return static_cast<ssize_t>(count);
}

off_t SeekBytes(void* handle, off_t offset, int whence) {
  auto* reader = static_cast<StreamVoice::Reader*>(handle);
  off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<off_t>(reader->position)
                                                           : static_cast<off_t>(reader->bytes->size());
  off_t target = base + offset;
  if (target < 0 || target > static_cast<off_t>(reader->bytes->size())) return -1;
  reader->position = static_cast<size_t>(target);
  return target;
}

// A decoder on the bytes, 16-bit output at the file's own rate and channels; nullptr when they are no MP3.
mpg123_handle* OpenDecoder(StreamVoice::Reader* reader) {
  int error = 0;
  mpg123_handle* decoder = mpg123_new(nullptr, &error);
  if (decoder == nullptr) return nullptr;
  mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
  mpg123_format_none(decoder);
  const long* rates = nullptr;
  size_t count = 0;
  mpg123_rates(&rates, &count);
  for (size_t i = 0; i < count; ++i) mpg123_format(decoder, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
  if (mpg123_replace_reader_handle(decoder, ReadBytes, SeekBytes, nullptr) != MPG123_OK ||
      mpg123_open_handle(decoder, reader) != MPG123_OK) {
    mpg123_delete(decoder);
    return nullptr;
  }
  return decoder;
}

// Decodes until the voice's converter holds bytes for the device, or the track has ended.
void Refill(StreamVoice* voice, int wanted) {
  unsigned char buffer[8192];
  while (!voice->ended && SDL_AudioStreamAvailable(voice->converter) < wanted) {
    size_t done = 0;
    int result = mpg123_read(voice->decoder, buffer, sizeof buffer, &done);
    if (done > 0) {
      SDL_AudioStreamPut(voice->converter, buffer, static_cast<int>(done));
      voice->decodedSinceStart = true;
    }
    if (result == MPG123_OK || result == MPG123_NEW_FORMAT) continue;
    // The end, or a damaged frame it cannot get past: a looped voice starts over, any other one ends.
    bool restarted = voice->loop && result == MPG123_DONE && voice->decodedSinceStart &&
                     mpg123_seek(voice->decoder, 0, SEEK_SET) == 0;
    voice->decodedSinceStart = false;
    if (!restarted) {
      SDL_AudioStreamFlush(voice->converter);
      voice->ended = true;
    }
  }
}

// The mixer's music hook: the buffer arrives as silence; every playing voice is added with its gain.
void MixVoices(void* /*unused*/, Uint8* stream, int length) {
  std::lock_guard<std::mutex> hold(Lock);
  if (MixingPaused) return;
  MixStreamedSounds(stream, length);
}

}  // namespace

namespace media {

StreamedSound::~StreamedSound() {
  for (StreamVoice& voice : voices) {
    if (voice.decoder != nullptr) mpg123_delete(voice.decoder);
    if (voice.converter != nullptr) SDL_FreeAudioStream(voice.converter);
  }
}

void MixStreamedSounds(Uint8* stream, int length) {
  auto* out = reinterpret_cast<int16_t*>(stream);
  int samples = length / 2;
  static std::vector<int16_t> voiceSamples;
  voiceSamples.resize(samples);
  for (StreamedSound* sound : Sounds) {
    float gain = sound->gain.load();
    for (StreamVoice& voice : sound->voices) {
      if (!voice.playing) continue;
      Refill(&voice, length);
      int got = SDL_AudioStreamGet(voice.converter, voiceSamples.data(), length);
      if (got < length) voice.playing = false;  // a voice played once has run out
      int n = got > 0 ? got / 2 : 0;
      for (int i = 0; i < n; ++i) {
        float mixed = out[i] + voiceSamples[i] * gain;
        out[i] = static_cast<int16_t>(std::clamp(std::lrint(mixed), -32768L, 32767L));
      }
    }
  }
}

// Measures the track (a scan of the frame headers, no decoding) and makes the voices' decoders and
// converters; false when the bytes are no MP3 or too short to stream.
static bool PrepareVoices(StreamedSound* sound, int voices) {
  StreamVoice::Reader probe{&sound->bytes, 0};
  mpg123_handle* decoder = OpenDecoder(&probe);
  if (decoder == nullptr) return false;
  long rate = 0;
  int channels = 0, encoding = 0;
  bool ok = mpg123_scan(decoder) == MPG123_OK && mpg123_getformat(decoder, &rate, &channels, &encoding) == MPG123_OK;
  off_t frames = ok ? mpg123_length(decoder) : 0;
  mpg123_delete(decoder);
  if (!ok || frames <= 0 || frames < StreamAboveSeconds * rate) return false;
  sound->rate = static_cast<int>(rate);
  sound->channels = channels;
  sound->frames = frames;
  sound->voices.resize(voices);
  for (StreamVoice& voice : sound->voices) {
    voice.reader.bytes = &sound->bytes;
    voice.decoder = OpenDecoder(&voice.reader);
    if (voice.decoder == nullptr) return false;
    // Held to the first frame's format, the one the converter expects.
    mpg123_format_none(voice.decoder);
    mpg123_format(voice.decoder, rate, channels, MPG123_ENC_SIGNED_16);
    voice.converter = SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(channels), static_cast<int>(rate),
                                         Device.format, Device.channels, Device.freq);
    if (voice.converter == nullptr) return false;
  }
  return true;
}

void FreeStreamedSound::operator()(StreamedSound* sound) const { delete sound; }

StreamedSoundPtr OpenStreamedSound(std::string* bytes, int voices) {
  StreamedSoundPtr sound(new StreamedSound);
  sound->bytes.swap(*bytes);
  if (PrepareVoices(sound.get(), voices)) return sound;
  bytes->swap(sound->bytes);
  return nullptr;
}

bool StreamingReady() { return Hooked; }

void StartStreamMixing() {
  int frequency = 0, channels = 0;
  Uint16 format = 0;
  if (Mix_QuerySpec(&frequency, &format, &channels) == 0 || format != AUDIO_S16SYS) return;
  Device.freq = frequency;
  Device.channels = static_cast<Uint8>(channels);
  Device.format = format;
  Mix_HookMusic(MixVoices, nullptr);
  Hooked = true;
}

void StopStreamMixing() {
  if (!Hooked) return;
  Mix_HookMusic(nullptr, nullptr);
  Hooked = false;
  std::lock_guard<std::mutex> hold(Lock);
  for (StreamedSound* sound : Sounds) {
    for (StreamVoice& voice : sound->voices) voice.playing = false;
  }
}

void AddStreamedSound(StreamedSound* sound) {
  std::lock_guard<std::mutex> hold(Lock);
  Sounds.push_back(sound);
}

void RemoveStreamedSounds() {
  std::lock_guard<std::mutex> hold(Lock);
  Sounds.clear();
}

bool StartStreamVoice(StreamedSound* sound, int voice, bool loop) {
  std::lock_guard<std::mutex> hold(Lock);
  StreamVoice& v = sound->voices[voice];
  SDL_AudioStreamClear(v.converter);
  v.playing = false;
  if (mpg123_seek(v.decoder, 0, SEEK_SET) < 0) return false;
  v.loop = loop;
  v.ended = false;
  v.decodedSinceStart = false;
  v.playing = true;
  return true;
}

void StopStreamVoice(StreamedSound* sound, int voice) {
  std::lock_guard<std::mutex> hold(Lock);
  sound->voices[voice].playing = false;
}

bool StreamVoicePlaying(StreamedSound* sound, int voice) {
  std::lock_guard<std::mutex> hold(Lock);
  return sound->voices[voice].playing;
}

void SetStreamGain(StreamedSound* sound, float gain) { sound->gain.store(gain); }

int64_t StreamedFrames(const StreamedSound* sound) { return sound->frames; }

}  // namespace media

void PauseStreamMixing(bool paused) {
  std::lock_guard<std::mutex> hold(Lock);
  MixingPaused = paused;
}

void PullStreamedMix(int16_t* out, int frames) {
  std::lock_guard<std::mutex> hold(Lock);
  int length = frames * Device.channels * 2;
  std::memset(out, 0, length);
  MixStreamedSounds(reinterpret_cast<Uint8*>(out), length);
}
