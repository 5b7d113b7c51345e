// Test play: the current stage of the editor played at once under the custom-stage rules, on a copy of its
// cells, and back to the editor as it was. Scene 203 starts it, play runs as scene 100, and scene 204 (F2 at
// any time, or S where play would go back to the custom stage select) returns to the editor.
#include <cstring>
#include <vector>

#include "editor/clear_check.h"
#include "editor/editor.h"
#include "editor/stage_for_play.h"
#include "media/media.h"
#include "play/clear_search.h"
#include "play/playstate.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/scenes.h"
#include "stage/catalogue.h"
#include "stage/stageset.h"

namespace {

struct TestPlayRun {
  bool Active = false;
  int Stage = 0;
  int StartCol = -1, StartRow = -1;  // Shift+F2: the start point given by the pointer
  std::vector<uint8_t> Watch;        // the clear check's keys, played instead of the keyboard's
  size_t WatchFrame = 0;
};
TestPlayRun Run;

// 1 no start point, 2 no goal, 0 playable: of the stage as test play will see it.
int MissingForTestPlay(int t, int startCol, int startRow) {
  std::vector<uint8_t> cells(EditorStageSet.Maps + t * CustomCells, EditorStageSet.Maps + (t + 1) * CustomCells);
  if (startCol >= 0) {
    for (uint8_t& cell : cells)
      if (cell == StartPoint) cell = Empty;
    cells[startCol * CustomRows + startRow] = StartPoint;
  }
  return MissingStartOrGoal(cells.data());
}

void RequestTestPlay(int startCol, int startRow, std::vector<uint8_t> watch) {
  const int t = Editor.CurrentStage;
  const int missing = MissingForTestPlay(t, startCol, startRow);
  if (missing != 0) {
    ShowEditorNotice(missing == 1 ? u"テストプレイできません: 主人公が配置されていません。"
                                  : u"テストプレイできません: ゴールの旗が配置されていません。");
    return;
  }
  Run = TestPlayRun{};
  Run.Stage = t;
  Run.StartCol = startCol;
  Run.StartRow = startRow;
  Run.Watch = std::move(watch);
  SceneId = 203;
}

// Everything a life, a game over or an earlier run leaves behind, so that each test play starts clean.
void ClearPlayLeftovers() {
  for (DebrisSlot& slot : DebrisSlots) slot = DebrisSlot{};
  for (BloodDrop& drop : BloodDrops) drop = BloodDrop{};
  BloodState = 0;
  KillerKind = 0;
}

void FreshStart() {
  StartEditorStageCopy(Run.Stage);
  ClearPlayLeftovers();
  Run.WatchFrame = 0;
}

bool Watching() { return Run.Active && Run.WatchFrame < Run.Watch.size(); }

// Keys the game reads in play; while a replay is watched the keyboard's are replaced by the replay's.
const int PlayKeys[] = {KeyLeft, KeyRight, KeyUp, KeyDown, KeyZ, KeyX, KeyS, KeyD, KeyR, KeyTab, KeyEnter};

void DrawWatchedKeys(uint8_t keys) {
  struct Shown {
    int bit;
    const char16_t* label;
  };
  static const Shown Keys[] = {{SearchKeyLeft, u"←"}, {SearchKeyRight, u"→"}, {SearchKeyZ, u"Z"}};
  const Color lit = MakeColor(255, 224, 64), dark = MakeColor(60, 60, 60);
  DrawRect(0, 448, 640, 480, MakeColor(0, 0, 0), 1);
  DrawFormattedTextWithFont(8, 454, MakeColor(255, 255, 255), EditorFont20, u"クリア確認の再生 %d / %d",
                            static_cast<int>(Run.WatchFrame), static_cast<int>(Run.Watch.size()));
  for (int i = 0; i < 3; ++i) {
    const int x = 420 + 48 * i;
    const bool held = (keys & Keys[i].bit) != 0;
    DrawRect(x, 451, x + 40, 477, held ? lit : dark, 1);
    DrawTextWithFont(x + 10, 454, Keys[i].label, held ? MakeColor(0, 0, 0) : MakeColor(160, 160, 160), EditorFont20,
                     0, 0);
  }
  DrawTextWithFont(572, 458, u"F2:戻る", MakeColor(255, 255, 255), EditorFont14Edge, 0, 0);
}

uint8_t LastWatchedKeys = 0;

}  // namespace

void TestPlayKeys(bool dialogRequested, int x, int y) {
  if (dialogRequested || !KeyPressed(KeyF2)) return;
  ConsumeKey(KeyF2);
  if (CtrlHeld()) {
    std::vector<uint8_t> frames = StageProofFrames(Editor.CurrentStage);
    if (frames.empty()) {
      ShowEditorNotice(u"再生できるクリア確認がありません (F10で確認)");
      return;
    }
    RequestTestPlay(-1, -1, std::move(frames));
    return;
  }
  const bool shift = KeyState[KeyLeftShift] != 0 || KeyState[KeyRightShift] != 0;
  const bool onMap = x >= MapViewLeft && x <= 799 && y >= 0 && y <= 479;
  if (shift && onMap)
    RequestTestPlay(Editor.MapScrollColumn + (x - MapViewLeft) / 32, Editor.MapScrollRow + y / 32, {});
  else RequestTestPlay(-1, -1, {});
}

bool TestPlaying() { return Run.Active; }

void StartTestPlay() {
  FadeTransition(0);
  KeepPlaySideAside();
  CopyEditorStageForPlay(EditorStageSet, Run.Stage, Run.StartCol, Run.StartRow);
  BackgroundNo = Run.Stage + 1;
  FreshStart();
  // Keys held now (F2 above all) act only after they are let go and pressed again.
  for (int& k : PrevKeyState) k = 1;
  Run.Active = true;
  SceneId = 100;
  FadeBoxWidth = 640;
  FadeBoxHeight = 480;
  SetWindowClientSize(640, 480);
  FadeTransition(1);
  if (!Run.Watch.empty()) {
    // The fade ran play frames; the replay starts from the very first frame, as the search did.
    FreshStart();
    for (int k : PlayKeys) PrevKeyState[k] = 0;
    LastWatchedKeys = 0;
  }
  StopSound(MusicHandle[0]);
  PlayMusic(1);
}

void EndTestPlay() {
  FadeTransition(0);
  Run = TestPlayRun{};
  Play = PlayState{};
  ClearPlayLeftovers();
  PutPlaySideBack();  // a set loaded for play from the main menu is as it was
  SceneId = 201;
  FadeBoxWidth = 800;
  FadeBoxHeight = 600;
  SetWindowClientSize(800, 600);
  Editor.InputCooldown = 20;  // a click or key that ended the play does not also edit
  FadeTransition(1);
  StopSound(MusicHandle[1]);
  PlayMusic(0);
}

void TestPlayBeforeFrame() {
  if (!Watching()) return;
  const uint8_t keys = Run.Watch[Run.WatchFrame++];
  for (int k : PlayKeys) KeyState[k] = 0;
  KeyState[KeyLeft] = (keys & SearchKeyLeft) != 0;
  KeyState[KeyRight] = (keys & SearchKeyRight) != 0;
  KeyState[KeyZ] = (keys & SearchKeyZ) != 0;
  LastWatchedKeys = keys;
}

void TestPlayAfterFrame() {
  if (!Run.Watch.empty() && Run.WatchFrame <= Run.Watch.size()) DrawWatchedKeys(Watching() ? LastWatchedKeys : 0);
  if (KeyPressed(KeyF2) && SceneId == 100) {
    ConsumeKey(KeyF2);
    SceneId = 204;
  }
}
