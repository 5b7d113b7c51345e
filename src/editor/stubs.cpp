// Temporary hooks for the editor scene until it is built: it shows how to leave and leaves with F11, so that
// nobody is trapped in it.
#include "media/media.h"
#include "shell/game.h"
#include "shell/scenes.h"

void EditorInput() {
  if (KeyPressed(KeyF11)) {
    ConsumeKey(KeyF11);
    SceneId = 202;
  }
}
void DrawEditorMap() {}
void DrawEditorGrid() {}
void DrawEditorPanels() {}
void RunSignboardDialog() {}
void RunDifficultyDialog() {}
