// Main menu: five items with a two-line description of the selected one.
#include "play/playstate.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/menus.h"
#include "shell/scenes.h"

int MenuCursor = 0;

namespace {

struct MenuItem {
  const char16_t* Label;
  int Y;
  const char16_t* Description[2];  // nullptr: no second line
};

constexpr int MenuItemCount = 5;
const MenuItem MenuItems[MenuItemCount] = {
    {u"ゲームスタート", 200, {u"ゲームを開始します。", u"がんばって全ステージクリアーしよう。"}},
    {u"自作ステージを読み込む", 240, {u"ステージエディターで作ったステージを", u"遊ぶことができるよ。"}},
    {u"ステージエディター", 280, {u"ステージを作ります。", nullptr}},
    {u"オプション", 320, {u"音楽、効果音などを設定したい場合は", u"ここを選択してください。"}},
    {u"おしまい", 360, {u"ゲームを終了します。", nullptr}},
};

void ChooseMenuItem() {
  switch (MenuCursor) {
    case 0:
      PlaySoundEffect(SeConfirm);
      SceneId = 30;
      CustomStageIndex = 0;
      Play.PlaySource = 0;
      break;
    case 1: {
      PlaySoundEffect(SeConfirm);
      int result = LoadCustomSetForPlay();
      if (result == 0) {
        Play.PlaySource = 1;
        SceneId = 50;
        CustomStageIndex = 0;
      } else if (result == -1) {
        Play.PlaySource = 0;
        CustomStageIndex = 0;
      }
      break;
    }
    case 2:
      SceneId = 200;
      PlaySoundEffect(SeConfirm);
      break;
    case 3:
      PlaySoundEffect(SeConfirm);
      SceneId = 40;
      MenuCursor = 0;
      break;
    case 4: ExitGame(0);
    default: break;
  }
}

}  // namespace

void UpdateMainMenu() {
  const Color white = MakeColor(255, 255, 255);
  const Color highlight = MakeColor(0, 255, 192);
  DrawPicture(0, 0, ImgTitleScreen, 0);
  if (MenuCursor >= 0 && MenuCursor < MenuItemCount) {
    const MenuItem& selected = MenuItems[MenuCursor];
    DrawCentredText(selected.Description[0], 120, white, Font20Edge);
    if (selected.Description[1] != nullptr) DrawCentredText(selected.Description[1], 140, white, Font20Edge);
  }
  DrawCentredText(u"→　　　　　　　　　　　　←", 200 + 40 * MenuCursor, highlight, Font36);
  for (int i = 0; i < MenuItemCount; ++i)
    DrawCentredText(MenuItems[i].Label, MenuItems[i].Y, i == MenuCursor ? highlight : white, Font36);
  DrawTextAt(22, 400, u"カーソル上下キーで項目選択", white, Font32);
  DrawTextAt(22, 432, u"Enterキーで決定", white, Font32);

  // The menu does not test FadeActive: the key state of the pass that started a fade is already consumed.
  MoveMenuCursor(MenuItemCount);
  if (KeyPressed(KeyEnter)) {
    ChooseMenuItem();
    ConsumeKey(KeyEnter);
  }
}
