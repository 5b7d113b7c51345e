// The custom set loaded for play: the load from a stage-set file, and bringing stage t of it into play.
#pragma once

#include <string>

#include "stage/stageset.h"

// The load for play: difficulties, signboard lines, every slot of CustomStageMap as stored, and
// CustomPristineMap with the locks and keys (90..95) turned into Empty, since a custom stage has none. The
// editor's set is not touched; a file that cannot be opened or is refused changes nothing.
StageSetReadResult LoadCustomSetFile(const std::string& path);
// Fills the play-side copy from a set, as the load does.
void InstallCustomSet(const StageSet& set);

// Rebuilds slot t of CustomStageMap from CustomPristineMap (all of it on a fresh start; on the restart from
// the last save, Play.PlayPhase 2, only what play uses up) and scans it. Returns the game's message when the
// stage has no start point or no goal (the caller shows it and goes back to the custom stage select), else
// nullptr.
const char* PrepareCustomStage(int t);
