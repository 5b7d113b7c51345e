// Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z in the editor: undo and redo over the editor's set. The history itself
// (undo.cpp) watches the set; this file tells it when a step is complete and runs the keys.
#include "editor/editor.h"
#include "editor/undo.h"
#include "media/media.h"
#include "shell/game.h"
#include "stage/stageset.h"

namespace {

bool ShiftHeld() { return KeyState[KeyLeftShift] != 0 || KeyState[KeyRightShift] != 0; }

// A press of key taken by this handler, so that the stage keys after it do not see it.
bool TakeCtrlPress(int key) {
  if (!KeyPressed(key)) return false;
  ConsumeKey(key);
  return true;
}

// Undoes or redoes one step; the stage it changed is shown.
void MoveInHistory(bool (*move)(StageSet*, int*)) {
  int stage = Editor.CurrentStage;
  if (!move(&EditorStageSet, &stage)) return;
  Editor.CurrentStage = stage;
  MarkEditorSetChanged();
}

}  // namespace

bool CtrlHeld() { return KeyState[KeyLeftCtrl] != 0 || KeyState[KeyRightCtrl] != 0; }

// A step ends when no mouse button is held and no dialog is open: a stroke, or everything a dialog changed
// between its opening and its OK, is one step.
void WatchEditorEdits(bool buttonHeld, bool dialogRequested) {
  WatchEditorSet(EditorStageSet, buttonHeld || dialogRequested);
}

void HistoryKeys(bool dialogRequested) {
  if (!CtrlHeld() || dialogRequested) return;
  if (KeyPressed(KeyZ) && !ShiftHeld()) {
    ConsumeKey(KeyZ);
    MoveInHistory(UndoEditorSet);
  } else if (TakeCtrlPress(KeyY) || TakeCtrlPress(KeyZ)) {
    MoveInHistory(RedoEditorSet);
  }
}
