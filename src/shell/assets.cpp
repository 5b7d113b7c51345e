// The game's pictures, sounds and fonts: their tables, the two halves of the start-up that loads them, the
// fatal exits when one is missing, and the two sound routines every scene plays through.
#include "shell/assets.h"

#include "shell/archive_key.h"
#include "shell/loading_screen.h"
#include "shell/savedata.h"
#include "shell/scenes.h"

SoundHandle SoundEffectHandle[9] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
SoundHandle MusicHandle[3] = {-1, -1, -1};

GraphHandle ImgLoadingCharacter = -1, ImgWait = -1, ImgGirl = -1, ImgMapParts = -1, ImgBg01 = -1,
            ImgGameOver = -1, ImgLiquid = -1, ImgStageClear = -1, ImgBg02 = -1, ImgStageSelectBg = -1,
            ImgStageSelectObj = -1, ImgPause = -1, ImgBg03 = -1, ImgCountBalloon = -1, ImgTitleScreen = -1,
            ImgTitleScreenObj = -1, ImgBg04 = -1, ImgBg05 = -1, ImgStageSelectObj2 = -1, ImgStageClear2 = -1,
            ImgAllStageClear = -1, ImgParts = -1, ImgScrollbar = -1;

FontHandle Font20Edge = -1, Font48 = -1, Font36 = -1, Font32 = -1, Font24 = -1, EditorFont20 = -1,
           EditorFont14Edge = -1, EditorFont12 = -1, EditorFont36 = -1;

namespace {

struct PictureEntry {
  GraphHandle* Handle;
  const char* Path;
};

struct SoundEntry {
  SoundHandle* Handle;
  const char* Path;
  int Voices;
};

struct FontEntry {
  FontHandle* Handle;
  int Size;
  int Thickness;
  int Type;
  int EdgeSize;
};

// Shown by the loading screen itself, so they are loaded before it, synchronously.
const PictureEntry LoadingPictures[] = {
    {&ImgLoadingCharacter, "data\\texture\\velmora.png"},
    {&ImgWait, "data\\texture\\wait.png"},
};

// Loaded on the media layer's loading thread behind the loading screen, in this order.
const PictureEntry AsyncPictures[AsyncPictureCount] = {
    {&ImgGirl, "data\\texture\\girl.png"},
    {&ImgMapParts, "data\\texture\\mapparts.png"},
    {&ImgBg01, "data\\texture\\bg01.png"},
    {&ImgGameOver, "data\\texture\\gameover.png"},
    {&ImgLiquid, "data\\texture\\liquid.png"},
    {&ImgStageClear, "data\\texture\\stageclear.png"},
    {&ImgBg02, "data\\texture\\bg02.png"},
    {&ImgStageSelectBg, "data\\texture\\stageselectbg.png"},
    {&ImgStageSelectObj, "data\\texture\\stageselectobj.png"},
    {&ImgPause, "data\\texture\\pause.png"},
    {&ImgBg03, "data\\texture\\bg03.png"},
    {&ImgCountBalloon, "data\\texture\\countballoon.png"},
    {&ImgTitleScreen, "data\\texture\\titlescreen.png"},
    {&ImgTitleScreenObj, "data\\texture\\titlescreenobj.png"},
    {&ImgBg04, "data\\texture\\bg04.png"},
    {&ImgBg05, "data\\texture\\bg05.png"},
    {&ImgStageSelectObj2, "data\\texture\\stageselectobj2.png"},
    {&ImgStageClear2, "data\\texture\\stageclear2.png"},
    {&ImgAllStageClear, "data\\texture\\allstageclear.png"},
};

// Sound effects have three voices so that quick repeats overlap; music has one, so a start restarts it.
const SoundEntry AsyncSounds[AsyncSoundCount] = {
    {&SoundEffectHandle[0], "data\\se\\select.mp3", 3},
    {&SoundEffectHandle[1], "data\\se\\enter.mp3", 3},
    {&SoundEffectHandle[2], "data\\se\\jump.mp3", 3},
    {&SoundEffectHandle[3], "data\\se\\hatena.mp3", 3},
    {&SoundEffectHandle[4], "data\\se\\get.mp3", 3},
    {&SoundEffectHandle[5], "data\\se\\balloon.wav", 3},
    {&SoundEffectHandle[6], "data\\se\\crack.wav", 3},
    {&SoundEffectHandle[7], "data\\se\\gameover.mp3", 3},
    {&SoundEffectHandle[8], "data\\se\\stageclear.mp3", 3},
    {&MusicHandle[0], "data\\bgm\\title.mp3", 1},
    {&MusicHandle[1], "data\\bgm\\game.mp3", 1},
    {&MusicHandle[2], "data\\bgm\\staffcredit.mp3", 1},
};

// The editor's pictures, loaded after the loading screen.
const PictureEntry EditorPictures[] = {
    {&ImgParts, "data\\texture\\parts.png"},
    {&ImgScrollbar, "data\\texture\\scrollbar.png"},
};

// The first five are made before the loading screen (it writes with Font24), the editor's four after it.
const FontEntry GameFonts[] = {
    {&Font20Edge, 20, -1, FontEdge, -1},
    {&Font48, 48, -1, FontEdgeAntialiased, 2},
    {&Font36, 36, -1, FontEdgeAntialiased, -1},
    {&Font32, 32, -1, FontEdgeAntialiased, -1},
    {&Font24, 24, -1, FontEdgeAntialiased, -1},
};
const FontEntry EditorFonts[] = {
    {&EditorFont20, 20, -1, FontEdgeAntialiased, -1},
    {&EditorFont14Edge, 14, -1, FontEdge, -1},
    {&EditorFont12, 12, 0, FontPlain, -1},
    {&EditorFont36, 36, -1, FontEdgeAntialiased, -1},
};

constexpr int MusicVolume = 160;
constexpr char TextureFailedMessage[] = "テクスチャーの読み込みに失敗しました。";
constexpr char SoundFailedMessage[] = "サウンドの読み込みに失敗しました。";

template <size_t N>
void MakeFonts(const FontEntry (&fonts)[N]) {
  for (const FontEntry& font : fonts) *font.Handle = MakeFont(font.Size, font.Thickness, font.Type, font.EdgeSize);
}

}  // namespace

GraphHandle AsyncPictureHandle(int index) { return *AsyncPictures[index].Handle; }
SoundHandle AsyncSoundHandle(int index) { return *AsyncSounds[index].Handle; }

void FatalAssetError(int kind) {
  if (kind == 1) FatalError(SoundFailedMessage);
  if (kind == 2) FatalError(TextureFailedMessage);
}

void PlaySoundEffect(int n) {
  if (SoundEffectsOn == 1) StartSound(SoundEffectHandle[n], SoundOnce, 1);
}

void PlayMusic(int n) {
  if (MusicOn == 1) StartSound(MusicHandle[n], SoundLoop, 1);
}

void AssetStartupFirstHalf() {
  SetArchiveExtension("bin");
  SetArchiveKey(UnscrambleGameKey());
  MakeFonts(GameFonts);
  for (const PictureEntry& picture : LoadingPictures) *picture.Handle = LoadPicture(picture.Path);
  if (ImgLoadingCharacter == -1 || ImgWait == -1) FatalAssetError(2);

  SetAsyncLoading(1);
  for (const PictureEntry& picture : AsyncPictures) *picture.Handle = LoadPicture(picture.Path);
  for (const SoundEntry& sound : AsyncSounds) *sound.Handle = LoadSound(sound.Path, sound.Voices);
  SetAsyncLoading(0);
  RunLoadingScreen();

  MusicOn = 1;
  SoundEffectsOn = 1;
  ShowFps = 0;
  BloodOn = 0;
  StageUnlocked[30] = 0xFF;
  StageUnlocked[31] = 0xFF;
  SaveDataIo(0);
}

void AssetStartupSecondHalf() {
  for (SoundHandle music : MusicHandle) SetSoundVolume(MusicVolume, music);
  PlayMusic(0);
  MarkStartupMoment("title-music");
  for (const PictureEntry& picture : EditorPictures) *picture.Handle = LoadPicture(picture.Path);
  if (ImgParts == -1 || ImgScrollbar == -1) FatalError(TextureFailedMessage, 0);
  MakeFonts(EditorFonts);
  EditorStartup();
}
