// The editor's state and its start-up values, set at the end of the asset start-up.
#include "editor/editor.h"
#include "editor/undo.h"
#include "media/media.h"
#include "shell/scenes.h"
#include "stage/stageset.h"

EditorState Editor;
int SignInputHandle[16] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

void EditorStartup() {
  Editor = EditorState{};
  EditorStageSet = StageSet{};
  for (int& handle : SignInputHandle) handle = CreateTextInput();
  SetTextInputBlink(1);
  const Color colors[12] = {MakeColor(0, 0, 0),       MakeColor(0, 0, 0),    MakeColor(255, 255, 255),
                            MakeColor(0, 0, 0),       MakeColor(0, 0, 0),    MakeColor(64, 64, 192),
                            MakeColor(0, 0, 0),       MakeColor(0, 85, 0),   MakeColor(0, 0, 85),
                            MakeColor(0, 0, 0),       MakeColor(170, 170, 170), MakeColor(255, 255, 255)};
  SetTextInputColors(colors);
  // The last session's set, when it left one; the values above otherwise.
  RestoreAutosave();
  ResetEditorHistory(EditorStageSet);
}
