// The stage scan: turns a loaded map into a playable stage (player start, restart points, play objects).
#pragma once

#include <cstdint>

// Scans columns 0..width-1, rows 0..height-1 of a column-major map with 45 rows per column, in the mode of
// Play.PlayPhase (2 restart from the last save, anything else a fresh start). Ends the program with the
// game's message when the stage has no start point or no goal, or more moving spikes than the table holds.
void ScanStage(const uint8_t* map, int width, int height);
// The same scan, returning the message of a stage without start point or goal (nullptr when it is playable)
// instead of ending the program; a custom set's stage is refused this way and the player chooses again.
const char* TryScanStage(const uint8_t* map, int width, int height);

// Which of RestartPoint1..6 the last scan met. A save block whose restart point the map lacks sends the
// player back to the stage's start instead of a position left over from another stage.
extern uint8_t RestartPointInMap[6];
