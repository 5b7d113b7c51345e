// What the editor draws over the current stage besides its cells: the live stage checks (a yellow frame on
// each cell a warning is about, and the warnings themselves in the free corner of the legend panel, where a
// click scrolls the map to the cell) and the trap-logic overlay that F12 toggles.
#include <algorithm>
#include <cstring>
#include <vector>

#include "editor/editor.h"
#include "editor/stage_checks.h"
#include "editor/trap_overlay.h"
#include "media/media.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "stage/stageset.h"

namespace {

const uint8_t* CurrentCells() { return EditorStageSet.Maps + Editor.CurrentStage * CustomCells; }

// Both are worked out again only when the stage's cells change.
struct Marks {
  std::vector<uint8_t> Cells;
  std::vector<StageWarning> Warnings;
  TrapOverlay Overlay;
  bool OverlayDone = false;
};
Marks Cache;

void Refresh() {
  const uint8_t* cells = CurrentCells();
  if (Cache.Cells.size() == static_cast<size_t>(CustomCells) && std::memcmp(Cache.Cells.data(), cells, CustomCells) == 0)
    return;
  Cache.Cells.assign(cells, cells + CustomCells);
  Cache.Warnings = CheckEditorStage(cells);
  Cache.OverlayDone = false;
}

const TrapOverlay& Overlay() {
  Refresh();
  if (!Cache.OverlayDone) {
    Cache.Overlay = ComputeTrapOverlay(CurrentCells());
    Cache.OverlayDone = true;
  }
  return Cache.Overlay;
}

// Pixel of a cell's top-left corner in the map view.
int CellX(int column) { return MapViewLeft + 32 * (column - Editor.MapScrollColumn); }
int CellY(int row) { return 32 * (row - Editor.MapScrollRow); }
int CentreX(const OverlayCell& cell) { return CellX(cell.Col) + 16; }
int CentreY(const OverlayCell& cell) { return CellY(cell.Row) + 16; }

void ThickLine(int x1, int y1, int x2, int y2, Color color) {
  DrawLine(x1, y1, x2, y2, color);
  if (std::abs(x2 - x1) >= std::abs(y2 - y1)) DrawLine(x1, y1 + 1, x2, y2 + 1, color);
  else DrawLine(x1 + 1, y1, x2 + 1, y2, color);
}

// Lines are drawn from centre to centre; an arrow head at (x2, y2) pointing away from (x1, y1).
void Arrow(int x1, int y1, int x2, int y2, Color color) {
  ThickLine(x1, y1, x2, y2, color);
  const int dx = (x2 > x1) - (x2 < x1), dy = (y2 > y1) - (y2 < y1);
  if (dx == 0 && dy == 0) return;
  // Two strokes of 8 pixels at right angles to each other, meeting at the tip.
  ThickLine(x2, y2, x2 - 8 * dx - 6 * dy, y2 - 8 * dy - 6 * dx, color);
  ThickLine(x2, y2, x2 - 8 * dx + 6 * dy, y2 - 8 * dy + 6 * dx, color);
}

void Box(int x1, int y1, int x2, int y2, Color color) {
  DrawRect(x1, y1, x2, y2, color, 0);
  DrawRect(x1 + 1, y1 + 1, x2 - 1, y2 - 1, color, 0);
}

const int ShotDX[4] = {-1, 1, 0, 0}, ShotDY[4] = {0, 0, -1, 1};

void DrawTrapOverlay() {
  const TrapOverlay& overlay = Overlay();
  const Color trigger = MakeColor(255, 160, 0), shot = MakeColor(255, 64, 255), roving = MakeColor(0, 224, 255),
              bouncing = MakeColor(176, 255, 64), save = MakeColor(64, 255, 128);
  for (const TrapShot& s : overlay.Shots) {
    for (const OverlayCell& t : s.Triggers) {
      ThickLine(CentreX(t), CentreY(t), CentreX(s.Spike), CentreY(s.Spike), trigger);
      Box(CellX(t.Col) + 10, CellY(t.Row) + 10, CellX(t.Col) + 22, CellY(t.Row) + 22, trigger);
    }
    // The shot ends at the cell where the spike rests; one that flies off points past the map's edge.
    int endX = CentreX(s.End), endY = CentreY(s.End);
    if (s.FliesOff) {
      endX += 16 * ShotDX[s.Dir];
      endY += 16 * ShotDY[s.Dir];
    }
    if (s.End == s.Spike && !s.FliesOff) {  // a Block right beside it: a short stub
      endX += 12 * ShotDX[s.Dir];
      endY += 12 * ShotDY[s.Dir];
    }
    Arrow(CentreX(s.Spike), CentreY(s.Spike), endX, endY, shot);
  }
  for (const RovingPath& path : overlay.Roving) {
    for (size_t i = 1; i < path.Corners.size(); ++i) {
      const OverlayCell &a = path.Corners[i - 1], &b = path.Corners[i];
      if (i + 1 == path.Corners.size() && path.End == RovingLeavesMap)
        Arrow(CentreX(a), CentreY(a), CentreX(b), CentreY(b), roving);
      else ThickLine(CentreX(a), CentreY(a), CentreX(b), CentreY(b), roving);
    }
    const OverlayCell& last = path.Corners.back();
    if (path.End == RovingHaltsAtBlock) {  // an X where it stops for good
      ThickLine(CentreX(last) - 6, CentreY(last) - 6, CentreX(last) + 6, CentreY(last) + 6, roving);
      ThickLine(CentreX(last) - 6, CentreY(last) + 6, CentreX(last) + 6, CentreY(last) - 6, roving);
    } else if (path.End == RovingLoops) {  // a ring where the loop closes
      Box(CentreX(last) - 6, CentreY(last) - 6, CentreX(last) + 7, CentreY(last) + 7, roving);
    }
  }
  for (const BouncingBox& b : overlay.Bouncing)
    Box(CellX(b.TopLeft.Col) + 2, CellY(b.TopLeft.Row) + 2, CellX(b.BottomRight.Col) + 30,
        CellY(b.BottomRight.Row) + 30, bouncing);
  for (const SaveLink& link : overlay.Saves) {
    ThickLine(CentreX(link.Block), CentreY(link.Block), CentreX(link.Restart), CentreY(link.Restart), save);
    Box(CellX(link.Restart.Col) + 8, CellY(link.Restart.Row) + 8, CellX(link.Restart.Col) + 24,
        CellY(link.Restart.Row) + 24, save);
  }
}

// The warnings' corner of the legend panel: left of the second column, below the first column's last line.
constexpr int StripLeft = 164, StripTop = 574, StripRight = 466, LineHeight = 13;
constexpr int NextLeft = 426;  // "次へ" when there are more than two
const Color WarningColor = MakeColor(255, 224, 64);

std::u16string WarningLine(const StageWarning& w) {
  if (w.Col < 0) return w.Text;
  return FormatTextV(u"(%d,%d) ", w.Col + 1, w.Row + 1) + w.Text;
}

}  // namespace

void DrawMapMarks() {
  Refresh();
  for (const StageWarning& w : Cache.Warnings)
    if (w.Col >= 0) Box(CellX(w.Col), CellY(w.Row), CellX(w.Col) + 32, CellY(w.Row) + 32, WarningColor);
  if (Editor.TrapOverlayOn) DrawTrapOverlay();
}

void DrawWarningStrip() {
  Refresh();
  const int n = static_cast<int>(Cache.Warnings.size());
  if (n == 0) return;
  if (Editor.WarningFirst >= n) Editor.WarningFirst = 0;
  for (int i = 0; i < 2 && Editor.WarningFirst + i < n; ++i)
    DrawTextWithFont(StripLeft, StripTop + LineHeight * i, WarningLine(Cache.Warnings[Editor.WarningFirst + i]).c_str(),
                     WarningColor, EditorFont12, 0, 0);
  if (n > 2) {
    DrawRect(NextLeft, StripTop + 1, StripRight, 599, MakeColor(112, 112, 112), 1);
    DrawFormattedTextWithFont(NextLeft + 3, StripTop + 1, WarningColor, EditorFont12, u"%d/%d", Editor.WarningFirst / 2 + 1,
                              (n + 1) / 2);
    DrawTextWithFont(NextLeft + 3, StripTop + LineHeight, u"次へ", WarningColor, EditorFont12, 0, 0);
  }
}

bool ClickWarningStrip(int x, int y) {
  if (x < StripLeft || x > StripRight || y < StripTop || y > 599) return false;
  Refresh();
  const int n = static_cast<int>(Cache.Warnings.size());
  if (n == 0) return false;
  if (n > 2 && x >= NextLeft) {
    Editor.WarningFirst = Editor.WarningFirst + 2 >= n ? 0 : Editor.WarningFirst + 2;
    return true;
  }
  const int i = Editor.WarningFirst + std::min((y - StripTop) / LineHeight, 1);
  if (i >= n || Cache.Warnings[i].Col < 0) return true;
  // The cell near the middle of the view, as far as the map's edges let it.
  Editor.MapScrollColumn = std::clamp(Cache.Warnings[i].Col - MapViewColumns / 2, 0, MaxScrollColumn);
  Editor.MapScrollRow = std::clamp(Cache.Warnings[i].Row - MapViewRows / 2, 0, MaxScrollRow);
  return true;
}

std::vector<StageWarning> CurrentStageWarnings() {
  Refresh();
  return Cache.Warnings;
}
