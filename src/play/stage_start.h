// The stage entries. The shell's one-shot scenes call StartBuiltinStage (31), StartCustomStage (51) and
// StartNextBuiltinStage (101), declared in shell/scenes.h, between its fades.
#pragma once

// The restart from the last save, for R on the game-over screen: confirm sound, the player back at the respawn
// position with the respawn scroll and the saved keys, without the count balloon, the stage reloaded in
// restart mode (used-up blocks, balloons, keys and locks back; pressed save blocks stay pressed; every play
// object back at its start), the play music again, PlayPhase 0. The caller marks the R press as used.
void RestartFromLastSave();

// The game-over screen's own state, cleared by every stage start and by the restart.
void ResetGameOverState();
