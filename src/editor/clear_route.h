// The route the clear check steers its search by, derived from an editor stage's cells alone.
#pragma once

#include <cstdint>
#include <string>

// Cells of one editor stage: 60 columns x 45 rows, column-major (cell (c, r) is byte c * 45 + r).
// Returns waypoints in the search's route form ("c,r:hit c,r:balloon"), before the goal:
// - "" when the goal looks reachable by walking and jumping from the start (or nothing better is known);
// - through a count balloon, or a balloon block and the balloon it releases, when the goal is out of reach
//   on foot and a balloon is within reach.
std::string DeriveClearRoute(const uint8_t* cells);

// Cells a player can occupy by walking, jumping (up to two cells) and falling from the first start point,
// without a balloon: one flag per cell, column-major. All zero when the stage has no start point.
void ReachableOnFoot(const uint8_t* cells, uint8_t* reachable);
