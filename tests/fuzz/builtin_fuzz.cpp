// libFuzzer target: a built-in stage from arbitrary bytes, its FMF map and its UTF-16 stage text together,
// loaded as a fresh start and again as a restart after a game over, with the stage scan on the result.
// Input: two bytes n (little-endian), then n bytes of FMF (or what is left), then the stage text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "play/playstate.h"
#include "stage/builtin_loader.h"
#include "stage/stagedata.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string fmf = FuzzFile("stage.fmf"), text = FuzzFile("stage.txt");
  if (size < 2) return 0;
  size_t n = data[0] | data[1] << 8;
  if (n > size - 2) n = size - 2;
  FuzzWrite(fmf, data + 2, n);
  FuzzWrite(text, data + 2 + n, size - 2 - n);
  StageFmfOverride = fmf.c_str();
  StageTextOverride = text.c_str();
  for (int phase : {0, 2}) {
    Play.PlayPhase = phase;
    try {
      LoadBuiltinStage(1);
    } catch (const FuzzFatal&) {
      return 0;  // refused: the game shows its message and ends
    }
    // A loaded stage lies inside the map and its object table.
    if (StageWidth < 0 || StageWidth > StageMapColumns || StageHeight < 0 || StageHeight > StageMapRows) abort();
    if (ObjectCount < 0 || ObjectCount > MaxStageObjects) abort();
    for (auto& board : SignboardText)
      for (auto& line : board) {
        bool ended = false;
        for (char16_t unit : line) ended = ended || unit == u'\0';
        if (!ended) abort();
      }
  }
  return 0;
}
