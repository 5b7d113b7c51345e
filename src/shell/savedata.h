// "save.dat": which built-in stages may be chosen, and the four option switches.
#pragma once

#include <cstdint>

extern uint8_t StageUnlocked[32];
extern uint8_t MusicOn;
extern uint8_t SoundEffectsOn;
extern uint8_t ShowFps;
extern uint8_t BloodOn;

// 0 start-up (create when missing, then load), 1 load, 2 store. Failures end the program with a message.
void SaveDataIo(int mode);
// The save file's name, "save.dat", placed by WritableFilePath (an absolute path, as tests use, is kept).
// nullptr: no save file is read or written at all (the headless stage runner).
extern const char* SaveDataPath;
