// The menu scenes' frame routine: each section tests the SceneId as it stands when its turn comes, so a
// section that switches scenes lets a later section draw the new scene in the same frame.
#include <string>

#include "shell/assets.h"
#include "shell/game.h"
#include "shell/menus.h"
#include "shell/scenes.h"

int CentredX(const char16_t* text, FontHandle font, int centre) {
  int width = MeasureText(text, static_cast<int>(std::char_traits<char16_t>::length(text)), font);
  return centre - width / 2;
}

void DrawTextAt(int x, int y, const char16_t* text, Color color, FontHandle font) {
  DrawTextWithFont(x, y, text, color, font, 0, 0);
}

void DrawCentredText(const char16_t* text, int y, Color color, FontHandle font, int centre) {
  DrawTextAt(CentredX(text, font, centre), y, text, color, font);
}

void MoveMenuCursor(int itemCount) {
  if (KeyPressed(KeyUp)) {
    PlaySoundEffect(SeCursor);
    MenuCursor -= 1;
    ConsumeKey(KeyUp);
  }
  if (KeyPressed(KeyDown)) {
    PlaySoundEffect(SeCursor);
    MenuCursor += 1;
    ConsumeKey(KeyDown);
  }
  if (MenuCursor < 0) MenuCursor = 0;
  if (MenuCursor > itemCount - 1) MenuCursor = itemCount - 1;
}

void UpdateMenuScenes() {
  if (SceneId == 10) UpdateTitle();
  if (SceneId == 20 || SceneId == 200) UpdateMainMenu();
  if (SceneId == 30 || SceneId == 31) UpdateBuiltinStageSelect();
  if (SceneId == 50 || SceneId == 51) UpdateCustomStageSelect();
  if (SceneId == 40) UpdateOptions();
}
