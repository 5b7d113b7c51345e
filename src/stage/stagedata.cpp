#include "stage/stagedata.h"

uint8_t StageMap[StageMapColumns * StageMapRows];
int StageWidth = 0;
int StageHeight = 0;
int GoalPlaced = 0;
char16_t SignboardText[4][4][SignboardLineUnits];

uint8_t CustomStageMap[CustomStageCount * CustomCells];
uint8_t CustomPristineMap[CustomStageCount * CustomCells];
int32_t CustomDifficulty[CustomStageCount];
char16_t CustomSignboardText[CustomStageCount][4][4][CustomLineUnits];

StageObject StageObjects[MaxStageObjects];
int ObjectCount = 0;
