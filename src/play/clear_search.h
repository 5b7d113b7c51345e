// The search for a replay that clears the stage being played: a beam search over held keys that runs the
// game's own play frame. pelvoro-solve and the editor's clear check share it.
//
// It works on the play globals (Play, the map being played, the object table, the key states), so it runs
// where nothing else uses them: in a tool, a test, or a child process of the game.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "media/replay.h"

// A point the search steers to before the goal. Col, Row: the cell the player's middle must reach.
struct RouteWaypoint {
  int Col = 0, Row = 0;
  bool NeedsBalloon = false;  // counts only while a count balloon is carried
  int HitCell = -1;           // column-major index of a cell that must change (a block headbutted), or -1
};

// "c,r c,r:balloon c,r:hit ..." of a stage source's route line, against the map being played: a hit
// waypoint is steered to the floor under its cell.
std::vector<RouteWaypoint> ParseRoute(const std::string& text);
// Appends the first goal cell of the map being played as the last waypoint (none when the map has no goal).
void AppendGoalWaypoint(std::vector<RouteWaypoint>* route);

struct ClearSearchSettings {
  int Beam = 2000;        // live states kept per step
  int Macro = 6;          // frames one held choice lasts
  int MaxFrames = 20000;  // longest line of play tried
  double BudgetSeconds = 0;  // wall-clock limit; 0 for none
};

struct ClearSearchProgress {
  int Frame = 0;         // frames of play searched so far
  int States = 0;        // live states in the beam
  int BestWaypoint = 0;  // waypoints passed by the most promising state
  int Waypoints = 0;
  int Distance = 0;      // its walking distance to its next waypoint, in cells (weighted as the score)
  float X = 0, Y = 0;    // its position
  double Seconds = 0;
};

// Held keys of one frame: bit 0 Left, bit 1 Right, bit 2 Z.
enum { SearchKeyLeft = 1, SearchKeyRight = 2, SearchKeyZ = 4 };

struct ClearSearchResult {
  bool Found = false;
  bool Cancelled = false;          // the progress callback asked to stop
  std::vector<uint8_t> Frames;     // the winner's keys, or the best partial line when not found
  int ClearFrame = 0;              // frame (1-based) in which the goal was reached
};

// Searches from the stage as it stands (started, player placed). progress is called after every step of
// the search; returning false cancels. Without a route the search heads for the goal.
ClearSearchResult SearchClearReplay(const std::vector<RouteWaypoint>& route, const ClearSearchSettings& settings,
                                    const std::function<bool(const ClearSearchProgress&)>& progress);

// The frames in the replay text format (runs of identical frames), after the given comment line.
std::string SearchFramesToReplayText(const std::vector<uint8_t>& frames, const std::string& comment);
// The frames as KeyState arrays, for playing them back through ReadKeyboard or a play loop.
std::vector<ReplayFrame> SearchFramesToReplay(const std::vector<uint8_t>& frames);
