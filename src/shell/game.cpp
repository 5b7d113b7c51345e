// Entry point, main loop, scene machine and fades.
#include "shell/game.h"

#include <cstring>

#include "play/play_frame.h"
#include "play/playstate.h"
#include "shell/assets.h"
#include "shell/credits.h"
#include "shell/savedata.h"
#include "shell/scenes.h"

int SceneId = 10;
int FadeActive = 0;
int FadeBoxWidth = 800;
int FadeBoxHeight = 600;
int BackgroundNo = 0;
uint8_t AllStagesCleared = 0;
int PrevKeyState[256] = {};

static const char DataMissingMessage[] =
    "data.bin ファイルが見つかりませんでした。\nゲームを動作させるにはdata.bin のファイルが必要です。\n"
    "data.binのファイルが存在していても\nダウンロードした圧縮ファイルを解凍していない可能性があります。";

void CopyKeyState() {
  for (int k = 0; k < 256; ++k) PrevKeyState[k] = static_cast<int8_t>(KeyState[k]);
}

// The routines that keep a scene visible under the fade veil.
static void DrawSceneUnderFade(int mode) {
  if (SceneId == 10 || SceneId == 30 || SceneId == 31 || SceneId == 50 || SceneId == 51 ||
      (mode == 0 && SceneId == 200)) {
    UpdateMenuScenes();
  } else if ((SceneId >= 100 && SceneId <= 104) || (mode == 0 && SceneId == 204)) {
    RunPlayRoutines();
  } else if (SceneId == 105 || SceneId == 106) {
    UpdateCredits();
  } else if ((mode == 0 && (SceneId == 202 || SceneId == 203)) || (mode == 1 && SceneId == 201)) {
    DrawEditorMap();
    DrawEditorGrid();
    DrawEditorPanels();
  }
}

void FadeTransition(int mode) {
  FadeActive = 1;
  int opacity = mode == 0 ? 0 : 255;
  for (int frame = 0; frame < 51; ++frame) {
    // The fade does not read the keyboard: this is the Esc of the pass that started it.
    if (KeyState[KeyEsc] != 0) break;
    if (PumpMessages() != 0) break;
    opacity += mode == 0 ? 5 : -5;
    ClearSurface();
    MeasureFps();
    DrawSceneUnderFade(mode);
    SetBlendMode(BlendAlpha, opacity);
    DrawRect(0, 0, FadeBoxWidth, FadeBoxHeight, MakeColor(0, 0, 0), 1);
    SetBlendMode(BlendNone, 0);
    PresentFrame();
    WaitFrameDue();
  }
  if (KeyState[KeyEsc] == 1) ExitGame(0);
  FadeActive = 0;
}

static void PacedFrame(void (*routine)()) {
  ClearSurface();
  MeasureFps();
  routine();
  CopyKeyState();
  PresentFrame();
  if (SceneId == 10) MarkStartupMoment("title");
  WaitFrameDue();
}

static void PlayFrame() {
  const bool testPlay = TestPlaying();
  if (testPlay) TestPlayBeforeFrame();
  RunPlayRoutines();
  if (ShowFps == 1) DrawFormattedText(560, 0, MakeColor(255, 255, 255), u"%.2fFPS", MeasuredFps);
  if (testPlay) TestPlayAfterFrame();
}

static void StageStartSequence(int scene) {
  FadeTransition(0);
  if (scene == 31) {
    StartBuiltinStage();
  } else if (scene == 51) {
    // A stage of a loaded set that cannot be played is refused without ending the program (the editor may
    // hold unsaved work): the message, then the custom stage select again with that stage current.
    if (const char* refusal = StartCustomStage()) {
      ShowMessageBox("Pelvoro!!", refusal);
      SceneId = 50;
      FadeTransition(1);
      return;
    }
  } else {
    StartNextBuiltinStage();
  }
  SceneId = 100;
  FadeTransition(1);
  if (scene != 101) StopSound(MusicHandle[0]);
  PlayMusic(1);
}

static void ReturnSequence(int target) {
  FadeTransition(0);
  Play.GoalReached = 0;
  Play.PlayPhase = 0;
  SceneId = target;
  Play.Paused = 0;
  FadeTransition(1);
  StopSound(MusicHandle[1]);
  PlayMusic(0);
}

static void CreditsStart() {
  FadeTransition(0);
  SceneId = 105;
  CreditsScrollY = 480.0f;
  FadeTransition(1);
  CreditsMusicVolume = 160;
  SetSoundVolume(160, MusicHandle[2]);
  PlayMusic(2);
}

static void EditorFrame() {
  ClearSurface();
  EditorInput();
  DrawEditorMap();
  DrawEditorGrid();
  DrawEditorPanels();
  PresentFrame();
  RunSignboardDialog();
  RunDifficultyDialog();
  CopyKeyState();
}

// One pass of the main loop; false when the loop must end.
static bool MainLoopPass() {
  if (PumpMessages() != 0 || KeyState[KeyEsc] != 0) return false;
  WaitWhileInactive();
  ReadKeyboard();
  if (SceneId == 10) PacedFrame(UpdateMenuScenes);
  if (SceneId == 20 || SceneId == 21 || SceneId == 30 || SceneId == 40 || SceneId == 50)
    PacedFrame(UpdateMenuScenes);
  if (SceneId == 31) StageStartSequence(31);
  if (SceneId == 51) StageStartSequence(51);
  if (SceneId == 100) PacedFrame(PlayFrame);
  if (SceneId == 101) StageStartSequence(101);
  if (SceneId == 102) ReturnSequence(30);
  if (SceneId == 103 && TestPlaying()) SceneId = 204;  // test play goes back to the editor instead
  if (SceneId == 103) ReturnSequence(50);
  if (SceneId == 104) CreditsStart();
  if (SceneId == 105) PacedFrame(UpdateCredits);
  if (SceneId == 106) {
    FadeTransition(0);
    SceneId = 10;
    FadeTransition(1);
    PlayMusic(0);
  }
  if (SceneId == 200) {
    FadeTransition(0);
    SceneId = 201;
    FadeBoxHeight = 600;
    FadeBoxWidth = 800;
    SetWindowClientSize(800, 600);
    FadeTransition(1);
  }
  if (SceneId == 201) EditorFrame();
  if (SceneId == 202) {
    FadeTransition(0);
    SceneId = 10;
    FadeBoxHeight = 480;
    FadeBoxWidth = 640;
    SetWindowClientSize(640, 480);
    FadeTransition(1);
  }
  if (SceneId == 203) StartTestPlay();
  if (SceneId == 204) EndTestPlay();
  return true;
}

int RunGame() {
  if (!LocateDataArchive("data.bin")) {
    ShowMessageBox("Pelvoro!!", DataMissingMessage);
    return -1;
  }
  FadeBoxHeight = 600;
  FadeBoxWidth = 800;
  SetDrawingSurface(800, 600, 32, 60);
  SetWindowNotScaled();
  SetWindowClientSize(640, 480);
  SetWindowTitle("Pelvoro!!");
  SetWindowedMode(1);
  SetWindowIconId(101);
  if (InitMedia() == -1) {
    ShowMessageBox("Pelvoro!!", "Direct3Dの初期化に失敗しました。");
    return -1;
  }
  SetDrawTargetBack();
  AssetStartupFirstHalf();
  ResetGameState();
  AssetStartupSecondHalf();
  SetExitHook(EditorShutdown);
  while (MainLoopPass()) {
  }
  EditorShutdown();
  FreeAllPictures();
  FreeAllSounds();
  FreeAllFonts();
  EndMedia();
  return 0;
}
