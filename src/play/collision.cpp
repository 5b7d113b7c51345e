// The player's collision with the cells around her, and the count balloon's pass after it. Each test uses
// the position and velocity as the tests before it left them; the windows decide the feel of the game, so
// every strict and non-strict comparison below is deliberate.
#include "play/play_map.h"
#include "play/playstate.h"
#include "shell/assets.h"
#include "shell/scenes.h"
#include "stage/catalogue.h"
#include "stage/scan.h"
#include "stage/stagedata.h"

namespace {

PlayState& P = Play;

// The window numbers of the fixed spikes, which differ between the built-in and the custom stages.
struct SpikeNumbers {
  float A;  // top and bottom kill band
  float B;  // side window of SpikeLeft and SpikeRight
  float E;  // tip band of SpikeUp and SpikeDown
};
constexpr SpikeNumbers BuiltinSpikes{24.0f, 26.0f, 12.0f};
constexpr SpikeNumbers CustomSpikes{28.0f, 30.0f, 16.0f};

// One cell under test: its corner and its place in the map.
struct Cell {
  int C, R;
  float X, Y;
  uint8_t& Id() const { return PlayMapAt(C, R); }
};

bool Across(const Cell& k) { return k.X - 14.0f < P.PlayerX && P.PlayerX < k.X + 30.0f; }
bool TopHalf(const Cell& k) { return k.Y - 32.0f <= P.PlayerY && P.PlayerY <= k.Y - 16.0f; }
bool BottomHalf(const Cell& k) { return k.Y + 16.0f <= P.PlayerY && P.PlayerY <= k.Y + 32.0f; }
bool LeftSide(const Cell& k) { return k.X - 16.0f < P.PlayerX && P.PlayerX < k.X; }
bool RightSide(const Cell& k) { return k.X + 16.0f < P.PlayerX && P.PlayerX < k.X + 32.0f; }
bool Level(const Cell& k, float band) { return k.Y - band < P.PlayerY && P.PlayerY < k.Y + band; }

void Land(const Cell& k) {
  P.PlayerVY = 0.0f;
  P.PlayerY = k.Y - 32.0f;
  P.PlayerAirborne = 0;
}
void Bump(const Cell& k) {
  P.PlayerVY = 0.5f;
  P.PlayerY = k.Y + 32.0f;
  P.PlayerAirborne = 1;
}
void StopAtLeft(const Cell& k) {
  P.PlayerVX = 0.0f;
  P.PlayerX = k.X - 16.0f;
}
void StopAtRight(const Cell& k) {
  P.PlayerVX = 0.0f;
  P.PlayerX = k.X + 32.0f;
}
void Kill() { P.DeadState = 1; }

// Solid rule A, with velocity tests. Returns true when step 1 landed the player.
template <typename HeadHit>
bool SolidRuleA(const Cell& k, HeadHit headHit) {
  bool landed = false;
  if (P.PlayerVY > 0.0f && Across(k) && TopHalf(k)) {
    Land(k);
    landed = true;
  }
  if (P.PlayerVY < 0.0f && Across(k) && BottomHalf(k)) headHit();
  if (P.PlayerVX > 0.0f && LeftSide(k) && Level(k, 28.0f)) StopAtLeft(k);
  if (P.PlayerVX < 0.0f && RightSide(k) && Level(k, 28.0f)) StopAtRight(k);
  return landed;
}

// Solid rule B, without velocity tests; after each response the cell's own follow-up runs.
template <typename HeadHit, typename After>
void SolidRuleB(const Cell& k, HeadHit headHit, After after) {
  if (Across(k) && TopHalf(k)) {
    Land(k);
    after();
  }
  if (Across(k) && BottomHalf(k)) {
    headHit();
    after();
  }
  if (k.X - 16.0f < P.PlayerX && P.PlayerX < k.X && Level(k, 30.0f)) {
    StopAtLeft(k);
    after();
  }
  if (k.X < P.PlayerX && P.PlayerX < k.X + 32.0f && Level(k, 30.0f)) {
    StopAtRight(k);
    after();
  }
}

int* KeyFlag(int k) { return k == 1 ? &P.KeyHeld1 : k == 2 ? &P.KeyHeld2 : &P.KeyHeld3; }

void SaveBlockHeadHit(const Cell& k) {
  const int id = k.Id();
  const int n = (id - 2) / 2;
  PlaySoundEffect(SeHeadbutt);
  if (RestartPointInMap[n - 1]) {
    P.RespawnX = P.RestartPointX[n - 1] + 8.0f;
    P.RespawnY = P.RestartPointY[n - 1];
    P.RespawnScrollX = P.ScrollX;
    P.RespawnScrollY = P.ScrollY;
  } else {
    // Without its restart point the block saves the stage's start, never a place from another stage.
    P.RespawnX = P.StartX;
    P.RespawnY = P.StartY;
    P.RespawnScrollX = -(static_cast<int>(P.StartX) / 640) * 640;
    P.RespawnScrollY = -(static_cast<int>(P.StartY) / 480) * 480;
  }
  P.SavedKeyHeld1 = P.KeyHeld1;
  P.SavedKeyHeld2 = P.KeyHeld2;
  P.SavedKeyHeld3 = P.KeyHeld3;
  Bump(k);
  k.Id() = static_cast<uint8_t>(id + 1);
}

void BalloonBlockHeadHit(const Cell& k) {
  const int id = k.Id();
  PlaySoundEffect(SeHeadbutt);
  Bump(k);
  // In the top row there is no cell above to take the balloon: it releases nothing.
  if (k.R > 0) PlayMapAt(k.C, k.R - 1) = static_cast<uint8_t>(id + 4);
  k.Id() = Block;
}

void StartDebris() {
  for (DebrisSlot& slot : DebrisSlots) {
    if (slot.Active != 0) continue;
    const float px = P.PlayerX, py = P.PlayerY;
    slot.Counter = 0;
    slot.Active = 1;
    const float xs[4] = {px - 8.0f, px - 8.0f, px + 8.0f, px + 8.0f};
    const float ys[4] = {py - 8.0f, py + 8.0f, py - 8.0f, py + 8.0f};
    const float vxs[4] = {-2.0f, -2.0f, 2.0f, 2.0f};
    const float vys[4] = {-6.5f, -4.5f, -6.5f, -4.5f};
    for (int f = 0; f < 4; ++f) {
      slot.X[f] = xs[f];
      slot.Y[f] = ys[f];
      slot.VX[f] = vxs[f];
      slot.VY[f] = vys[f];
    }
    return;
  }
}

void BreakableHeadHit(const Cell& k) {
  PlaySoundEffect(SeBreak);
  k.Id() = Empty;
  Bump(k);
  StartDebris();
}

bool SideKillStrips(const Cell& k, bool custom) {
  if (custom)
    return (LeftSide(k) || (k.X < P.PlayerX && P.PlayerX < k.X + 32.0f)) && Level(k, 28.0f);
  return ((k.X - 16.0f < P.PlayerX && P.PlayerX < k.X - 12.0f) ||
          (k.X + 28.0f < P.PlayerX && P.PlayerX < k.X + 32.0f)) &&
         Level(k, 26.0f);
}

// The fixed spikes. Returns true when the rest of the column is not examined in this frame.
bool SpikeLeftCell(const Cell& k, const SpikeNumbers& n, bool custom) {
  // In the built-in stages a player already killed keeps that cause and is not pushed.
  auto acts = [custom] { return custom || P.DeadState == 0; };
  if (acts() && Across(k) && k.Y - 32.0f < P.PlayerY && P.PlayerY < k.Y - n.A) Kill();
  if (acts() && Across(k) && k.Y + n.A < P.PlayerY && P.PlayerY < k.Y + 32.0f) Kill();
  if (acts() && k.X - 16.0f <= P.PlayerX && P.PlayerX <= k.X && Level(k, n.B)) {
    Kill();
    if (custom) return true;
  }
  if (acts() && k.X <= P.PlayerX && P.PlayerX <= k.X + 32.0f && Level(k, n.B)) StopAtRight(k);
  return false;
}

bool SpikeRightCell(const Cell& k, const SpikeNumbers& n) {
  if (Across(k) && k.Y - 32.0f < P.PlayerY && P.PlayerY < k.Y - n.A) Kill();
  if (Across(k) && k.Y + n.A < P.PlayerY && P.PlayerY < k.Y + 32.0f) Kill();
  if (k.X - 16.0f <= P.PlayerX && P.PlayerX <= k.X && Level(k, n.B)) StopAtLeft(k);
  if (k.X <= P.PlayerX && P.PlayerX <= k.X + 32.0f && Level(k, n.B)) {
    Kill();
    return true;
  }
  return false;
}

bool SpikeUpCell(const Cell& k, const SpikeNumbers& n, bool custom) {
  if (Across(k) && k.Y - 28.0f <= P.PlayerY && P.PlayerY <= k.Y - n.E) {
    Kill();
    return true;
  }
  if (Across(k) && BottomHalf(k)) Bump(k);
  if (SideKillStrips(k, custom)) Kill();
  return false;
}

bool SpikeDownCell(const Cell& k, const SpikeNumbers& n, bool custom) {
  if (Across(k) && TopHalf(k)) Land(k);
  if (Across(k) && k.Y + n.E <= P.PlayerY && P.PlayerY <= k.Y + 32.0f) {
    Kill();
    return true;
  }
  if (SideKillStrips(k, custom)) Kill();
  return false;
}

void PickUpBalloon(const Cell& k) {
  static const int Flight[4] = {359, 719, 1439, 2159};
  PlaySoundEffect(SeBalloon);
  P.BalloonTimer = Flight[k.Id() - CountBalloon6];  // a balloon already carried gets the new timer
  P.BalloonState = 1;
  k.Id() = Empty;
  P.BalloonX = P.PlayerX - 8.0f;
  P.BalloonY = P.PlayerY - 48.0f;
}

// All handlers of one player cell, each reading the cell anew. Returns true to stop the column.
bool PlayerCell(const Cell& k, bool custom) {
  const SpikeNumbers& n = custom ? CustomSpikes : BuiltinSpikes;
  auto bump = [&k] { Bump(k); };
  int id = k.Id();
  if (id == GoalFlag && k.X < P.PlayerX && P.PlayerX < k.X + 16.0f && Level(k, 28.0f) && P.GoalReached == 0)
    P.GoalReached = 1;
  if (k.Id() == Block) SolidRuleA(k, bump);
  if (k.Id() == IceBlock && SolidRuleA(k, bump)) P.PlayerOnIce = 1;
  id = k.Id();
  if (id >= SaveBlock1 && id <= SaveBlockPressed6 && id % 2 == 0) SolidRuleA(k, [&k] { SaveBlockHeadHit(k); });
  id = k.Id();
  if (id >= SaveBlock1 && id <= SaveBlockPressed6 && id % 2 == 1) SolidRuleA(k, bump);
  if (k.Id() == SpikeLeft && SpikeLeftCell(k, n, custom)) return true;
  if (k.Id() == SpikeRight && SpikeRightCell(k, n)) return true;
  if (k.Id() == SpikeUp && SpikeUpCell(k, n, custom)) return true;
  if (k.Id() == SpikeDown && SpikeDownCell(k, n, custom)) return true;
  id = k.Id();
  if (id >= LockBlock1 && id <= LockBlock3) {
    int* key = KeyFlag(id - 89);
    SolidRuleB(k, bump, [&k, key] {
      // One key opens one lock, and at most one lock opens per frame.
      if (P.LockOpenedThisFrame == 0 && *key > 0) {
        *key = 0;
        P.LockOpenedThisFrame = 1;
        k.Id() = Empty;
      }
    });
  }
  id = k.Id();
  if (id >= Key1 && id <= Key3 && k.X - 10.0f < P.PlayerX && P.PlayerX < k.X + 26.0f && Level(k, 28.0f)) {
    PlaySoundEffect(SeKey);
    *KeyFlag(id - 92) = 1;
    k.Id() = Empty;
  }
  id = k.Id();
  if (id >= SpikeTriggerFirst && id <= SpikeTriggerLast && Across(k) && Level(k, 30.0f)) {
    const int kind = id - 95;
    for (int i = 0; i < ObjectCount; ++i)
      if (StageObjects[i].Kind == kind && StageObjects[i].State == 0) StageObjects[i].State = 1;
  }
  id = k.Id();
  if (id >= Signboard1 && id <= Signboard4 && k.X < P.PlayerX && P.PlayerX < k.X + 16.0f && Level(k, 28.0f))
    P.SignboardShown = id - 175;
  id = k.Id();
  if (id >= BalloonBlock6 && id <= BalloonBlock36) SolidRuleB(k, [&k] { BalloonBlockHeadHit(k); }, [] {});
  id = k.Id();
  if (id >= CountBalloon6 && id <= CountBalloon36 && k.X - 12.0f < P.PlayerX && P.PlayerX < k.X + 28.0f &&
      Level(k, 28.0f))
    PickUpBalloon(k);
  if (k.Id() == BreakableBlock) SolidRuleA(k, [&k] { BreakableHeadHit(k); });
  return false;
}

bool BalloonSolid(int id) {
  return (id >= Block && id <= SaveBlockPressed6) || (id >= LockBlock1 && id <= LockBlock3) ||
         (id >= BalloonBlock6 && id <= BalloonBlock36) || id == BreakableBlock || id == IceBlock;
}

void Burst() {
  P.BalloonTimer = 0;
  P.BalloonState = 2;
}

// The balloon meets a cell with its own corner (bx, by); the responses move the player under it.
void BalloonCell(const Cell& k, float bx, float by) {
  const int id = k.Id();
  const float X = k.X, Y = k.Y;
  const bool wide = X - 30.0f < bx && bx < X + 30.0f;
  const bool level30 = Y - 30.0f < by && by < Y + 30.0f;
  auto restOn = [Y] {
    P.PlayerVY = 0.0f;
    P.PlayerY = Y + 16.0f;
  };
  auto hangUnder = [Y] {
    P.PlayerVY = 0.5f;
    P.PlayerY = Y + 80.0f;
  };
  auto stopLeft = [X] {
    P.PlayerVX = 0.0f;
    P.PlayerX = X - 24.0f;
  };
  auto stopRight = [X] {
    P.PlayerVX = 0.0f;
    P.PlayerX = X + 39.0f;
  };
  if (BalloonSolid(id)) {
    if (P.PlayerVY > 0.0f && wide && Y - 32.0f <= by && by <= Y - 16.0f) restOn();
    if (P.PlayerVY < 0.0f && wide && Y + 16.0f <= by && by <= Y + 32.0f) hangUnder();
    if (P.PlayerVX > 0.0f && X - 32.0f < bx && bx < X - 16.0f && Y - 28.0f < by && by < Y + 28.0f) stopLeft();
    if (P.PlayerVX < 0.0f && X + 16.0f < bx && bx < X + 32.0f && Y - 28.0f < by && by < Y + 28.0f) stopRight();
    return;
  }
  const bool nearLeft = X - 32.0f <= bx && bx <= X - 16.0f && level30;
  const bool nearRight = X + 16.0f <= bx && bx <= X + 32.0f && level30;
  const bool besideLeft = X - 32.0f < bx && bx < X - 16.0f && level30;
  const bool besideRight = X + 16.0f < bx && bx < X + 32.0f && level30;
  switch (id) {
    case SpikeLeft:
    case SpikeRight:
      if (wide && Y - 32.0f < by && by < Y - 28.0f) restOn();
      if (wide && Y + 28.0f < by && by < Y + 32.0f) hangUnder();
      if (id == SpikeLeft) {
        if (nearLeft) Burst();
        if (nearRight) stopRight();
      } else {
        if (nearLeft) stopLeft();
        if (nearRight) Burst();
      }
      break;
    case SpikeUp:
      if (wide && Y - 28.0f <= by && by <= Y - 16.0f) Burst();
      if (wide && Y + 16.0f <= by && by <= Y + 32.0f) hangUnder();
      if (besideLeft) stopLeft();
      if (besideRight) stopRight();
      break;
    case SpikeDown:
      if (wide && Y - 32.0f <= by && by <= Y - 16.0f) restOn();
      if (wide && Y + 16.0f <= by && by <= Y + 32.0f) Burst();
      if (besideLeft) stopLeft();
      if (besideRight) stopRight();
      break;
    default:
      break;
  }
}

// Columns and rows of the 2 x 2 cells whose corner cell holds (x, y), clipped to the map.
template <typename Visit>
void VisitCells(float x, float y, Visit visit) {
  const int cx = static_cast<int>(x / 32.0f);
  const int cy = static_cast<int>(y / 32.0f);
  const int columns = PlayMapColumns(), rows = PlayMapRows();
  for (int c = cx < 0 ? 0 : cx; c < cx + 2 && c < columns; ++c) {
    for (int r = cy < 0 ? 0 : cy; r < cy + 2 && r < rows; ++r) {
      const Cell k{c, r, static_cast<float>(32 * c), static_cast<float>(32 * r)};
      if (visit(k)) break;
    }
  }
}

}  // namespace

void CollidePlayer() {
  P.LockOpenedThisFrame = 0;
  P.SignboardShown = 0;
  const bool custom = P.PlaySource == 1;
  VisitCells(P.PlayerX, P.PlayerY, [custom](const Cell& k) { return PlayerCell(k, custom); });
  if (P.BalloonState == 1) {
    const float bx = P.BalloonX, by = P.BalloonY;
    VisitCells(bx, by, [bx, by](const Cell& k) {
      BalloonCell(k, bx, by);
      return false;
    });
  }
}
