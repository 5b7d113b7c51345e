// Built-in stage files: the FMF map (one layer of one-byte cells) and the UTF-16 signboard texts.
#include "stage/builtin_loader.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "media/media.h"
#include "play/playstate.h"
#include "stage/catalogue.h"
#include "stage/scan.h"
#include "stage/stagedata.h"

const char StageLoadFailedMessage[] = "ステージの読み込みに失敗しました。";
const char NoStartPointMessage[] = "主人公が配置されていませんでした。";
const char NoGoalMessage[] = "ゴールの旗が配置されていませんでした。";

const char* StageFmfOverride = nullptr;
const char* StageTextOverride = nullptr;

namespace {

constexpr int32_t FmfMagic = 0x5F464D46;  // "FMF_"
constexpr int FmfHeaderSize = 20;

int32_t LittleEndian32(const uint8_t* b) {
  return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                              static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24);
}

[[noreturn]] void LoadFailed() { FatalError(StageLoadFailedMessage, 0); }

// The cell data read last; the map's own array keeps cells that a smaller map does not cover.
uint8_t CellData[StageMapColumns * StageMapRows];

void ReadSignboardTexts(const char* path) {
  for (auto& board : SignboardText)
    for (auto& line : board) line[0] = u'\0';
  if (path == nullptr) return;
  const int handle = OpenDataFile(path);
  if (handle == 0) return;  // a stage without messages
  // Each line buffer holds ScanFieldUnits units, and the read cuts a longer field to fit.
  static_assert(SignboardLineUnits == ScanFieldUnits);
  char16_t(*t)[4][SignboardLineUnits] = SignboardText;
  ScanDataFile(handle, u"%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s,%s", t[0][0], t[0][1], t[0][2], t[0][3],
               t[1][0], t[1][1], t[1][2], t[1][3], t[2][0], t[2][1], t[2][2], t[2][3], t[3][0], t[3][1], t[3][2],
               t[3][3]);
  CloseDataFile(handle);
}

bool IsRestoredOnRestart(int b) {
  return (b >= LockBlock1 && b <= Key3) || (b >= BalloonBlock6 && b <= BreakableBlock);
}

}  // namespace

void BuiltinStageFileNames(int n, char fmf[32], char text[32]) {
  std::snprintf(fmf, 32, "data\\map\\stage%02d.fmf", n);
  std::snprintf(text, 32, "data\\map\\stage%02d.txt", n);
}

void LoadBuiltinStage(int n) {
  char fmfName[32], textName[32];
  const char* fmfPath = StageFmfOverride;
  const char* textPath = StageTextOverride;
  if (fmfPath == nullptr) {
    if (n < 1 || n > 30) LoadFailed();
    BuiltinStageFileNames(n, fmfName, textName);
    fmfPath = fmfName;
    textPath = textName;
  }

  const int fmf = OpenDataFile(fmfPath);
  if (fmf == 0) LoadFailed();
  uint8_t header[FmfHeaderSize] = {};
  const bool headerRead = ReadDataFile(header, FmfHeaderSize, fmf) == 0;
  const int32_t magic = LittleEndian32(header);
  const int32_t size = LittleEndian32(header + 4);
  const int32_t width = LittleEndian32(header + 8);
  const int32_t height = LittleEndian32(header + 12);
  // The header is checked against the map's limits before anything is copied, so a damaged or foreign file
  // can never write past the map or the cell buffer.
  const bool fits = headerRead && magic == FmfMagic && width >= 0 && height >= 0 && width <= StageMapColumns &&
                    height <= StageMapRows && size == width * height;
  if (!fits || ReadDataFile(CellData, size, fmf) != 0) {
    CloseDataFile(fmf);
    LoadFailed();
  }
  CloseDataFile(fmf);
  StageWidth = width;
  StageHeight = height;

  ReadSignboardTexts(textPath);

  const bool restart = Play.PlayPhase == 2;
  int goal = 0;
  int c = 0, r = 0;
  for (int i = 0; i < size; ++i) {
    const uint8_t b = CellData[i];
    uint8_t& cell = StageMap[c * StageMapRows + r];
    if (!restart) {
      cell = b;
    } else {
      // Pressed save blocks stay pressed; what the player used up or broke comes back.
      if (IsRestoredOnRestart(b)) cell = b;
      if (cell >= CountBalloon6 && cell <= CountBalloon36) cell = b;
    }
    if (b == GoalFlag) goal = 1;
    if (++c == StageWidth) {
      c = 0;
      ++r;
    }
  }
  GoalPlaced = goal;

  ScanStage(StageMap, StageWidth, StageHeight);
}
