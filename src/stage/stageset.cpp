// The editor's stage set and the stage-set file: magic, thirty difficulties, the signboard lines (32 units
// each) and the thirty maps, little-endian, 111848 bytes in all.
#include "stage/stageset.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "media/media.h"

StageSet EditorStageSet;

namespace {

// "PLVSD" 0x00 0x01 0x00, read as one little-endian value.
constexpr uint64_t StageSetMagic = 0x0001'0044'5356'4C50ULL;
constexpr int DifficultyOffset = 8;
constexpr int SignboardOffset = 128;
constexpr int StoredLineUnits = 32;
constexpr int MapOffset = 30848;
static_assert(SignboardOffset == DifficultyOffset + 4 * CustomStageCount);
static_assert(MapOffset == SignboardOffset + CustomStageCount * 4 * 4 * StoredLineUnits * 2);
static_assert(StageSetFileSize == MapOffset + CustomStageCount * CustomCells);

uint64_t Get64(const uint8_t* p) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}
void Put64(uint8_t* p, uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
int32_t Get32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}
void Put32(uint8_t* p, int32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

// The byte offset of one stored signboard line.
int LineOffset(int stage, int sign, int line) {
  return SignboardOffset + (((stage * 4 + sign) * 4 + line) * StoredLineUnits) * 2;
}

}  // namespace

void EncodeStageSet(const StageSet& set, uint8_t* out) {
  Put64(out, StageSetMagic);
  for (int t = 0; t < CustomStageCount; ++t) Put32(out + DifficultyOffset + 4 * t, set.EditorDifficulty[t]);
  for (int t = 0; t < CustomStageCount; ++t)
    for (int s = 0; s < 4; ++s)
      for (int l = 0; l < 4; ++l) {
        uint8_t* p = out + LineOffset(t, s, l);
        for (int u = 0; u < StoredLineUnits; ++u) {
          p[2 * u] = static_cast<uint8_t>(set.SignboardText[t][s][l][u] & 0xFF);
          p[2 * u + 1] = static_cast<uint8_t>(set.SignboardText[t][s][l][u] >> 8);
        }
      }
  std::memcpy(out + MapOffset, set.Maps, sizeof set.Maps);
}

bool DecodeStageSet(const uint8_t* bytes, size_t size, StageSet* set) {
  if (size != static_cast<size_t>(StageSetFileSize) || Get64(bytes) != StageSetMagic) return false;
  for (int t = 0; t < CustomStageCount; ++t) set->EditorDifficulty[t] = Get32(bytes + DifficultyOffset + 4 * t);
  for (int t = 0; t < CustomStageCount; ++t)
    for (int s = 0; s < 4; ++s)
      for (int l = 0; l < 4; ++l) {
        const uint8_t* p = bytes + LineOffset(t, s, l);
        char16_t* line = set->SignboardText[t][s][l];
        for (int u = 0; u < StoredLineUnits; ++u)
          line[u] = static_cast<char16_t>(p[2 * u] | p[2 * u + 1] << 8);
        // A stored line of 32 units without a NUL is a 32-unit string, not the start of an older, longer one.
        for (int u = StoredLineUnits; u < CustomLineUnits; ++u) line[u] = 0;
      }
  std::memcpy(set->Maps, bytes + MapOffset, sizeof set->Maps);
  return true;
}

bool WriteStageSetFile(const std::string& path, const StageSet& set) {
  std::vector<uint8_t> image(StageSetFileSize);
  EncodeStageSet(set, image.data());
  return ReplaceFileAtomically(path, image.data(), image.size());
}

StageSetReadResult ReadStageSetFile(const std::string& path, StageSet* set) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return StageSetCannotOpen;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return StageSetCannotOpen;
  }
  // One byte more than the format, so that a longer file shows itself.
  std::vector<uint8_t> bytes(StageSetFileSize + 1);
  size_t got = 0;
  bool readFailed = false;
  while (got < bytes.size()) {
    ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) readFailed = true;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  close(fd);
  if (readFailed) return StageSetCannotOpen;
  return DecodeStageSet(bytes.data(), got, set) ? StageSetRead : StageSetRefused;
}
