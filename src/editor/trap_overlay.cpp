// Cell-level paths of the moving spikes. Trap and roving spikes move along one row or column and stop only
// at a Block, so their paths are exact; the bouncing spike's box follows its bounces cell by cell, which
// is what its 4-pixel steps from a cell corner amount to.
#include "editor/trap_overlay.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "stage/catalogue.h"
#include "stage/stagedata.h"

namespace {

constexpr int W = CustomColumns, H = CustomRows;
const int StepCol[4] = {-1, 1, 0, 0}, StepRow[4] = {0, 0, -1, 1};

bool Inside(int c, int r) { return c >= 0 && r >= 0 && c < W && r < H; }
uint8_t At(const uint8_t* cells, int c, int r) { return cells[c * H + r]; }

// What turns the bouncing spike back (the map's edge holds it too).
bool SpikeWall(const uint8_t* cells, int c, int r) {
  if (!Inside(c, r)) return true;
  const uint8_t p = At(cells, c, r);
  return p == Block || (p >= SaveBlock1 && p <= SaveBlockPressed6) || (p >= LockBlock1 && p <= LockBlock3) ||
         (p >= BalloonBlock6 && p <= BalloonBlock36) || p == BreakableBlock || p == InvisibleBlock;
}

TrapShot Shot(const uint8_t* cells, int c, int r) {
  const int id = At(cells, c, r), dir = (id - TrapSpikeFirst) % 4, trigger = TriggerOfTrapSpike(id);
  TrapShot shot{{c, r}, dir, {c, r}, false, {}};
  int x = c, y = r;
  for (;;) {
    const int nx = x + StepCol[dir], ny = y + StepRow[dir];
    if (!Inside(nx, ny)) {
      shot.FliesOff = true;
      break;
    }
    if (At(cells, nx, ny) == Block) break;
    x = nx;
    y = ny;
  }
  shot.End = {x, y};
  for (int tc = 0; tc < W; tc++)
    for (int tr = 0; tr < H; tr++)
      if (At(cells, tc, tr) == trigger) shot.Triggers.push_back({tc, tr});
  return shot;
}

RovingPath Roving(const uint8_t* cells, int c, int r) {
  RovingPath path{{{c, r}}, RovingLoops};
  int dir = At(cells, c, r) - RovingSpikeFirst;
  std::set<std::tuple<int, int, int>> seen{{c, r, dir}};
  for (;;) {
    const int nx = c + StepCol[dir % 4], ny = r + StepRow[dir % 4];
    if (!Inside(nx, ny)) {
      path.End = RovingLeavesMap;
      break;
    }
    if (At(cells, nx, ny) == Block) {
      path.End = RovingHaltsAtBlock;
      break;
    }
    c = nx;
    r = ny;
    const uint8_t p = At(cells, c, r);
    if (p >= SpikeTurnerFirst && p <= SpikeTurnerLast) {
      const int turned = p - SpikeTurnerFirst;
      if (turned % 4 != dir % 4) path.Corners.push_back({c, r});
      dir = turned;
    }
    if (!seen.insert({c, r, dir}).second) {
      path.End = RovingLoops;
      break;
    }
  }
  if (!(path.Corners.back() == OverlayCell{c, r})) path.Corners.push_back({c, r});
  return path;
}

BouncingBox Bouncing(const uint8_t* cells, int c, int r) {
  BouncingBox box{{c, r}, {c, r}, {c, r}};
  int dx = -1, dy = -1;  // it starts up and to the left
  std::set<std::tuple<int, int, int, int>> seen;
  while (seen.insert({c, r, dx, dy}).second) {
    const bool vertical = SpikeWall(cells, c, r + dy), across = SpikeWall(cells, c + dx, r);
    if (vertical) dy = -dy;
    if (across) dx = -dx;
    // Meeting only the corner of a wall, the vertical rebound wins.
    if (!vertical && !across && SpikeWall(cells, c + dx, r + dy)) dy = -dy;
    if (!SpikeWall(cells, c + dx, r + dy)) {
      c += dx;
      r += dy;
    }
    box.TopLeft = {std::min(box.TopLeft.Col, c), std::min(box.TopLeft.Row, r)};
    box.BottomRight = {std::max(box.BottomRight.Col, c), std::max(box.BottomRight.Row, r)};
  }
  return box;
}

}  // namespace

TrapOverlay ComputeTrapOverlay(const uint8_t* cells) {
  TrapOverlay overlay;
  OverlayCell restart[6];
  bool hasRestart[6] = {};
  for (int c = 0; c < W; c++)
    for (int r = 0; r < H; r++) {
      const uint8_t p = At(cells, c, r);
      if (p >= RestartPoint1 && p <= RestartPoint6) {  // a later cell of the same number wins, as in play
        restart[p - RestartPoint1] = {c, r};
        hasRestart[p - RestartPoint1] = true;
      }
    }
  for (int c = 0; c < W; c++)
    for (int r = 0; r < H; r++) {
      const uint8_t p = At(cells, c, r);
      if (p >= TrapSpikeFirst && p <= TrapSpikeLast) overlay.Shots.push_back(Shot(cells, c, r));
      if (p >= RovingSpikeFirst && p <= RovingSpikeLast) overlay.Roving.push_back(Roving(cells, c, r));
      if (p == BouncingSpike) overlay.Bouncing.push_back(Bouncing(cells, c, r));
      if (p >= SaveBlock1 && p <= SaveBlock6 && p % 2 == 0 && hasRestart[(p - SaveBlock1) / 2])
        overlay.Saves.push_back({{c, r}, restart[(p - SaveBlock1) / 2]});
    }
  return overlay;
}
