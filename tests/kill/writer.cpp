// pelvoro-kill-writer: the game's own writers of save.dat, of a stage set saved over an existing file (F4)
// and of the editor's autosave, for the kill harness.
//
//   pelvoro-kill-writer KIND PATH once A|B    writes contents A or B once
//   pelvoro-kill-writer KIND PATH loop        writes A, B, A, B ... until killed
//
// KIND is save, set or autosave. A and B differ in every part of the file that the writer stores.
#include <cstdio>
#include <cstring>
#include <string>

#include "editor/editor.h"
#include "shell/savedata.h"
#include "stage/stageset.h"

namespace {

void FillSet(StageSet* set, bool b) {
  for (int i = 0; i < CustomStageCount * CustomCells; ++i) set->Maps[i] = static_cast<uint8_t>((i * 7 + b) % 192);
  for (int t = 0; t < CustomStageCount; ++t) set->EditorDifficulty[t] = b ? 10 - t % 10 : 1 + t % 10;
  for (int t = 0; t < CustomStageCount; ++t)
    for (int s = 0; s < 4; ++s)
      for (int l = 0; l < 4; ++l)
        for (int u = 0; u < 32; ++u) set->SignboardText[t][s][l][u] = static_cast<char16_t>(b ? 0x3042 + u : 'a' + u % 26);
}

bool Write(const std::string& kind, const std::string& path, bool b) {
  if (kind == "save") {
    SaveDataPath = path.c_str();
    for (int i = 0; i < 32; ++i) StageUnlocked[i] = static_cast<uint8_t>(b ? i < 30 : i == 0);
    MusicOn = b ? 0 : 1;
    SoundEffectsOn = b ? 0 : 1;
    ShowFps = b ? 1 : 0;
    BloodOn = b ? 1 : 0;
    SaveDataIo(2);  // ends the program with the game's message when it fails
    return true;
  }
  static StageSet set;
  FillSet(&set, b);
  if (kind == "set") return WriteStageSetFile(path, set);
  if (kind == "autosave") {
    AutosavePathOverride = path;
    EditorStageSet = set;
    MarkEditorSetChanged();
    AutosaveNow();
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const bool once = argc == 5 && std::strcmp(argv[3], "once") == 0;
  if (!(once || (argc == 4 && std::strcmp(argv[3], "loop") == 0))) {
    std::fprintf(stderr, "usage: pelvoro-kill-writer save|set|autosave PATH (once A|B | loop)\n");
    return 2;
  }
  const std::string kind = argv[1], path = argv[2];
  if (once) return Write(kind, path, std::strcmp(argv[4], "B") == 0) ? 0 : 1;
  for (bool b = false;; b = !b)
    if (!Write(kind, path, b)) return 1;
}
