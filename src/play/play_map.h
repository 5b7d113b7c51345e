// The map being played, as the player's collision and the map drawing see it: the built-in StageMap while
// the built-in stages are played, slot CustomStageIndex of CustomStageMap while a custom set is.
#pragma once

#include <cstdint>

#include "play/playstate.h"
#include "stage/stagedata.h"

// Both kinds of map are column-major with 45 rows per column, so one base pointer serves either.
inline uint8_t* PlayMapBase() {
  return Play.PlaySource == 1 ? CustomStageMap + CustomStageIndex * CustomCells : StageMap;
}
inline int PlayMapColumns() { return Play.PlaySource == 1 ? CustomColumns : StageWidth; }
inline int PlayMapRows() { return Play.PlaySource == 1 ? CustomRows : StageHeight; }
// Cell (c, r); c and r must lie inside the map.
inline uint8_t& PlayMapAt(int c, int r) { return PlayMapBase()[c * StageMapRows + r]; }
