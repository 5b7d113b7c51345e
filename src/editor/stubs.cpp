// Temporary hooks for the editor scene until it is built: it shows how to leave and leaves with F11, so that
// nobody is trapped in it.
#include "media/media.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/scenes.h"
#include "editor/editor.h"

EditorState Editor;

void EditorInput() {
  if (KeyPressed(KeyF11)) {
    ConsumeKey(KeyF11);
    SceneId = 202;
  }
}
void DrawEditorMap() {}
void DrawEditorGrid() {}
// The legend panel with its F11 line, so that the way out is shown.
void DrawEditorPanels() {
  DrawRect(160, 480, 800, 600, MakeColor(80, 80, 80), 1);
  DrawTextWithFont(164, 556, u"F11キー ステージエディター終了", MakeColor(255, 255, 255), EditorFont14Edge, 0, 0);
}
void RunSignboardDialog() {}
void RunDifficultyDialog() {}
void EditorStartup() {}
