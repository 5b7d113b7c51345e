// The main menu's "自作ステージを読み込む": a stage-set file chosen by the player is loaded for play.
#include <string>

#include "media/media.h"
#include "shell/scenes.h"
#include "stage/builtin_loader.h"
#include "stage/custom_stage.h"

int LoadCustomSetForPlay() {
  std::string path;
  if (!ChooseFile(ChooseOpenStageSet, &path)) return -1;
  // A file that cannot be read or is not a stage set is refused with the message and the menu stays: ending
  // the program here would also throw away the editor's unsaved set.
  if (LoadCustomSetFile(path) != StageSetRead) {
    ShowMessageBox("Pelvoro!!", StageLoadFailedMessage);
    return -1;
  }
  return 0;
}
