// The custom stage start: the play slot is rebuilt from the pristine copy, then scanned like a built-in map.
#include "stage/custom_stage.h"

#include <cstdint>

#include "play/playstate.h"
#include "stage/catalogue.h"
#include "stage/scan.h"
#include "stage/stagedata.h"

const char* PrepareCustomStage(int t) {
  const bool restart = Play.PlayPhase == 2;
  uint8_t* slot = CustomStageMap + t * CustomCells;
  const uint8_t* pristine = CustomPristineMap + t * CustomCells;
  int goal = 0;
  for (int c = 0; c < CustomColumns; ++c) {
    for (int r = 0; r < CustomRows; ++r) {
      const uint8_t b = pristine[r * CustomColumns + c];  // the pristine copy is row-major
      uint8_t& cell = slot[c * CustomRows + r];
      if (!restart) {
        cell = b;
      } else {
        if (b >= BalloonBlock6 && b <= BreakableBlock) cell = b;
        if (cell >= CountBalloon6 && cell <= CountBalloon36) cell = b;
      }
      if (b == GoalFlag) goal = 1;
    }
  }
  GoalPlaced = goal;
  return TryScanStage(slot, CustomColumns, CustomRows);
}
