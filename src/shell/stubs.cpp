// Temporary hooks for shell scenes whose other half is not built yet. Removed as the real ones land.
#include "shell/scenes.h"

// Until custom stage-set files can be read, the load item behaves as a cancelled file dialog.
int LoadCustomSetForPlay() { return -1; }
