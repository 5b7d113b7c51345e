// "save.dat": 46 bytes, little-endian, read once at start-up and rewritten whole; beside data.bin, or in the
// user's data folder when the game is installed.
#include "shell/savedata.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "media/media.h"

uint8_t StageUnlocked[32] = {};
uint8_t MusicOn = 1;
uint8_t SoundEffectsOn = 1;
uint8_t ShowFps = 0;
uint8_t BloodOn = 0;
const char* SaveDataPath = "save.dat";

namespace {

constexpr char SaveMagic[8] = {'S', 'A', 'V', 'E', 'P', 'L', 'V', '0'};
constexpr uint16_t SaveVersion = 277;
constexpr uint16_t OldestSaveVersion = 256;
constexpr int SaveFileSize = 46;
constexpr char SaveFailedMessage[] = "セーブデータの読み書きに失敗しました。";

[[noreturn]] void SaveDataFailed() { FatalError(SaveFailedMessage, 0); }

// The file image of the globals, in the order of the layout.
void EncodeSaveData(uint8_t out[SaveFileSize]) {
  std::memcpy(out, SaveMagic, 8);
  out[8] = SaveVersion & 0xFF;
  out[9] = SaveVersion >> 8;
  std::memcpy(out + 10, StageUnlocked, 32);
  out[42] = MusicOn;
  out[43] = SoundEffectsOn;
  out[44] = ShowFps;
  out[45] = BloodOn;
}

void StoreSaveData(const char* path) {
  uint8_t image[SaveFileSize];
  EncodeSaveData(image);
  if (!ReplaceFileAtomically(path, image, sizeof image)) SaveDataFailed();
}

void LoadSaveData(const char* path) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) SaveDataFailed();
  // A file cut short leaves the fields it no longer holds as they were; a cut inside the magic or the
  // version fails their check.
  char magic[8] = {};
  size_t got = std::fread(magic, 1, sizeof magic, file);
  if (got != sizeof magic || std::memcmp(magic, SaveMagic, sizeof magic) != 0) {
    std::fclose(file);
    SaveDataFailed();
  }
  uint8_t version[2] = {};
  got = std::fread(version, 1, sizeof version, file);
  unsigned value = version[0] | version[1] << 8;
  if (got != sizeof version || value < OldestSaveVersion || value > SaveVersion) {
    std::fclose(file);
    SaveDataFailed();
  }
  (void)!std::fread(StageUnlocked, 1, sizeof StageUnlocked, file);
  (void)!std::fread(&MusicOn, 1, 1, file);
  (void)!std::fread(&SoundEffectsOn, 1, 1, file);
  (void)!std::fread(&ShowFps, 1, 1, file);
  (void)!std::fread(&BloodOn, 1, 1, file);
  std::fclose(file);
}

void CreateSaveDataIfMissing(const char* path) {
  // What a write killed half-way left beside the file is litter; the file itself is whole.
  RemoveStaleTemporaryFiles(path);
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    struct stat st;
    const bool plainFile = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    close(fd);
    // A folder (or a device) named save.dat cannot be read as one: the defaults stay, as for a file that
    // cannot be opened.
    if (plainFile) LoadSaveData(path);
    return;
  }
  // Any reason other than a missing file (permissions, a folder in the way) keeps the defaults in memory.
  if (errno != ENOENT) return;
  uint8_t image[SaveFileSize] = {};
  std::memcpy(image, SaveMagic, 8);
  image[8] = SaveVersion & 0xFF;
  image[9] = SaveVersion >> 8;
  image[10] = 1;  // stage 1 is open from the start
  image[40] = 0xFF;
  image[41] = 0xFF;
  image[42] = 1;  // music
  image[43] = 1;  // sound effects
  if (!ReplaceFileAtomically(path, image, sizeof image)) SaveDataFailed();
  LoadSaveData(path);
}

}  // namespace

void SaveDataIo(int mode) {
  if (SaveDataPath == nullptr) return;
  const std::string path = WritableFilePath(SaveDataPath);
  switch (mode) {
    case 0: CreateSaveDataIfMissing(path.c_str()); break;
    case 1: LoadSaveData(path.c_str()); break;
    case 2: StoreSaveData(path.c_str()); break;
    default: break;
  }
}
