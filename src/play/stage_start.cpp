// Stage starts and the restart from the last save.
#include "play/stage_start.h"

#include "play/playstate.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/scenes.h"
#include "stage/builtin_loader.h"
#include "stage/custom_stage.h"

void ResetGameOverState() {
  BloodState = 0;
  KillerKind = 0;
}

namespace {

enum class Entry { Builtin, Custom, NextBuiltin };

// nullptr when the stage is ready; a custom stage without start point or goal gives the game's message.
const char* StartStage(Entry entry) {
  Play.PlayerVX = 0;
  Play.PlayerVY = 0;
  Play.GoalReached = 0;
  Play.PlayPhase = 0;
  Play.DeadState = 0;
  Play.PlayerFacing = 0;
  ResetGameOverState();
  if (entry != Entry::Custom) AllStagesCleared = 0;
  if (entry == Entry::Custom) {
    if (const char* refusal = PrepareCustomStage(CustomStageIndex)) return refusal;
  } else {
    LoadBuiltinStage(SelectedStage);
    BackgroundNo = SelectedStage;  // a custom stage keeps the one its select drew at random
  }
  Play.RespawnScrollX = Play.ScrollX;
  Play.RespawnScrollY = Play.ScrollY;
  Play.RespawnX = Play.StartX;
  Play.RespawnY = Play.StartY;
  if (entry != Entry::NextBuiltin) {  // keys carried to the goal go on into the next stage
    Play.KeyHeld1 = Play.KeyHeld2 = Play.KeyHeld3 = 0;
    Play.LockOpenedThisFrame = 0;
  }
  Play.BalloonTimer = 0;
  Play.BalloonState = 0;
  return nullptr;
}

}  // namespace

void StartBuiltinStage() { StartStage(Entry::Builtin); }
const char* StartCustomStage() { return StartStage(Entry::Custom); }
void StartNextBuiltinStage() { StartStage(Entry::NextBuiltin); }

void RestartFromLastSave() {
  PlaySoundEffect(SeConfirm);
  Play.PlayerVX = 0;
  Play.PlayerVY = 0;
  Play.ScrollX = Play.RespawnScrollX;
  Play.ScrollY = Play.RespawnScrollY;
  Play.KeyHeld1 = Play.SavedKeyHeld1;
  Play.KeyHeld2 = Play.SavedKeyHeld2;
  Play.KeyHeld3 = Play.SavedKeyHeld3;
  Play.PlayerX = Play.RespawnX;
  Play.PlayerY = Play.RespawnY;
  Play.PlayPhase = 2;
  Play.DeadState = 0;
  ResetGameOverState();
  Play.BalloonTimer = 0;
  Play.BalloonState = 0;
  // The stage passed its checks when it started, and play never removes a start point or the goal.
  if (Play.PlaySource == 1) PrepareCustomStage(CustomStageIndex);
  else LoadBuiltinStage(SelectedStage);
  PlayMusic(1);
  Play.PlayPhase = 0;
  Play.PlayerAirborne = 0;
}
