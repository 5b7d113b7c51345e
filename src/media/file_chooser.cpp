// File choosers: not built yet; every request is a cancelled dialog.
#include "media/media.h"

bool ChooseFile(int, std::string*) { return false; }
