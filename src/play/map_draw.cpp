// Background picture and map cells of the play screen.
#include "play/map_draw.h"

#include "play/play_map.h"
#include "play/playstate.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/scenes.h"
#include "stage/catalogue.h"

namespace {

// Source of a cell's picture: in ImgMapParts (32 x 32), or in ImgCountBalloon (32 x 48) for count balloons.
struct CellPicture {
  int16_t X, Y;
  uint8_t Drawn, Balloon;
};

constexpr CellPicture MapParts(int x, int y) { return {static_cast<int16_t>(x), static_cast<int16_t>(y), 1, 0}; }
constexpr CellPicture BalloonPicture(int x, int y) {
  return {static_cast<int16_t>(x), static_cast<int16_t>(y), 1, 1};
}

struct CellPictureTable {
  CellPicture Of[256] = {};
  constexpr CellPictureTable() {
    Of[GoalFlag] = MapParts(160, 0);
    Of[Block] = MapParts(0, 0);
    for (int id = SaveBlock1; id <= SaveBlockPressed6; ++id) Of[id] = MapParts(id % 2 == 0 ? 192 : 224, 0);
    Of[SpikeLeft] = MapParts(32, 0);
    Of[SpikeRight] = MapParts(64, 0);
    Of[SpikeUp] = MapParts(96, 0);
    Of[SpikeDown] = MapParts(128, 0);
    for (int k = 0; k < 6; ++k) Of[LockBlock1 + k] = MapParts(320 + 32 * k, 0);  // locks, then keys
    for (int id = Signboard1; id <= Signboard4; ++id) Of[id] = MapParts(288, 0);
    for (int id = BalloonBlock6; id <= BalloonBlock36; ++id) Of[id] = MapParts(0, 32);
    // The count balloons in the map are the first countdown frames of the carried balloon.
    Of[CountBalloon6] = BalloonPicture(160, 0);
    Of[CountBalloon12] = BalloonPicture(352, 0);
    Of[CountBalloon24] = BalloonPicture(96, 48);
    Of[CountBalloon36] = BalloonPicture(480, 48);
    Of[BreakableBlock] = MapParts(32, 32);
    Of[IceBlock] = MapParts(64, 32);
  }
};
constexpr CellPictureTable CellPictures;

}  // namespace

CellRange VisibleCells(int scrollX, int scrollY, int mapColumns, int mapRows) {
  CellRange range;
  range.C0 = -(scrollX / 32);
  range.R0 = -(scrollY / 32);
  if (range.C0 < 0) range.C0 = 0;
  if (range.R0 < 0) range.R0 = 0;
  // 21 x 16 cells also cover a screen that a scroll has moved by part of a cell.
  range.C1 = 21 - scrollX / 32;
  range.R1 = 16 - scrollY / 32;
  if (range.C1 > mapColumns) range.C1 = mapColumns;
  if (range.R1 > mapRows) range.R1 = mapRows;
  return range;
}

void DrawPlayBackground() {
  static const GraphHandle* const Backgrounds[5] = {&ImgBg01, &ImgBg02, &ImgBg03, &ImgBg04, &ImgBg05};
  if (BackgroundNo >= 1 && BackgroundNo <= 30) DrawPicture(0, 0, *Backgrounds[(BackgroundNo - 1) / 6], 0);
}

void DrawPlayMap() {
  if (!DrawingEnabled()) return;  // nothing here but pictures
  const CellRange range = VisibleCells(Play.ScrollX, Play.ScrollY, PlayMapColumns(), PlayMapRows());
  for (int c = range.C0; c < range.C1; ++c) {
    for (int r = range.R0; r < range.R1; ++r) {
      const CellPicture& picture = CellPictures.Of[PlayMapAt(c, r)];
      if (!picture.Drawn) continue;
      const int x = 32 * c + Play.ScrollX;
      const int y = 32 * r + Play.ScrollY;
      if (picture.Balloon)
        DrawPictureRegion(x, y - 16, picture.X, picture.Y, 32, 48, ImgCountBalloon, 1, 0);
      else
        DrawPictureRegion(x, y, picture.X, picture.Y, 32, 32, ImgMapParts, 1, 0);
    }
  }
}
