// Temporary hooks for shell scenes not built yet: each draws nothing. Removed as the real ones land.
#include "shell/assets.h"
#include "shell/credits.h"
#include "shell/game.h"
#include "shell/savedata.h"
#include "shell/scenes.h"

void UpdateMenuScenes() {}
void UpdateCredits() {}
float CreditsScrollY = 0;
int CreditsMusicVolume = 0;

void AssetStartupFirstHalf() {}
void AssetStartupSecondHalf() {}
void ResetGameState() { SceneId = 10; }

SoundHandle SoundEffectHandle[9] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
SoundHandle MusicHandle[3] = {-1, -1, -1};
void PlaySoundEffect(int) {}
void PlayMusic(int) {}
void FatalAssetError(int) {}

uint8_t StageUnlocked[32] = {};
uint8_t MusicOn = 1, SoundEffectsOn = 1, ShowFps = 0, BloodOn = 0;
const char* SaveDataPath = "save.dat";
void SaveDataIo(int) {}
