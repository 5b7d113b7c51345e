// Stage clear (recording, the three clear screens) and the pause screen.
#include "play/inplay_flow.h"
#include "play/playstate.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/savedata.h"

// Unlocks the stage after the cleared one, which Z then loads; custom stages keep no progress.
static void RecordClear() {
  PlaySoundEffect(SeStageClear);
  StopSound(MusicHandle[1]);
  if (Play.PlaySource == 0) {
    if (SelectedStage < 30) {
      SelectedStage += 1;
      if (SelectedStage >= 1 && SelectedStage <= 32) StageUnlocked[SelectedStage - 1] = 1;
    } else if (SelectedStage == 30) {
      AllStagesCleared = 1;
    }
    SaveDataIo(2);
  }
  Play.GoalReached = 2;
}

// Accepts a press of key that asks for a scene change: only one scene change per frame.
static bool SceneKey(int key) {
  if (!KeyPressed(key) || SceneId != 100) return false;
  PlaySoundEffect(SeConfirm);
  ConsumeKey(key);
  return true;
}

static void ClearScreen() {
  if (Play.PlaySource != 0) {
    DrawPicture(0, 0, ImgStageClear2, 1);
    if (SceneKey(KeyS)) SceneId = 103;
  } else if (AllStagesCleared == 0) {
    DrawPicture(0, 0, ImgStageClear, 1);
    if (SceneKey(KeyZ)) SceneId = 101;
    if (SceneKey(KeyS)) SceneId = 102;
  } else {
    DrawPicture(0, 0, ImgAllStageClear, 1);
    if (SceneKey(KeyZ)) SceneId = 104;
  }
}

void StageClearStep() {
  if (Play.GoalReached == 1) RecordClear();
  if (Play.GoalReached == 2) ClearScreen();
}

void PauseStep() {
  // The Tab press is left unconsumed; holding Tab does not toggle again, since it needs a new press.
  if (KeyPressed(KeyTab) && Play.GoalReached == 0 && Play.PlayPhase == 0 && FadeActive == 0) {
    PlaySoundEffect(SeConfirm);
    Play.Paused = 1 - Play.Paused;
  }
  if (Play.Paused != 1) return;
  DrawPicture(0, 0, ImgPause, 1);
  if (SceneKey(KeyS)) SceneId = Play.PlaySource == 0 ? 102 : 103;
  // Giving up: the game over starts in the next frame, when the flow sees the kill.
  if (SceneKey(KeyD)) {
    Play.DeadState = 5;
    Play.Paused = 0;
  }
}
