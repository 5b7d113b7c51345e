// Live checks of an editor stage: what would stop it from starting, and parts that cannot work as placed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct StageWarning {
  int Col = -1, Row = -1;  // the cell it is about; -1 when it is about the stage as a whole
  std::u16string Text;
};

// cells: one stage, 60 x 45, column-major. Warnings in this order: start point, goal, trap spikes and their
// triggers, save blocks, locks and keys; within a kind in the scan's cell order (column by column).
std::vector<StageWarning> CheckEditorStage(const uint8_t* cells);
