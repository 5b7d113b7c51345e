// The editor's stage set and the stage-set file.
#include "stage/stageset.h"

StageSet EditorStageSet;
