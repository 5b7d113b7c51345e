// libFuzzer target: save.dat from arbitrary bytes, read at start-up; a save that loads is stored again and
// must read back to the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz_support.h"
#include "shell/savedata.h"

namespace {

struct Values {
  uint8_t Unlocked[32], Music, Effects, Fps, Blood;
  bool operator==(const Values&) const = default;
};

Values Current() {
  Values v;
  std::memcpy(v.Unlocked, StageUnlocked, 32);
  v.Music = MusicOn;
  v.Effects = SoundEffectsOn;
  v.Fps = ShowFps;
  v.Blood = BloodOn;
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = FuzzFile("save.dat");
  FuzzWrite(path, data, size);
  SaveDataPath = path.c_str();
  // The start-up defaults.
  std::memset(StageUnlocked, 0, sizeof StageUnlocked);
  StageUnlocked[30] = StageUnlocked[31] = 0xFF;
  MusicOn = SoundEffectsOn = 1;
  ShowFps = BloodOn = 0;
  try {
    SaveDataIo(0);
  } catch (const FuzzFatal&) {
    return 0;  // refused with the save-data message
  }
  const Values loaded = Current();
  try {
    SaveDataIo(2);
    SaveDataIo(1);
  } catch (const FuzzFatal&) {
    abort();  // what was loaded must store and load again
  }
  if (!(Current() == loaded)) abort();
  return 0;
}
