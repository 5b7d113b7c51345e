// libFuzzer target: the editor's autosave from arbitrary bytes, restored at start-up. A restored set is
// saved again at once and must restore to the same set; a refused one leaves the editor's set untouched.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "editor/editor.h"
#include "fuzz_support.h"
#include "stage/stageset.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = FuzzFile("editor-autosave.plvsd");
  AutosavePathOverride = path;
  // Short inputs are padded to a full file so that the restore gets past its size check.
  std::vector<uint8_t> bytes(data, data + size);
  if (bytes.size() < StageSetFileSize && size > 0 && data[0] == 'P') bytes.resize(StageSetFileSize);
  FuzzWrite(path, bytes.data(), bytes.size());

  EditorStageSet = StageSet{};
  EditorStageSet.Maps[7] = 42;  // a mark that a refused restore must leave alone
  const bool restored = RestoreAutosave();
  if (!restored) {
    if (EditorStageSet.Maps[7] != 42) abort();
    return 0;
  }
  auto first = std::make_unique<StageSet>(EditorStageSet);
  MarkEditorSetChanged();
  AutosaveNow();
  EditorStageSet = StageSet{};
  if (!RestoreAutosave()) abort();
  const StageSet& again = EditorStageSet;
  if (std::memcmp(first->Maps, again.Maps, sizeof again.Maps) != 0 ||
      std::memcmp(first->EditorDifficulty, again.EditorDifficulty, sizeof again.EditorDifficulty) != 0 ||
      std::memcmp(first->SignboardText, again.SignboardText, sizeof again.SignboardText) != 0)
    abort();
  return 0;
}
