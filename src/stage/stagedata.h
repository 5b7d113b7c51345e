// The maps, signboard texts and play objects of the stage being played.
#pragma once

#include <cstdint>

// Built-in stages: 200 columns x 45 rows, column-major (cell (c, r) is byte c * 45 + r).
constexpr int StageMapColumns = 200;
constexpr int StageMapRows = 45;
extern uint8_t StageMap[StageMapColumns * StageMapRows];
extern int StageWidth;
extern int StageHeight;
extern int GoalPlaced;

constexpr int SignboardLineUnits = 256;
extern char16_t SignboardText[4][4][SignboardLineUnits];

// Custom stage sets: 30 stages of 60 x 45 cells.
constexpr int CustomStageCount = 30;
constexpr int CustomColumns = 60;
constexpr int CustomRows = 45;
constexpr int CustomCells = CustomColumns * CustomRows;  // 2700
constexpr int CustomLineUnits = 64;
// Slot t holds stage t, column-major like the editor's maps: byte (t * 60 + c) * 45 + r.
extern uint8_t CustomStageMap[CustomStageCount * CustomCells];
// Row-major: byte (t * 45 + r) * 60 + c.
extern uint8_t CustomPristineMap[CustomStageCount * CustomCells];
extern int32_t CustomDifficulty[CustomStageCount];
extern char16_t CustomSignboardText[CustomStageCount][4][4][CustomLineUnits];

// One moving spike of the stage.
struct StageObject {
  float X = 0, Y = 0;
  float VX = 0, VY = 0;
  int Dir = 0;
  int State = 0;
  int Kind = 0;
  int PixelX = 0, PixelY = 0;
  int CellCol = 0, CellRow = 0;
};
constexpr int MaxStageObjects = 2700;
extern StageObject StageObjects[MaxStageObjects];
extern int ObjectCount;
