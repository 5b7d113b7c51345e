// The in-play flow: what is drawn over the stage, and how a life or a stage ends. Later steps draw over
// earlier ones, so the game-over, clear and pause pictures cover the debris and the signboard window.
#include "play/inplay_flow.h"

#include "shell/scenes.h"

void InPlayFlow() {
  UpdateDebris();
  DrawSignboardWindow();
  GameOverStep();
  StageClearStep();
  PauseStep();
}
