#include "editor/stage_for_play.h"

#include <cstring>
#include <vector>

#include "media/media.h"
#include "play/playstate.h"
#include "shell/game.h"
#include "shell/scenes.h"
#include "stage/catalogue.h"
#include "stage/stagedata.h"

void CopyStageCellsForPlay(const uint8_t* cells, int t, int startCol, int startRow) {
  uint8_t* pristine = CustomPristineMap + t * CustomCells;
  for (int c = 0; c < CustomColumns; ++c) {
    for (int r = 0; r < CustomRows; ++r) {
      uint8_t b = cells[c * CustomRows + r];
      if (b >= LockBlock1 && b <= Key3) b = Empty;
      if (startCol >= 0 && b == StartPoint) b = Empty;
      if (c == startCol && r == startRow) b = StartPoint;
      pristine[r * CustomColumns + c] = b;  // the pristine copy is row-major
    }
  }
}

void CopyEditorStageForPlay(const StageSet& set, int t, int startCol, int startRow) {
  CopyStageCellsForPlay(set.Maps + t * CustomCells, t, startCol, startRow);
  std::memcpy(CustomSignboardText[t], set.SignboardText[t], sizeof CustomSignboardText[t]);
  CustomDifficulty[t] = set.EditorDifficulty[t];
}

void StartEditorStageCopy(int t) {
  Play = PlayState{};
  Play.PlaySource = 1;
  CustomStageIndex = t;
  std::memset(KeyState, 0, 256);
  for (int& k : PrevKeyState) k = 0;
  StartCustomStage();
}

int MissingStartOrGoal(const uint8_t* cells) {
  bool start = false, goal = false;
  for (int i = 0; i < CustomCells; ++i) {
    start = start || cells[i] == StartPoint;
    goal = goal || cells[i] == GoalFlag;
  }
  return !start ? 1 : !goal ? 2 : 0;
}

namespace {

struct PlaySide {
  std::vector<uint8_t> map, pristine;
  std::vector<char16_t> signs;
  int32_t difficulty[CustomStageCount];
  int index, source, background;
};
PlaySide Aside;

}  // namespace

void KeepPlaySideAside() {
  Aside.map.assign(CustomStageMap, CustomStageMap + sizeof CustomStageMap);
  Aside.pristine.assign(CustomPristineMap, CustomPristineMap + sizeof CustomPristineMap);
  const char16_t* signs = &CustomSignboardText[0][0][0][0];
  Aside.signs.assign(signs, signs + sizeof CustomSignboardText / sizeof(char16_t));
  std::memcpy(Aside.difficulty, CustomDifficulty, sizeof CustomDifficulty);
  Aside.index = CustomStageIndex;
  Aside.source = Play.PlaySource;
  Aside.background = BackgroundNo;
}

void PutPlaySideBack() {
  if (Aside.map.empty()) return;
  std::memcpy(CustomStageMap, Aside.map.data(), Aside.map.size());
  std::memcpy(CustomPristineMap, Aside.pristine.data(), Aside.pristine.size());
  std::memcpy(&CustomSignboardText[0][0][0][0], Aside.signs.data(), Aside.signs.size() * sizeof(char16_t));
  std::memcpy(CustomDifficulty, Aside.difficulty, sizeof CustomDifficulty);
  CustomStageIndex = Aside.index;
  Play.PlaySource = Aside.source;
  BackgroundNo = Aside.background;
}
