// F4 and F3 of the editor: the editor's set saved to, and opened from, a stage-set file the user chooses.
#include "editor/file_commands.h"

#include <string>

#include "editor/editor.h"
#include "media/media.h"
#include "stage/builtin_loader.h"
#include "stage/stageset.h"

int SaveEditorSet() {
  Editor.InputCooldown = 20;
  std::string path;
  if (!ChooseFile(ChooseSaveStageSet, &path)) return -1;
  // A set that could not be written must not look saved.
  if (!WriteStageSetFile(path, EditorStageSet)) ShowMessageBox("エラー", "ステージファイルの保存に失敗しました。");
  return 0;
}

int OpenIntoEditorSet() {
  Editor.InputCooldown = 20;
  std::string path;
  if (!ChooseFile(ChooseOpenStageSet, &path)) return -1;
  const StageSetReadResult result = ReadStageSetFile(path, &EditorStageSet);
  if (result == StageSetRefused) {
    ShowMessageBox("エラー", StageLoadFailedMessage);
    return -1;
  }
  return 0;
}
