// The loading screen shown while the media layer loads the pictures and sounds on its own thread.
#pragma once

#include "media/media.h"

constexpr int AsyncPictureCount = 19;
constexpr int AsyncSoundCount = 12;

extern int Pending0;
extern int LoadedCount;
extern float BarTarget;
extern float BarEased;
extern int AnimFrame;

// The handles issued asynchronously, in table order (shell/assets.cpp).
GraphHandle AsyncPictureHandle(int index);
SoundHandle AsyncSoundHandle(int index);

// Runs until every asynchronous load has finished or the window asks the program to end.
void RunLoadingScreen();
// One pass of it; false once nothing is pending any more.
bool LoadingScreenPass();
