// The editor screen: its input handling, the map view with its grid and screen frames, and the key legend.
#include <algorithm>

#include "editor/editor.h"
#include "editor/file_commands.h"
#include "media/media.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/scenes.h"
#include "stage/catalogue.h"
#include "stage/stageset.h"

namespace {

bool DialogRequested() { return Editor.SignboardEditState != 0 || Editor.DifficultyRequest != 0; }

uint8_t* CellOf(int stage, int column, int row) {
  return &EditorStageSet.Maps[(stage * CustomColumns + column) * CustomRows + row];
}

bool InMapView(int x, int y) { return x >= MapViewLeft && x <= 799 && y >= 0 && y <= 479; }

void PlacePart(int x, int y, int part) {
  if (!InMapView(x, y)) return;
  uint8_t* cell = CellOf(Editor.CurrentStage, Editor.MapScrollColumn + (x - MapViewLeft) / 32,
                         Editor.MapScrollRow + y / 32);
  if (*cell == part) return;
  *cell = static_cast<uint8_t>(part);
  MarkEditorSetChanged();
}

// Each arrow acts only once the repeat counter is above 3, so a held key scrolls every fourth frame.
void ScrollMapWithArrows() {
  struct Arrow {
    int key, dColumn, dRow;
  };
  static const Arrow Arrows[] = {{KeyLeft, -1, 0}, {KeyRight, 1, 0}, {KeyUp, 0, -1}, {KeyDown, 0, 1}};
  for (const Arrow& arrow : Arrows) {
    if (KeyState[arrow.key] == 1 && Editor.RepeatCounter > 3) {
      Editor.MapScrollColumn += arrow.dColumn;
      Editor.MapScrollRow += arrow.dRow;
      Editor.RepeatCounter = 0;
    }
  }
}

// A press acted on: marked so that no later handler of this frame acts on it again.
bool TakePress(int key) {
  if (!KeyPressed(key)) return false;
  ConsumeKey(key);
  return true;
}

void DialogAndExitKeys() {
  static const int SignboardKeys[] = {KeyF5, KeyF6, KeyF7, KeyF8};
  for (int s = 0; s < 4; ++s) {
    if (KeyPressed(SignboardKeys[s]) && !DialogRequested()) {
      ConsumeKey(SignboardKeys[s]);
      Editor.SignboardEditState = s + 1;
    }
  }
  if (KeyPressed(KeyF9) && !DialogRequested()) {
    ConsumeKey(KeyF9);
    Editor.DifficultyRequest = 1;
  }
  if (KeyPressed(KeyF11) && !DialogRequested()) {
    ConsumeKey(KeyF11);
    AutosaveNow();
    SceneId = 202;
  }
}

// With Ctrl held, Z and X belong to undo and redo.
void StageKeys() {
  if (CtrlHeld()) return;
  if (TakePress(KeyZ)) --Editor.CurrentStage;
  if (TakePress(KeyX)) ++Editor.CurrentStage;
  Editor.CurrentStage = std::clamp(Editor.CurrentStage, 0, CustomStageCount - 1);
}

void FileAndHelpKeys() {
  if (TakePress(KeyF4)) EditorCommands.Save();
  if (TakePress(KeyF3) && EditorCommands.Open() == 0) MarkEditorSetChanged();
  if (TakePress(KeyF1)) EditorCommands.Help();
}

void AdditionKeys() {
  if (!DialogRequested() && TakePress(KeyF12)) Editor.TrapOverlayOn = !Editor.TrapOverlayOn;
  ClearCheckKeys(DialogRequested());
}

}  // namespace

EditorKeyCommands EditorCommands = {SaveEditorSet, OpenIntoEditorSet, OpenEditorHelp};

void EditorInput() {
  Editor.PaletteArrowHighlight = 0;
  int x = 0, y = 0;
  GetMousePosition(&x, &y);
  int buttons = GetMouseButtons();
  bool left = (buttons & 1) != 0, right = (buttons & 2) != 0;
  WatchEditorEdits(left || right, DialogRequested());
  if (!DialogRequested() && Editor.InputCooldown <= 0) {
    ScrollPalette(x, y, left);
    Editor.PaletteScroll = std::clamp(Editor.PaletteScroll, 0, MaxPaletteScroll);
    PickPaletteParts(x, y, left, right);
    if (left && !Editor.LeftWasDown) ClickWarningStrip(x, y);
    if (left) PlacePart(x, y, Editor.LeftPart);
    if (right) PlacePart(x, y, Editor.RightPart);
    ScrollMapWithArrows();
  }
  Editor.MapScrollColumn = std::clamp(Editor.MapScrollColumn, 0, MaxScrollColumn);
  Editor.MapScrollRow = std::clamp(Editor.MapScrollRow, 0, MaxScrollRow);
  DialogAndExitKeys();
  HistoryKeys(DialogRequested());
  StageKeys();
  FileAndHelpKeys();
  AdditionKeys();
  Editor.RepeatCounter = std::min(Editor.RepeatCounter + 1, 31);
  if (!DialogRequested()) Editor.InputCooldown = std::max(Editor.InputCooldown - 1, 0);
  Editor.LeftWasDown = left;
  AutosaveTick();
  // Last, since it leaves the editor: the map, scroll and picks of this frame are what test play returns to.
  TestPlayKeys(DialogRequested(), x, y);
}

void DrawEditorMap() {
  for (int c = 0; c < MapViewColumns; ++c) {
    for (int r = 0; r < MapViewRows; ++r) {
      int part = *CellOf(Editor.CurrentStage, Editor.MapScrollColumn + c, Editor.MapScrollRow + r);
      DrawPictureRegion(MapViewLeft + 32 * c, 32 * r, PartIconX(part), PartIconY(part), 32, 32, ImgParts, 0, 0);
    }
  }
}

// The grey cell grid, then a red frame two pixels wide inside each of the map's three by three screens.
void DrawEditorGrid() {
  Color grey = MakeColor(128, 128, 128);
  for (int y = 0; y <= 480; y += 32) DrawLine(MapViewLeft, y, 800, y, grey);
  for (int x = MapViewLeft; x <= 800; x += 32) DrawLine(x, 0, x, 480, grey);
  Color red = MakeColor(255, 0, 0);
  for (int sc = 0; sc < 3; ++sc) {
    for (int sr = 0; sr < 3; ++sr) {
      int left = MapViewLeft + 32 * (20 * sc - Editor.MapScrollColumn);
      int top = 32 * (15 * sr - Editor.MapScrollRow);
      DrawRect(left, top, left + 640, top + 480, red, 0);
      DrawRect(left + 1, top, left + 639, top + 480, red, 0);
      DrawRect(left, top + 1, left + 640, top + 479, red, 0);
      DrawRect(left + 1, top + 1, left + 639, top + 479, red, 0);
    }
  }
}

// The marks over the map come first, so that the panels cover what spills over the map view's edges.
void DrawEditorPanels() {
  DrawMapMarks();
  DrawEditorNotice();
  DrawPalettePanel();
  DrawLegendPanel();
  DrawWarningStrip();
  DrawClearCheckStatus();
}

void DrawLegendPanel() {
  struct LegendLine {
    int x, y;
    const char16_t* text;
  };
  static const LegendLine Lines[] = {
      {164, 484, u"左、右クリック パーツを選択、置く"}, {164, 502, u"上下左右キー マップスクロール"},
      {164, 520, u"F5～F8キー 看板メッセージ変更"},    {164, 538, u"F9キー ステージの難易度設定"},
      {164, 556, u"F11キー ステージエディター終了"},   {470, 484, u"Zキー 前のステージを編集"},
      {470, 502, u"Xキー 後のステージを編集"},         {470, 520, u"F3キー ステージファイルロード"},
      {470, 538, u"F4キー ステージファイルセーブ"},    {470, 556, u"F1キー ヘルプ"},
  };
  DrawRect(160, 480, 800, 600, MakeColor(80, 80, 80), 1);
  Color white = MakeColor(255, 255, 255);
  for (const LegendLine& line : Lines) DrawTextWithFont(line.x, line.y, line.text, white, EditorFont14Edge, 0, 0);
  DrawFormattedTextWithFont(470, 574, MakeColor(127, 255, 127), EditorFont14Edge,
                            u"現在編集中のステージ番号(1～30) [%d]", Editor.CurrentStage + 1);
}
