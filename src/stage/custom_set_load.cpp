// The load of a stage-set file for play: the play-side copy, kept apart from the editor's set.
#include <cstring>
#include <memory>

#include "stage/catalogue.h"
#include "stage/custom_stage.h"
#include "stage/stagedata.h"

void InstallCustomSet(const StageSet& set) {
  std::memcpy(CustomDifficulty, set.EditorDifficulty, sizeof CustomDifficulty);
  std::memcpy(CustomSignboardText, set.SignboardText, sizeof CustomSignboardText);
  std::memcpy(CustomStageMap, set.Maps, sizeof CustomStageMap);
  for (int t = 0; t < CustomStageCount; ++t) {
    const uint8_t* stage = set.Maps + t * CustomCells;
    uint8_t* pristine = CustomPristineMap + t * CustomCells;
    for (int c = 0; c < CustomColumns; ++c) {
      for (int r = 0; r < CustomRows; ++r) {
        const uint8_t b = stage[c * CustomRows + r];
        pristine[r * CustomColumns + c] = b >= LockBlock1 && b <= Key3 ? static_cast<uint8_t>(Empty) : b;
      }
    }
  }
}

StageSetReadResult LoadCustomSetFile(const std::string& path) {
  // Read into a set of its own, so that a refused file leaves the set being played as it was.
  auto set = std::make_unique<StageSet>();
  const StageSetReadResult result = ReadStageSetFile(path, set.get());
  if (result == StageSetRead) InstallCustomSet(*set);
  return result;
}
