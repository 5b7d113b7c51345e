// The game's frame routines: MeasureFps at the start of a paced frame, WaitFrameDue at its end. Frame k of
// a 60-frame window is due at FpsWindowStart + k * 1000 / 60 ms; the window is re-anchored every 60 frames.
#include "media/media.h"

int FpsFrameCount = 0;
int FpsWindowStart = 0;
float MeasuredFps = 0;

// Milliseconds since the window start. NowMs is 31 bits wide, so the difference is taken modulo 2^31 and
// read as a signed 31-bit number: a wrap of the clock inside a window still gives the true elapsed time, and
// a start that lies ahead of the clock comes out negative.
static int ElapsedSince(int start, int now) {
  uint32_t diff = (static_cast<uint32_t>(now) - static_cast<uint32_t>(start)) & 0x7FFFFFFFu;
  int64_t value = diff;
  return static_cast<int>(diff >= 0x40000000u ? value - 0x80000000LL : value);
}

void MeasureFps() {
  if (FpsFrameCount == 0) FpsWindowStart = NowMs();
  if (FpsFrameCount == 60) {
    int t = NowMs();
    int elapsed = ElapsedSince(FpsWindowStart, t);
    // A window with no measurable or a negative length gives no rate; keep the last one.
    if (elapsed > 0) MeasuredFps = 1000.0f / (static_cast<float>(elapsed) / 60.0f);
    FpsWindowStart = t;
    FpsFrameCount = 0;
  }
  FpsFrameCount += 1;
}

void WaitFrameDue() {
  int wait = FpsFrameCount * 1000 / 60 - ElapsedSince(FpsWindowStart, NowMs());
  if (wait <= 0) return;
  // A window start that lies ahead of the clock (it was set from another clock, or the clock stepped back)
  // would ask for more than a frame; re-anchor so that this frame is due one frame from now.
  constexpr int FrameMs = (1000 + 59) / 60;
  if (wait > FrameMs) {
    FpsWindowStart = static_cast<int>((static_cast<uint32_t>(NowMs()) + FrameMs -
                                       static_cast<uint32_t>(FpsFrameCount * 1000 / 60)) &
                                      0x7FFFFFFFu);
    wait = FrameMs;
  }
  int64_t t0 = NowTicks();
  if (wait > 4) {
    int64_t sleepUntil = t0 + MsToTicks(wait - 4);
    while (NowTicks() < sleepUntil) {
      if (PumpMessages() != 0) return;
      SleepMs(1);
    }
  }
  int64_t due = t0 + MsToTicks(wait);
  while (NowTicks() < due) {
  }
}
