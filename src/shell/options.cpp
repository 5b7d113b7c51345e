// Options: four on/off switches, stored in "save.dat" when the screen is left through "もどる".
#include <cstdint>

#include "shell/assets.h"
#include "shell/game.h"
#include "shell/menus.h"
#include "shell/savedata.h"

namespace {

struct OptionRow {
  const char16_t* Label;
  uint8_t* Value;  // nullptr for "もどる"
  const char16_t* Description[3];
};

constexpr int OptionRowCount = 5;
const OptionRow OptionRows[OptionRowCount] = {
    {u"音楽", &MusicOn, {u"音楽をオフまたはオンにします。", u"音楽が気になる方はオフにしてください。", nullptr}},
    {u"効果音",
     &SoundEffectsOn,
     {u"効果音をオフまたはオンにします。", u"効果音が気になる方はオフにしてください。", nullptr}},
    {u"FPS表示", &ShowFps, {u"FPSをオフまたはオンにします。", nullptr, nullptr}},
    {u"血が飛び散るアニメーション",
     &BloodOn,
     {u"トゲに当たったときに", u"血の飛び散るアニメーションをオフまたはオンにします。",
      u"血が飛び散るのが嫌いな方はオフにしてください。"}},
    {u"もどる", nullptr, {u"設定を終了します。", nullptr, nullptr}},
};

int RowY(int row) { return 200 + 30 * row; }

void ToggleOption() {
  switch (MenuCursor) {
    case 0:
      MusicOn ^= 1;
      if (MusicOn == 0) StopSound(MusicHandle[0]);
      if (MusicOn == 1) PlayMusic(0);
      PlaySoundEffect(SeConfirm);
      break;
    case 1:
      SoundEffectsOn ^= 1;
      PlaySoundEffect(SeConfirm);  // heard only when just switched on
      break;
    case 2:
      ShowFps ^= 1;
      PlaySoundEffect(SeConfirm);
      break;
    case 3:
      BloodOn ^= 1;
      PlaySoundEffect(SeConfirm);
      break;
    case 4:
      MenuCursor = 3;  // back on "オプション"
      SceneId = 20;
      SaveDataIo(2);
      PlaySoundEffect(SeConfirm);
      break;
    default: break;
  }
}

}  // namespace

void UpdateOptions() {
  const Color white = MakeColor(255, 255, 255);
  const Color highlight = MakeColor(0, 255, 192);
  DrawPicture(0, 0, ImgTitleScreen, 0);
  if (MenuCursor >= 0 && MenuCursor < OptionRowCount) {
    const OptionRow& selected = OptionRows[MenuCursor];
    for (int line = 0; line < 3; ++line) {
      if (selected.Description[line] != nullptr)
        DrawCentredText(selected.Description[line], 120 + 20 * line, white, Font20Edge);
    }
  }
  DrawTextAt(20, RowY(MenuCursor), u"⇒", highlight, Font20Edge);
  for (int row = 0; row < OptionRowCount; ++row) {
    const uint8_t* value = OptionRows[row].Value;
    if (value == nullptr) continue;
    if (*value == 0) DrawTextAt(400, RowY(row), u"オフ", MakeColor(0, 128, 96), Font20Edge);
    else if (*value == 1) DrawTextAt(400, RowY(row), u"オン", highlight, Font20Edge);
  }
  for (int row = 0; row < OptionRowCount; ++row)
    DrawTextAt(50, RowY(row), OptionRows[row].Label, row == MenuCursor ? highlight : white, Font20Edge);
  DrawTextAt(22, 400, u"カーソル上下キーで項目選択", white, Font32);
  DrawTextAt(22, 432, u"Enterキーで設定変更", white, Font32);

  MoveMenuCursor(OptionRowCount);
  if (KeyPressed(KeyEnter)) {
    ToggleOption();
    ConsumeKey(KeyEnter);
  }
}
