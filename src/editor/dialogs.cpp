// The two modal dialogs of the editor: the four lines of a signboard's message (F5..F8) and the current
// stage's difficulty (F9). Each runs its own frames over the editor screen until OK is clicked.
#include <algorithm>

#include "editor/editor.h"
#include "media/media.h"
#include "shell/assets.h"
#include "shell/scenes.h"
#include "stage/stageset.h"

namespace {

const Color White = MakeColor(255, 255, 255);

struct Mouse {
  int x = 0, y = 0;
  bool left = false;
};

Mouse ReadMouse() {
  Mouse mouse;
  GetMousePosition(&mouse.x, &mouse.y);
  mouse.left = (GetMouseButtons() & 1) != 0;
  return mouse;
}

bool Inside(const Mouse& mouse, int x1, int y1, int x2, int y2) {
  return mouse.x >= x1 && mouse.x <= x2 && mouse.y >= y1 && mouse.y <= y2;
}

// The editor behind a dialog, as each dialog frame redraws it.
void RedrawEditorBehind() {
  ClearSurface();
  EditorInput();
  DrawEditorMap();
  DrawEditorGrid();
  DrawEditorPanels();
}

void DrawDialogBox(int bottom, const char16_t* title) {
  DrawRect(120, 160, 680, bottom, MakeColor(80, 80, 80), 1);
  DrawRect(124, 164, 676, bottom - 4, White, 1);
  DrawRect(124, 164, 676, 200, MakeColor(0, 0, 255), 1);
  DrawTextWithFont(188, 170, title, White, EditorFont20, 0, 0);
}

void DrawOkButton(int top) {
  DrawRect(350, top, 450, top + 40, MakeColor(64, 64, 64), 1);
  DrawRect(352, top + 2, 448, top + 38, MakeColor(192, 192, 192), 1);
  DrawTextWithFont(388, top + 10, u"OK", White, EditorFont20, 0, 0);
}

int& StageDifficulty() { return EditorStageSet.EditorDifficulty[Editor.CurrentStage]; }

}  // namespace

void LoadSignboardLines(int signboard) {
  for (int line = 0; line < 4; ++line) {
    SetTextInputText(EditorStageSet.SignboardText[Editor.CurrentStage][signboard - 1][line],
                     SignInputHandle[4 * (signboard - 1) + line]);
  }
}

void StoreSignboardLines(int signboard) {
  for (int line = 0; line < 4; ++line) {
    GetTextInputText(EditorStageSet.SignboardText[Editor.CurrentStage][signboard - 1][line],
                     SignInputHandle[4 * (signboard - 1) + line]);
  }
}

bool SignboardDialogFrame(int signboard) {
  const int* lines = &SignInputHandle[4 * (signboard - 1)];
  // Enter finishes a line; it stays the active one and never closes the dialog.
  for (int i = 0; i < 4; ++i) {
    if (CheckTextInput(lines[i]) == 1) ActivateTextInput(lines[i]);
  }
  RedrawEditorBehind();
  static const char16_t* const Titles[] = {
      u"看板[1]のメッセージを入力してください。", u"看板[2]のメッセージを入力してください。",
      u"看板[3]のメッセージを入力してください。", u"看板[4]のメッセージを入力してください。"};
  DrawDialogBox(500, Titles[signboard - 1]);
  Mouse mouse = ReadMouse();
  for (int i = 1; i <= 4; ++i) {
    int b = 242 + 40 * (i - 1);
    DrawRect(200, b - 22, 660, b + 2, MakeColor(80, 80, 80), 1);
    DrawRect(202, b - 20, 658, b, White, 1);
    DrawFormattedTextWithFont(132, b - 22, White, EditorFont20, u"%d行目", i);
    if (mouse.left && Inside(mouse, 200, 220 + 40 * (i - 1), 660, 244 + 40 * (i - 1)))
      ActivateTextInput(lines[i - 1]);
  }
  DrawOkButton(420);
  if (mouse.left && Inside(mouse, 350, 420, 450, 460)) return true;
  for (int i = 0; i < 4; ++i) DrawTextInput(204, 224 + 40 * i, lines[i]);
  PresentFrame();
  return false;
}

void RunSignboardDialog() {
  int signboard = Editor.SignboardEditState;
  if (signboard < 1 || signboard > 4) return;
  Editor.InputCooldown = 20;
  LoadSignboardLines(signboard);
  ActivateTextInput(SignInputHandle[4 * (signboard - 1)]);
  Editor.SignboardEditState = 4 + signboard;
  while (PumpMessages() == 0) {
    if (SignboardDialogFrame(signboard)) break;
  }
  StoreSignboardLines(signboard);
  // No line is active outside the dialog, so typing elsewhere never reaches the input method.
  ActivateTextInput(-1);
  Editor.SignboardEditState = 0;
  MarkEditorSetChanged();
}

bool DifficultyDialogFrame() {
  RedrawEditorBehind();
  DrawDialogBox(440, FormatTextV(u"ステージ%dの難易度を設定してください。", Editor.CurrentStage + 1).c_str());
  DrawTextWithFont(272, 288, u"レベル", White, EditorFont20, 0, 0);
  DrawRect(350, 280, 450, 320, MakeColor(64, 64, 64), 1);
  DrawRect(352, 282, 448, 318, White, 1);
  Editor.DifficultyArrowHighlight = 0;
  Mouse mouse = ReadMouse();
  if (Editor.SignboardEditState == 0 && mouse.left && mouse.x >= 450 && mouse.x <= 469) {
    if (mouse.y >= 280 && mouse.y <= 299) {
      Editor.DifficultyArrowHighlight = 1;
      if (Editor.DifficultyRepeatCounter > 5) {
        ++StageDifficulty();
        Editor.DifficultyRepeatCounter = 0;
      }
    } else if (mouse.y >= 300 && mouse.y <= 319) {
      Editor.DifficultyArrowHighlight = 2;
      if (Editor.DifficultyRepeatCounter > 5) {
        --StageDifficulty();
        Editor.DifficultyRepeatCounter = 0;
      }
    }
  }
  if (StageDifficulty() <= 0) StageDifficulty() = 1;
  if (StageDifficulty() > 10) StageDifficulty() = 10;
  DrawFormattedTextWithFont(404, 282, White, EditorFont36, u"%2d", StageDifficulty());
  DrawScrollbarArrow(450, 280, false, Editor.DifficultyArrowHighlight == 1);
  DrawScrollbarArrow(450, 300, true, Editor.DifficultyArrowHighlight == 2);
  DrawOkButton(380);
  Editor.DifficultyRepeatCounter = std::min(Editor.DifficultyRepeatCounter + 1, 31);
  if (mouse.left && Inside(mouse, 350, 380, 450, 420)) return true;
  PresentFrame();
  return false;
}

void RunDifficultyDialog() {
  if (Editor.DifficultyRequest != 1) return;
  Editor.InputCooldown = 20;
  while (true) {
    if (PumpMessages() != 0) return;  // the program is ending; the request stays set
    if (DifficultyDialogFrame()) break;
  }
  Editor.DifficultyRequest = 0;
  MarkEditorSetChanged();
}
