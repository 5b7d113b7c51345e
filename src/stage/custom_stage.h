// Bringing stage t of the custom set loaded for play into play.
#pragma once

// Rebuilds slot t of CustomStageMap from CustomPristineMap (all of it on a fresh start; on the restart from
// the last save, Play.PlayPhase 2, only what play uses up) and scans it. Ends the program with the game's
// message when the stage has no start point or no goal.
void PrepareCustomStage(int t);
