// Replays: per-frame key states from the replay text format, and a key feed that plays them back through
// ReadKeyboard.
//
//   # comment lines and blank lines are ignored
//   30 -          thirty frames with no key down
//   12 Right      twelve frames with Right held
//   1 Right+Z     one frame with Right and Z held
//
// Key names: Left Right Up Down Z X S D R Tab Enter Esc. A '#' after the keys starts a comment.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The KeyState of one frame.
using ReplayFrame = std::array<uint8_t, 256>;

// One line of a replay: Frames frames, from frame First on, with the same keys held. Keys has one bit per
// replay key name, in the order Left Right Up Down Z X S D R Tab Enter Esc. A replay is kept as its runs, so
// that a count of millions costs no more memory than a count of one.
struct ReplayRun {
  int32_t First = 0;
  int32_t Frames = 0;
  uint16_t Keys = 0;
};
struct Replay {
  std::vector<ReplayRun> Runs;
  long FrameCount = 0;
};

// Parses a replay. On a bad line returns false with the line number and the reason in *error, and leaves
// *replay empty.
bool LoadReplay(const std::string& text, Replay* replay, std::string* error);
// The key state of frame `frame` (counted from 0); all keys up outside the replay.
void ReplayKeyState(const Replay& replay, long frame, uint8_t state[256]);
// DirectInput code of a replay key name, 0 for an unknown name.
int ReplayKeyCode(const std::string& name);

// Plays a replay through ReadKeyboard from the next call on (one frame per call; all keys up after the end).
void StartReplay(Replay replay);
void StopReplay();
// Frames handed out so far.
int ReplayPosition();
