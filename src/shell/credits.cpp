// Staff credits: the lines scroll up over black, then the music fades out and the title returns.
#include "shell/credits.h"

#include "shell/assets.h"
#include "shell/game.h"
#include "shell/menus.h"
#include "shell/scenes.h"

float CreditsScrollY = 0;
int CreditsMusicVolume = 0;

namespace {

struct CreditLine {
  int Offset;
  const char16_t* Text;
};

const CreditLine CreditLines[] = {
    {0, u"【スタッフクレジット】"},
    {80, u"プログラミング : Ternwick"},
    {160, u"ゲームデザイン : Ternwick"},
    {240, u"音楽 : Quorvenから借りました。"},
    {320, u"効果音 : Saltrineから借りました。(一部自作)"},
    {400, u"【使用ソフト】"},
    {480, u"【プログラム開発ソフト】"},
    {560, u"Microsoft Visual Studio 2022 Community"},
    {640, u"Korvane Ver.3.24b改造版"},
    {720, u"【画像制作】"},
    {800, u"自作Pythonスクリプト (Pillow, NumPy)"},
    {880, u"【マップエディター】"},
    {960, u"Platinum 1.81"},
    {1040, u"【効果音制作】"},
    {1120, u"自作Pythonシンセサイザー (NumPy, LAME)"},
    {1200, u"楽しんで頂けましたか??"},
    {1280, u"楽しんでくれた人は嬉しいです。"},
    {1360, u"                          by【Ternwick】"},  // the leading spaces count in the centring
};

// Once the first line is this far above the top, the last one has left the screen.
constexpr float CreditsEndY = -1440;

}  // namespace

void UpdateCredits() {
  const Color white = MakeColor(255, 255, 255);
  DrawRect(0, 0, 640, 480, MakeColor(0, 0, 0), 1);
  for (const CreditLine& line : CreditLines)
    DrawCentredText(line.Text, (int)(CreditsScrollY + line.Offset), white, Font24);
  // Held, not pressed: Enter or Z speeds the text up, also under the fades.
  CreditsScrollY -= 0.5f;
  if (KeyState[KeyEnter] == 1 || KeyState[KeyZ] == 1) CreditsScrollY -= 1.5f;
  if (CreditsScrollY < CreditsEndY) {
    SetSoundVolume(CreditsMusicVolume, MusicHandle[2]);
    CreditsMusicVolume -= 1;
    if (CreditsMusicVolume < 1) {
      SetSoundVolume(0, MusicHandle[2]);
      SleepMs(16);
      StopSound(MusicHandle[2]);
      SceneId = 106;
    }
  }
}
