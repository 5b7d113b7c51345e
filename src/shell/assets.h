// The pictures, sounds and fonts loaded at start-up, and the sound routines every scene uses.
#pragma once

#include "media/media.h"

extern SoundHandle SoundEffectHandle[9];
extern SoundHandle MusicHandle[3];

extern GraphHandle ImgLoadingCharacter, ImgWait, ImgGirl, ImgMapParts, ImgBg01, ImgGameOver, ImgLiquid,
    ImgStageClear, ImgBg02, ImgStageSelectBg, ImgStageSelectObj, ImgPause, ImgBg03, ImgCountBalloon,
    ImgTitleScreen, ImgTitleScreenObj, ImgBg04, ImgBg05, ImgStageSelectObj2, ImgStageClear2, ImgAllStageClear,
    ImgParts, ImgScrollbar;

extern FontHandle Font20Edge, Font48, Font36, Font32, Font24, EditorFont20, EditorFont14Edge, EditorFont12,
    EditorFont36;

// Sound effects: 0 cursor, 1 confirm, 2 jump, 3 block headbutted, 4 key, 5 count balloon, 6 block broken,
// 7 game over, 8 stage clear. Music: 0 title, 1 play, 2 credits.
enum { SeCursor, SeConfirm, SeJump, SeHeadbutt, SeKey, SeBalloon, SeBreak, SeGameOver, SeStageClear };
void PlaySoundEffect(int n);
void PlayMusic(int n);
// 1 a sound failed, 2 a picture failed: the message and exit code -1. Any other kind does nothing.
void FatalAssetError(int kind);
