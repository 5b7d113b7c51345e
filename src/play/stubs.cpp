// Temporary hooks for play routines not built yet: each draws nothing. Removed as the real ones land.
#include "play/playstate.h"
#include "shell/scenes.h"

void DrawPlayBackground() {}
void DrawPlayMap() {}
void ControlPlayer() {}
void CollidePlayer() {}
void PlayObjectPass() {}
void InPlayFlow() {}
void StartBuiltinStage() {}
void StartCustomStage() {}
void StartNextBuiltinStage() {}
