// Replay files: one line per run of identical frames, "COUNT KEYS [comment]", KEYS "-" or names joined by "+".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ReplayRun {
  int Frames;
  std::vector<uint8_t> Keys;  // DirectInput codes held during the run
};

// Parses replay text; on a bad line returns false with a message naming the line.
bool ParseReplay(const std::string& text, std::vector<ReplayRun>* runs, std::string* error);
