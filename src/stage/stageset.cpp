// The editor's stage set and the stage-set file.
#include "stage/stageset.h"

StageSet EditorStageSet;

// Placeholders until the file format is built.
bool WriteStageSetFile(const std::string&, const StageSet&) { return false; }
StageSetReadResult ReadStageSetFile(const std::string&, StageSet*) { return StageSetCannotOpen; }
