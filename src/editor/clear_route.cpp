// A coarse model of where the girl can go, cell by cell: good enough to tell whether she needs a balloon and
// where to fetch it. The search itself runs the real play frame, so the model may be generous.
#include "editor/clear_route.h"

#include <algorithm>
#include <deque>
#include <vector>

#include "stage/catalogue.h"
#include "stage/stagedata.h"

namespace {

constexpr int W = CustomColumns, H = CustomRows;

uint8_t At(const uint8_t* cells, int c, int r) { return cells[c * H + r]; }
bool Inside(int c, int r) { return c >= 0 && r >= 0 && c < W && r < H; }

// Cells she stands on and cannot enter (locks and keys are gone in custom play).
bool Solid(uint8_t p) {
  return p == Block || (p >= SaveBlock1 && p <= SaveBlockPressed6) || (p >= BalloonBlock6 && p <= BalloonBlock36) ||
         p == BreakableBlock || p == IceBlock;
}
bool FixedSpike(uint8_t p) { return p >= SpikeLeft && p <= SpikeDown; }
bool Open(const uint8_t* cells, int c, int r) {
  if (!Inside(c, r)) return false;
  uint8_t p = At(cells, c, r);
  return !Solid(p) && !FixedSpike(p);
}
bool Standable(const uint8_t* cells, int c, int r) {
  return Open(cells, c, r) && r + 1 < H && Solid(At(cells, c, r + 1));
}

// Search state: a cell, the rise left in this jump and the steps across left in the air.
struct State {
  int c, r, rise, across;
};
constexpr int MaxRise = 2, MaxAcross = 4;

}  // namespace

void ReachableOnFoot(const uint8_t* cells, uint8_t* reachable) {
  std::fill(reachable, reachable + W * H, 0);
  int sc = -1, sr = -1;
  for (int c = 0; c < W && sc < 0; c++)
    for (int r = 0; r < H; r++)
      if (At(cells, c, r) == StartPoint) {
        sc = c;
        sr = r;
        break;
      }
  if (sc < 0) return;
  // Seen per (cell, rise, across): a state with more rise or more across left is worth visiting again.
  std::vector<uint8_t> seen(W * H * (MaxRise + 1) * (MaxAcross + 1), 0);
  auto index = [](const State& s) { return ((s.c * H + s.r) * (MaxRise + 1) + s.rise) * (MaxAcross + 1) + s.across; };
  std::deque<State> queue;
  auto push = [&](State s) {
    if (!Open(cells, s.c, s.r)) return;
    if (Standable(cells, s.c, s.r)) {
      s.rise = MaxRise;
      s.across = MaxAcross;
    }
    if (seen[index(s)]) return;
    seen[index(s)] = 1;
    reachable[s.c * H + s.r] = 1;
    queue.push_back(s);
  };
  push({sc, sr, 0, MaxAcross});
  while (!queue.empty()) {
    State s = queue.front();
    queue.pop_front();
    const bool standing = Standable(cells, s.c, s.r);
    // Walking on a floor keeps the full jump; stepping off a ledge starts a fall.
    for (int dc : {-1, 1}) {
      if (standing) push({s.c + dc, s.r, 0, MaxAcross});
      else if (s.across > 0) push({s.c + dc, s.r, s.rise, s.across - 1});
    }
    // Rising: a breakable block overhead is broken by the headbutt.
    if (s.rise > 0) {
      if (Inside(s.c, s.r - 1) && At(cells, s.c, s.r - 1) == BreakableBlock) {
        State up{s.c, s.r - 1, 0, s.across};
        if (!seen[index(up)]) {
          seen[index(up)] = 1;
          reachable[up.c * H + up.r] = 1;
          queue.push_back(up);
        }
      } else {
        push({s.c, s.r - 1, s.rise - 1, s.across});
      }
    }
    // Falling: she drifts across as she falls, so a cell fallen gives back a step across.
    if (!standing) push({s.c, s.r + 1, 0, std::min(MaxAcross, s.across + 1)});
  }
}

std::string DeriveClearRoute(const uint8_t* cells) {
  std::vector<uint8_t> reach(W * H);
  ReachableOnFoot(cells, reach.data());
  int gc = -1, gr = -1;
  for (int c = 0; c < W && gc < 0; c++)
    for (int r = 0; r < H; r++)
      if (At(cells, c, r) == GoalFlag) {
        gc = c;
        gr = r;
        break;
      }
  if (gc < 0 || reach[gc * H + gr]) return "";
  // Flying distance to the goal through open cells: where a balloon is best picked up.
  std::vector<int> dist(W * H, 1 << 28);
  std::deque<int> queue;
  dist[gc * H + gr] = 0;
  queue.push_back(gc * H + gr);
  while (!queue.empty()) {
    int at = queue.front();
    queue.pop_front();
    int c = at / H, r = at % H;
    const int dc[4] = {1, -1, 0, 0}, dr[4] = {0, 0, 1, -1};
    for (int k = 0; k < 4; k++) {
      int nc = c + dc[k], nr = r + dr[k];
      if (!Open(cells, nc, nr) || dist[nc * H + nr] <= dist[at] + 1) continue;
      dist[nc * H + nr] = dist[at] + 1;
      queue.push_back(nc * H + nr);
    }
  }
  // The best balloon: nearest to the goal, then the longest-lasting.
  std::string best;
  long bestKey = 1L << 40;
  for (int c = 0; c < W; c++)
    for (int r = 0; r < H; r++) {
      uint8_t p = At(cells, c, r);
      int balloonRow = -1, seconds = 0;
      std::string text;
      if (p >= CountBalloon6 && p <= CountBalloon36 && reach[c * H + r]) {
        balloonRow = r;
        seconds = p - CountBalloon6;
        text = std::to_string(c) + "," + std::to_string(r) + ":balloon";
      } else if (p >= BalloonBlock6 && p <= BalloonBlock36 && r > 0 && Open(cells, c, r - 1) &&
                 Inside(c, r + 1) && reach[c * H + r + 1]) {
        balloonRow = r - 1;
        seconds = p - BalloonBlock6;
        text = std::to_string(c) + "," + std::to_string(r) + ":hit " + std::to_string(c) + "," +
               std::to_string(r - 1) + ":balloon";
      }
      if (balloonRow < 0) continue;
      long key = static_cast<long>(dist[c * H + balloonRow]) * 8 + (3 - seconds);
      if (key < bestKey) {
        bestKey = key;
        best = text;
      }
    }
  return best;
}
