// The game's spine: entry point, main loop, scene machine and fades.
#pragma once

#include <cstdint>

#include "media/media.h"

extern int SceneId;
extern int FadeActive;
extern int FadeBoxWidth;
extern int FadeBoxHeight;
extern int BackgroundNo;
extern uint8_t AllStagesCleared;
extern int PrevKeyState[256];

// The program entry: 0 after a normal end, -1 when "data.bin" is missing or the media layer cannot start.
int RunGame();
// mode 0 fades the current scene to black, 1 fades back in.
void FadeTransition(int mode);
void CopyKeyState();

// A key is pressed in the frame where it is down now and was up at the end of the previous frame.
inline bool KeyPressed(int key) { return KeyState[key] == 1 && PrevKeyState[key] == 0; }
// A handler that acts on a press marks it, so that no later handler of the same frame acts on it again.
inline void ConsumeKey(int key) { PrevKeyState[key] = 1; }
