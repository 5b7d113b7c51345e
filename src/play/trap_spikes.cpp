// Trap spikes: wait for their trigger, shoot in a straight line until a Block stops them, kill with the point
// and the flanks, and carry the player (or the count balloon) on the flat back.
#include "play/objects.h"
#include "play/playstate.h"

enum { TrapLeft = 0, TrapRight = 1, TrapUp = 2, TrapDown = 3 };

namespace {

// The live player position of this test: every response moves her at once for the later tests.
struct TrapWindows {
  float X, Y;
  bool Across() const { return X - 14 < Play.PlayerX && Play.PlayerX < X + 30; }
  bool Level26() const { return Y - 26 < Play.PlayerY && Play.PlayerY < Y + 26; }
  bool BalloonWide() const { return X - 30 < Play.BalloonX && Play.BalloonX < X + 30; }
  bool BalloonLevel26() const { return Y - 26 < Play.BalloonY && Play.BalloonY < Y + 26; }
};

}  // namespace

static bool Alive() { return Play.DeadState == 0; }

static void Kill(const StageObject& spike, int code) {
  Play.DeadState = code;
  KillerKind = spike.Kind;
}

static void StopAtLeft(float x) {
  Play.PlayerVX = 0;
  Play.PlayerX = x - 16;
}

static void StopAtRight(float x) {
  Play.PlayerVX = 0;
  Play.PlayerX = x + 32;
}

static void Bump(float y) {
  Play.PlayerVY = 0.5f;
  Play.PlayerAirborne = 1;
  Play.PlayerY = y + 32;
}

static void Land(float y) {
  Play.PlayerVY = 0;
  Play.PlayerAirborne = 0;
  Play.PlayerY = y - 32;
}

static void PlayerTests(const StageObject& spike) {
  const TrapWindows w{spike.X, spike.Y};
  const float X = spike.X, Y = spike.Y;
  auto px = [] { return Play.PlayerX; };
  auto py = [] { return Play.PlayerY; };
  switch (spike.Dir) {
    case TrapLeft:
      if (Alive() && w.Across() && Y - 32 < py() && py() < Y - 24) Kill(spike, 1);
      if (Alive() && w.Across() && Y + 24 < py() && py() < Y + 32) Kill(spike, 1);
      if (Alive() && X - 16 <= px() && px() <= X && w.Level26()) Kill(spike, 1);
      if (Alive() && X <= px() && px() <= X + 32 && w.Level26()) StopAtRight(X);
      break;
    case TrapRight:
      if (Alive() && w.Across() && Y - 32 < py() && py() < Y - 24) Kill(spike, 1);
      if (Alive() && w.Across() && Y + 24 < py() && py() < Y + 32) Kill(spike, 1);
      // Unlike the fixed right spike, both windows are strict: X <= px <= X + 16 is neither.
      if (Alive() && X - 16 < px() && px() < X && w.Level26()) StopAtLeft(X);
      if (Alive() && X + 16 < px() && px() < X + 32 && w.Level26()) Kill(spike, 2);
      break;
    case TrapUp:
      if (Alive() && w.Across() && Y - 28 <= py() && py() <= Y - 12) Kill(spike, 3);
      if (Alive() && w.Across() && Y + 16 <= py() && py() <= Y + 32) Bump(Y);
      if (Alive() && X - 16 < px() && px() < X - 12 && w.Level26()) Kill(spike, 1);
      if (Alive() && X + 28 < px() && px() < X + 32 && w.Level26()) Kill(spike, 1);
      break;
    case TrapDown:
      if (Alive() && w.Across() && Y - 32 <= py() && py() <= Y - 16) Land(Y);
      if (Alive() && w.Across() && Y + 12 <= py() && py() <= Y + 32) Kill(spike, 4);
      if (Alive() && X - 16 < px() && px() < X - 12 && w.Level26()) Kill(spike, 1);
      if (Alive() && X + 28 < px() && px() < X + 32 && w.Level26()) Kill(spike, 1);
      break;
    default:
      break;
  }
}

static void Burst() {
  Play.BalloonState = 2;
  Play.BalloonTimer = 0;
}

// The balloon never moves here: the responses move the player, and the balloon follows her next frame.
static void BalloonTests(const StageObject& spike) {
  const TrapWindows w{spike.X, spike.Y};
  const float X = spike.X, Y = spike.Y;
  const float bx = Play.BalloonX, by = Play.BalloonY;
  switch (spike.Dir) {
    case TrapLeft:
      if (w.BalloonWide() && Y - 32 < by && by < Y - 24) Burst();
      if (w.BalloonWide() && Y + 24 < by && by < Y + 32) Burst();
      if (X - 32 <= bx && bx <= X - 16 && w.BalloonLevel26()) Burst();
      if (X + 16 <= bx && bx <= X + 32 && w.BalloonLevel26()) {
        Play.PlayerVX = 0;
        Play.PlayerX = X + 39;
      }
      break;
    case TrapRight:
      if (w.BalloonWide() && Y - 32 < by && by < Y - 24) Burst();
      if (w.BalloonWide() && Y + 24 < by && by < Y + 32) Burst();
      if (X - 32 < bx && bx < X - 16 && w.BalloonLevel26()) {
        Play.PlayerVX = 0;
        Play.PlayerX = X - 24;
      }
      if (X + 16 < bx && bx < X + 32 && w.BalloonLevel26()) Burst();
      break;
    case TrapUp:
      if (w.BalloonWide() && Y - 28 <= by && by <= Y - 12) Burst();
      if (w.BalloonWide() && Y + 12 <= by && by <= Y + 26) {
        Play.PlayerVY = 0.5f;
        Play.PlayerAirborne = 1;
        Play.PlayerY = Y + 80;
      }
      if (X - 16 < bx && bx < X - 12 && w.BalloonLevel26()) Burst();
      if (X + 28 < bx && bx < X + 32 && w.BalloonLevel26()) Burst();
      break;
    case TrapDown:
      if (w.BalloonWide() && Y - 32 <= by && by <= Y - 16) {
        Play.PlayerVY = 0;
        Play.PlayerAirborne = 0;
        Play.PlayerY = Y + 16;
      }
      if (w.BalloonWide() && Y + 12 <= by && by <= Y + 26) Burst();
      if (X - 16 < bx && bx < X - 12 && w.BalloonLevel26()) Burst();
      if (X + 28 < bx && bx < X + 32 && w.BalloonLevel26()) Burst();
      break;
    default:
      break;
  }
}

void TrapSpikeStep(StageObject& spike, bool frozen) {
  bool stoppedNow = false;
  if (spike.State == TrapShooting) {
    if (!frozen) {
      spike.X += spike.VX;
      spike.Y += spike.VY;
    }
    if (ProbeBlocks(spike.X, spike.Y)) {
      spike.State = TrapStopped;
      stoppedNow = true;
    }
  }
  // Once the balloon's tests of a spike have begun they all run, even after a burst.
  const bool balloonCarried = Play.BalloonState == 1;
  PlayerTests(spike);
  if (balloonCarried) BalloonTests(spike);
  if (stoppedNow) {
    PlayerTests(spike);
    if (balloonCarried) BalloonTests(spike);
  }
}

// A spike that has just killed with its point is pushed 10 pixels further in; every spike of its kind goes
// with it, waiting ones too.
void HitNudge() {
  if (KillerKind == 0) return;  // no trap spike has killed in this life
  const int dead = Play.DeadState;
  int count = ObjectCount;
  if (count > MaxStageObjects) count = MaxStageObjects;
  for (int i = 0; i < count; ++i) {
    StageObject& spike = StageObjects[i];
    if (spike.Kind != KillerKind) continue;
    if (dead == 3) spike.Y -= 10;
    if (dead == 4) spike.Y += 10;
    if (ProbeBlocks(spike.X, spike.Y)) spike.State = TrapStopped;
  }
}
