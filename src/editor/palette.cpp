// The palette panel: 32 of the 256 parts at a time with a scroll bar, the picks of both mouse buttons with their
// big icons, numbers and help lines.
#include "editor/editor.h"
#include "media/media.h"
#include "shell/assets.h"
#include "stage/catalogue.h"

namespace {

// The scroll bar's column and the two 20-pixel arrows at its ends.
constexpr int BarLeft = 134, BarRight = 154;
constexpr int UpArrowTop = 32, TrackTop = 52, TrackBottom = 268, DownArrowBottom = 288;

// A scroll step only once the repeat counter is above 5, so a held button steps every sixth frame.
void StepPalette(int step) {
  if (Editor.RepeatCounter <= 5) return;
  Editor.PaletteScroll += step;
  Editor.RepeatCounter = 0;
}

// The id of the palette cell under (x, y), or -1.
int PaletteCellAt(int x, int y) {
  if (x < 6 || x > 6 + 32 * 4 - 1 || y < 32 || y > 32 + 32 * 8 - 1) return -1;
  return 16 * Editor.PaletteScroll + 4 * ((y - 32) / 32) + (x - 6) / 32;
}

void DrawPartIcon(int x, int y, int part) {
  DrawPictureRegion(x, y, PartIconX(part), PartIconY(part), 32, 32, ImgParts, 0, 0);
}

void DrawHelpLines(int part, int top) {
  for (int line = 0; line < PartHelpLineCount(part); ++line)
    DrawTextWithFont(2, top + 16 * line, PartHelpLine(part, line), MakeColor(255, 255, 255), EditorFont12, 0, 0);
}

// Translucent marks over the picked cells, clipped to the palette so that a pick on another page is not seen.
void DrawSelectionMarks() {
  SetClipRect(6, 32, 134, 288);
  SetBlendMode(BlendAlpha, 128);
  const struct {
    int part;
    Color color;
  } Marks[] = {{Editor.LeftPart, MakeColor(255, 0, 0)}, {Editor.RightPart, MakeColor(0, 0, 255)}};
  for (const auto& mark : Marks) {
    int x = 6 + 32 * (mark.part % 4), y = 32 + 32 * (mark.part / 4) - 128 * Editor.PaletteScroll;
    DrawRect(x, y, x + 32, y + 32, mark.color, 1);
  }
  SetBlendMode(BlendNone, 0);
  ResetClipRect();
}

}  // namespace

void ScrollPalette(int x, int y, bool leftHeld) {
  if (!leftHeld || x < BarLeft || x > BarRight) return;
  if (y >= UpArrowTop && y <= TrackTop) {
    Editor.PaletteArrowHighlight = 1;
    StepPalette(-1);
  }
  if (y >= TrackBottom && y <= DownArrowBottom) {
    Editor.PaletteArrowHighlight = 2;
    StepPalette(1);
  }
  if (y >= 72 + 14 * Editor.PaletteScroll && y <= TrackBottom - 1) StepPalette(1);
  if (y >= TrackTop && y <= TrackTop + 14 * Editor.PaletteScroll) StepPalette(-1);
  if (Editor.PaletteScroll < 0) Editor.PaletteScroll = 0;
  if (Editor.PaletteScroll > MaxPaletteScroll) Editor.PaletteScroll = MaxPaletteScroll;
}

void PickPaletteParts(int x, int y, bool leftHeld, bool rightHeld) {
  int part = PaletteCellAt(x, y);
  if (part < 0) return;
  if (leftHeld) Editor.LeftPart = part;
  if (rightHeld) Editor.RightPart = part;
}

void DrawScrollbarArrow(int x, int y, bool down, bool lit) {
  DrawPictureRegion(x, y, lit ? 20 : 0, down ? 20 : 0, 20, 20, ImgScrollbar, 1, 0);
}

void DrawPalettePanel() {
  Color white = MakeColor(255, 255, 255), pink = MakeColor(255, 127, 127), lilac = MakeColor(127, 127, 255);
  DrawRect(0, 0, 160, 800, MakeColor(102, 102, 102), 1);
  DrawTextWithFont(10, 6, u"マップパーツ", white, EditorFont20, 0, 0);
  DrawRect(4, 30, 156, 290, MakeColor(51, 51, 51), 1);
  for (int r = 0; r < 8; ++r) {
    for (int i = 0; i < 4; ++i) DrawPartIcon(6 + 32 * i, 32 + 32 * r, 16 * Editor.PaletteScroll + 4 * r + i);
  }
  DrawScrollbarArrow(BarLeft, UpArrowTop, false, Editor.PaletteArrowHighlight == 1);
  DrawScrollbarArrow(BarLeft, TrackBottom, true, Editor.PaletteArrowHighlight == 2);
  DrawRect(BarLeft, TrackTop, BarRight, TrackBottom, MakeColor(153, 153, 153), 1);
  DrawPictureRegion(BarLeft, TrackTop + 14 * Editor.PaletteScroll, 40, 0, 20, 20, ImgScrollbar, 1, 0);
  DrawTextWithFont(6, 292, u"現在のパーツ選択", white, EditorFont14Edge, 0, 0);
  DrawSelectionMarks();
  DrawTextWithFont(20, 312, u"左", pink, EditorFont20, 0, 0);
  DrawTextWithFont(100, 312, u"右", lilac, EditorFont20, 0, 0);
  DrawRect(14, 338, 50, 374, MakeColor(51, 51, 51), 1);
  DrawRect(94, 338, 130, 374, MakeColor(51, 51, 51), 1);
  DrawPartIcon(16, 340, Editor.LeftPart);
  DrawPartIcon(96, 340, Editor.RightPart);
  DrawFormattedTextWithFont(6, 380, pink, EditorFont20, u"左(パーツ%00d)", Editor.LeftPart);
  DrawHelpLines(Editor.LeftPart, 404);
  DrawFormattedTextWithFont(6, 466, lilac, EditorFont20, u"右(パーツ%00d)", Editor.RightPart);
  DrawHelpLines(Editor.RightPart, 490);
}
