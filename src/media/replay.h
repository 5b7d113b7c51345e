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

using ReplayFrame = std::array<uint8_t, 256>;

// Parses a replay into one KeyState array per frame. On a bad line returns false with the line number and
// the reason in *error.
bool LoadReplay(const std::string& text, std::vector<ReplayFrame>* frames, std::string* error);
// DirectInput code of a replay key name, 0 for an unknown name.
int ReplayKeyCode(const std::string& name);

// Plays frames through ReadKeyboard from the next call on (one frame per call; all keys up after the end).
void StartReplay(std::vector<ReplayFrame> frames);
void StopReplay();
// Frames handed out so far.
int ReplayPosition();
