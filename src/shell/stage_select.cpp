// Stage selects: the thirty built-in stages on a 6 x 5 grid (locked ones cannot be chosen), and the thirty
// stages of a loaded custom set.
#include <cstdint>

#include "play/playstate.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/menus.h"
#include "shell/savedata.h"
#include "stage/stagedata.h"

int StageSelectMessageOn = 0;
int StageSelectMessageTimer = 0;

namespace {

constexpr int StageCount = 30;
constexpr int GridColumns = 6;
constexpr int CellWidth = 90;
constexpr int CellHeight = 40;
constexpr int LockedLabelsY = 200;
constexpr int BuiltinCursorY = 400;
constexpr int CustomCursorY = 200;
constexpr int LockedMessageFrames = 80;

const int BuiltinStars[StageCount] = {2, 3, 2, 3, 2, 4, 4, 6, 3, 5, 6, 9, 6, 7, 5,
                                      6, 7, 6, 3, 5, 5, 7, 8, 6, 6, 7, 8, 9, 10, 1};

int CellX(int index) { return 50 + CellWidth * (index % GridColumns); }
int CellY(int index) { return 150 + CellHeight * (index / GridColumns); }
int SheetX(int index) { return CellWidth * (index % GridColumns); }
int SheetY(int index) { return CellHeight * (index / GridColumns); }

void DrawLabel(int index, int sourceY, GraphHandle sheet) {
  DrawPictureRegion(CellX(index), CellY(index), SheetX(index), sourceY, CellWidth, CellHeight, sheet, 1, 0);
}

// The four arrows are tested in this order, so several of them can move the cursor in one frame.
void MoveStageCursor() {
  if (KeyPressed(KeyLeft)) {
    PlaySoundEffect(SeCursor);
    CustomStageIndex -= 1;
    ConsumeKey(KeyLeft);
  }
  if (KeyPressed(KeyRight)) {
    PlaySoundEffect(SeCursor);
    CustomStageIndex += 1;
    ConsumeKey(KeyRight);
  }
  if (KeyPressed(KeyUp)) {
    PlaySoundEffect(SeCursor);
    CustomStageIndex -= GridColumns;
    ConsumeKey(KeyUp);
  }
  if (KeyPressed(KeyDown)) {
    PlaySoundEffect(SeCursor);
    CustomStageIndex += GridColumns;
    ConsumeKey(KeyDown);
  }
}

// Up from the top row lands in the same column of the bottom row; Left from stage 1 lands on stage 30.
void WrapStageCursor() {
  if (CustomStageIndex < 0) CustomStageIndex += StageCount;
  if (CustomStageIndex > StageCount - 1) CustomStageIndex -= StageCount;
}

void DrawStars(int count) {
  for (int k = 0; k < count; ++k) DrawTextAt(166 + 43 * k, 350, u"★", MakeColor(255, 160, 0), Font32);
}

}  // namespace

int StageStars(int index) { return index >= 0 && index < StageCount ? BuiltinStars[index] : 0; }

int CustomStageStars(int index) {
  if (index < 0 || index >= StageCount) return 0;
  int32_t difficulty = CustomDifficulty[index];
  if (difficulty < 1) return 1;
  if (difficulty > 10) return 10;
  return difficulty;
}

void UpdateBuiltinStageSelect() {
  const Color white = MakeColor(255, 255, 255);
  DrawPicture(0, 0, ImgStageSelectBg, 0);
  for (int i = 0; i < StageCount; ++i) {
    if (StageUnlocked[i] == 1) DrawLabel(i, SheetY(i), ImgStageSelectObj);
    else if (StageUnlocked[i] == 0) DrawLabel(i, LockedLabelsY + SheetY(i), ImgStageSelectObj);
  }
  if (FadeActive == 0) {
    MoveStageCursor();
    // Enter acts on the cell the cursor has just moved to, never on an index outside the grid (Left and
    // Enter in one frame on stage 1 would otherwise read before StageUnlocked).
    WrapStageCursor();
    if (KeyPressed(KeyEnter) && StageSelectMessageOn == 0) {
      PlaySoundEffect(SeConfirm);
      if (StageUnlocked[CustomStageIndex] == 1) {
        SelectedStage = CustomStageIndex + 1;
        SceneId = 31;
      } else if (StageUnlocked[CustomStageIndex] == 0) {
        StageSelectMessageOn = 1;
        StageSelectMessageTimer = LockedMessageFrames;
      }
      ConsumeKey(KeyEnter);
    }
    if (KeyPressed(KeyX)) {
      PlaySoundEffect(SeConfirm);
      SceneId = 20;
      ConsumeKey(KeyX);
    }
  }
  WrapStageCursor();
  DrawPictureRegion(CellX(CustomStageIndex), CellY(CustomStageIndex), 0, BuiltinCursorY, CellWidth, CellHeight,
                    ImgStageSelectObj, 1, 0);
  DrawTextAt(22, 390, u"カーソル上下左右キーでステージ選択", white, Font32);
  if (StageSelectMessageOn == 0) {
    DrawTextAt(22, 430, u"Enterキーで決定 Xキーで戻る", white, Font32);
  } else {
    DrawTextAt(22, 430, u"このステージはまだ選べません。", MakeColor(255, 64, 32), Font32);
    StageSelectMessageTimer -= 1;
    if (StageSelectMessageTimer < 1) StageSelectMessageOn = 0;
  }
  DrawTextAt(22, 350, u"難易度", white, Font32);
  if (StageUnlocked[CustomStageIndex] == 1) {
    DrawStars(StageStars(CustomStageIndex));
  } else {
    for (int k = 0; k < 4; ++k) DrawTextAt(166 + 43 * k, 350, u"？", MakeColor(255, 160, 0), Font32);
  }
}

void UpdateCustomStageSelect() {
  const Color white = MakeColor(255, 255, 255);
  DrawPicture(0, 0, ImgStageSelectBg, 0);
  for (int i = 0; i < StageCount; ++i) DrawLabel(i, SheetY(i), ImgStageSelectObj2);
  if (FadeActive == 0) {
    MoveStageCursor();
    WrapStageCursor();
    if (KeyPressed(KeyEnter)) {
      PlaySoundEffect(SeConfirm);
      // A whole number 0..29 from one 32-bit draw, then 1..30.
      BackgroundNo = static_cast<int>((static_cast<uint64_t>(Random()) * 30) >> 32) + 1;
      SceneId = 51;
      ConsumeKey(KeyEnter);
    }
    if (KeyPressed(KeyX)) {
      PlaySoundEffect(SeConfirm);
      Play.PlaySource = 0;
      SceneId = 20;
      ConsumeKey(KeyX);
    }
  }
  WrapStageCursor();
  DrawPictureRegion(CellX(CustomStageIndex), CellY(CustomStageIndex), 0, CustomCursorY, CellWidth, CellHeight,
                    ImgStageSelectObj2, 1, 0);
  DrawTextAt(22, 390, u"カーソル上下左右キーでステージ選択", white, Font32);
  DrawTextAt(22, 430, u"Enterキーで決定 Xキーで戻る", white, Font32);
  DrawTextAt(22, 350, u"難易度", white, Font32);
  DrawStars(CustomStageStars(CustomStageIndex));
}
