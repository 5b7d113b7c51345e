// libFuzzer target: replay text from arbitrary bytes. A parsed replay keeps its runs in order, within the
// frame limit, and gives a key state for any frame.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "media/replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Replay replay;
  std::string error;
  if (!LoadReplay(text, &replay, &error)) {
    if (error.rfind("line ", 0) != 0 || !replay.Runs.empty() || replay.FrameCount != 0) abort();
    return 0;
  }
  if (replay.FrameCount < 0 || replay.FrameCount > 10'000'000) abort();
  long next = 0;
  uint8_t state[256];
  for (const ReplayRun& run : replay.Runs) {
    if (run.First != next || run.Frames <= 0) abort();
    next += run.Frames;
    ReplayKeyState(replay, run.First, state);
    ReplayKeyState(replay, run.First + run.Frames - 1, state);
  }
  if (next != replay.FrameCount) abort();
  ReplayKeyState(replay, -1, state);
  ReplayKeyState(replay, replay.FrameCount, state);
  for (int k = 0; k < 256; ++k)
    if (state[k] != 0) abort();
  return 0;
}
