#include "play/playstate.h"

PlayState Play;
int SelectedStage = 1;
int CustomStageIndex = 0;
int KillerKind = 0;
DebrisSlot DebrisSlots[DebrisSlotCount];
int BloodState = 0;
BloodDrop BloodDrops[BloodDropCount];
