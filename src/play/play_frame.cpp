#include "play/play_frame.h"

#include "shell/scenes.h"

void RunPlayRoutines() {
  DrawPlayBackground();
  DrawPlayMap();
  ControlPlayer();
  CollidePlayer();
  PlayObjectPass();
  InPlayFlow();
}
