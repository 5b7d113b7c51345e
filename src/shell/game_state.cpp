// The reset of the game state between the two halves of the asset start-up.
#include "play/playstate.h"
#include "shell/game.h"
#include "shell/menus.h"
#include "shell/scenes.h"

void ResetGameState() {
  Play.PlayerVX = 0;
  Play.PlayerVY = 0;
  MenuCursor = 0;
  CustomStageIndex = 0;
  Play.PlayerFacing = 0;
  Play.DeadState = 0;
  KillerKind = 0;
  Play.SignboardShown = 0;
  Play.PlayerOnIce = 0;
  StageSelectMessageOn = 0;
  StageSelectMessageTimer = 0;
  Play.PlayPhase = 0;
  Play.GoalReached = 0;
  Play.Paused = 0;
  for (DebrisSlot& slot : DebrisSlots) slot.Active = 0;
  ResetTitleAnimation();
  SceneId = 10;
  Play.PlaySource = 0;
}
