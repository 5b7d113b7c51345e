// libFuzzer target: a stage-set file from arbitrary bytes, opened into the editor (with the editor's checks on
// every stage) and loaded for play, then every stage of it started fresh and restarted after a game over with
// the stage scan. Short inputs are padded to a full file so that the reads get past the size check.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "editor/stage_checks.h"
#include "fuzz_support.h"
#include "play/playstate.h"
#include "stage/custom_stage.h"
#include "stage/stagedata.h"
#include "stage/stageset.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = FuzzFile("set.plvsd");
  std::vector<uint8_t> bytes(data, data + size);
  if (bytes.size() < StageSetFileSize) bytes.resize(StageSetFileSize);
  FuzzWrite(path, bytes.data(), bytes.size());

  if (ReadStageSetFile(path, &EditorStageSet) == StageSetRead) {
    for (int t = 0; t < CustomStageCount; ++t) CheckEditorStage(EditorStageSet.Maps + t * CustomCells);
  }
  if (LoadCustomSetFile(path) != StageSetRead) return 0;
  for (int t = 0; t < CustomStageCount; ++t) {
    try {
      Play.PlayPhase = 0;
      if (PrepareCustomStage(t) != nullptr) continue;  // refused with the game's message
      Play.PlayPhase = 2;
      if (PrepareCustomStage(t) != nullptr) abort();  // a stage that started must restart
    } catch (const FuzzFatal&) {
      abort();  // a custom stage is refused with a message, never by ending the program
    }
    if (ObjectCount < 0 || ObjectCount > MaxStageObjects) abort();
  }
  return 0;
}
