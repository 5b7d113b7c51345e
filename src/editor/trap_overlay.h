// The trap-logic overlay (F12): where every trap of an editor stage goes, as cells, for drawing over the map.
#pragma once

#include <cstdint>
#include <vector>

struct OverlayCell {
  int Col, Row;
  bool operator==(const OverlayCell&) const = default;
};

// A trap spike: the triggers that arm it, the direction it shoots and the cell where it comes to rest
// (beside the first Block in its way, or the map's edge cell when there is none: it flies on beyond).
struct TrapShot {
  OverlayCell Spike;
  int Dir;  // 0 left, 1 right, 2 up, 3 down
  OverlayCell End;
  bool FliesOff;  // no Block stops it
  std::vector<OverlayCell> Triggers;
};

// A roving spike's path: its start and every cell where it turns, then where it ends.
enum RovingEnd { RovingLoops = 0, RovingHaltsAtBlock = 1, RovingLeavesMap = 2 };
struct RovingPath {
  std::vector<OverlayCell> Corners;  // start, each turn, the last cell
  RovingEnd End;
};

// A bouncing spike: the cells its diagonal bounces sweep, as a box.
struct BouncingBox {
  OverlayCell Spike;
  OverlayCell TopLeft, BottomRight;
};

struct SaveLink {
  OverlayCell Block, Restart;
};

struct TrapOverlay {
  std::vector<TrapShot> Shots;
  std::vector<RovingPath> Roving;
  std::vector<BouncingBox> Bouncing;
  std::vector<SaveLink> Saves;
};

// cells: one stage, 60 x 45, column-major.
TrapOverlay ComputeTrapOverlay(const uint8_t* cells);
