// Where the game's writable files live: for now always the working directory.
#include "media/media.h"

std::string WritableFilePath(const char* name) { return name; }
