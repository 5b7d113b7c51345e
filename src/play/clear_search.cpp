// The beam search for a clearing replay. Every M frames it keeps the B most promising live states; promise
// is the walking distance (in cells, through everything the player can pass) to the next waypoint, and after
// the last waypoint to the goal. States that die are dropped, so a found replay clears without a death.
#include "play/clear_search.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <sstream>
#include <unordered_map>

#include "media/media.h"
#include "play/play_frame.h"
#include "play/play_map.h"
#include "play/playstate.h"
#include "shell/game.h"
#include "stage/stagedata.h"

namespace {

struct Action {
  bool left, right, jump;
};
const Action Actions[] = {
    {false, true, false}, {false, true, true}, {false, false, false},
    {false, false, true}, {true, false, false}, {true, false, true},
};
constexpr int ActionCount = 6;

struct Snapshot {
  PlayState play;
  std::vector<uint8_t> map;
  std::vector<StageObject> objects;
  uint8_t prevKeys[256];
  int waypoint = 0;
};

struct Node {
  Snapshot snap;
  int parent = -1;  // index in the previous layer
  int action = 0;
  long score = 0;
  int clearedAt = 0;  // frame of the macro step in which the goal was reached, 1-based; 0 not cleared
};

int MapBytes() { return PlayMapColumns() * StageMapRows; }

void Take(Snapshot& s) {
  s.play = Play;
  s.map.assign(PlayMapBase(), PlayMapBase() + MapBytes());
  s.objects.assign(StageObjects, StageObjects + ObjectCount);
  for (int i = 0; i < 256; i++) s.prevKeys[i] = static_cast<uint8_t>(PrevKeyState[i]);
}

void Restore(const Snapshot& s) {
  Play = s.play;
  std::memcpy(PlayMapBase(), s.map.data(), s.map.size());
  std::copy(s.objects.begin(), s.objects.end(), StageObjects);
  ObjectCount = static_cast<int>(s.objects.size());
  for (int i = 0; i < 256; i++) PrevKeyState[i] = s.prevKeys[i];
  // Only live states are kept: no blood is flying and no trap spike has killed in them.
  BloodState = 0;
  KillerKind = 0;
}

uint8_t Cell(int c, int r) { return PlayMapBase()[c * StageMapRows + r]; }

// What the player cannot walk through; breakable blocks and locks count as passable at a cost.
int CellCost(uint8_t p) {
  if (p == 3 || (p >= 4 && p <= 19) || (p >= 180 && p <= 183) || p == 191) return -1;
  if (p == 188 || (p >= 90 && p <= 92)) return 4;
  return 1;
}

std::vector<int> DistanceField(int tc, int tr) {
  int w = PlayMapColumns(), h = PlayMapRows();
  std::vector<int> dist(w * h, 1 << 28);
  std::deque<int> queue;
  dist[tc * h + tr] = 0;
  queue.push_back(tc * h + tr);
  while (!queue.empty()) {  // small costs: a label-correcting pass is enough
    int at = queue.front();
    queue.pop_front();
    int c = at / h, r = at % h;
    const int dc[4] = {1, -1, 0, 0}, dr[4] = {0, 0, 1, -1};
    for (int k = 0; k < 4; k++) {
      int nc = c + dc[k], nr = r + dr[k];
      if (nc < 0 || nr < 0 || nc >= w || nr >= h) continue;
      int cost = CellCost(Cell(nc, nr));
      if (cost < 0) continue;
      // A step across counts four times a step up or down: a jump leads up before it leads on, and should
      // not look like a detour.
      if (dc[k] != 0) cost *= 4;
      int nd = dist[at] + cost;
      if (nd < dist[nc * h + nr]) {
        dist[nc * h + nr] = nd;
        queue.push_back(nc * h + nr);
      }
    }
  }
  return dist;
}

int PlayerCellCol() { return std::clamp(static_cast<int>(Play.PlayerX + 8) / 32, 0, PlayMapColumns() - 1); }
int PlayerCellRow() { return std::clamp(static_cast<int>(Play.PlayerY + 16) / 32, 0, PlayMapRows() - 1); }

// One search: the route, its distance fields, the map it started from and the draw of the random fifth.
struct Search {
  std::vector<RouteWaypoint> route;
  std::vector<std::vector<int>> fields;
  std::vector<uint8_t> firstMap;
  uint64_t seed = 88172645463325252ULL;

  long Score(int waypoint) const {
    int c = PlayerCellCol(), r = PlayerCellRow();
    long d = fields[waypoint][c * PlayMapRows() + r];
    // Within a cell, prefer the side nearer the target.
    int tc = route[waypoint].Col, tr = route[waypoint].Row;
    float fx = std::fabs(Play.PlayerX + 8 - (32 * tc + 16)), fy = std::fabs(Play.PlayerY + 16 - (32 * tr + 16));
    return (static_cast<long>(route.size()) - waypoint) * 10000000L + d * 16 + static_cast<long>((fx + fy / 4) / 8);
  }

  bool Reached(int wp) const {
    if (route[wp].HitCell >= 0) return PlayMapBase()[route[wp].HitCell] != firstMap[route[wp].HitCell];
    return PlayerCellCol() == route[wp].Col && PlayerCellRow() == route[wp].Row &&
           (!route[wp].NeedsBalloon || Play.BalloonState == 1);
  }
};

void Feed(const Action& a, bool pressJump) {
  std::memset(KeyState, 0, 256);
  KeyState[KeyLeft] = a.left;
  KeyState[KeyRight] = a.right;
  KeyState[KeyZ] = pressJump;
}

uint8_t FrameKeys(int action, int frameInMacro) {
  const Action& a = Actions[action];
  return static_cast<uint8_t>((a.left ? SearchKeyLeft : 0) | (a.right ? SearchKeyRight : 0) |
                              (a.jump && frameInMacro == 0 ? SearchKeyZ : 0));
}

// One state per coarse bucket of position, motion and what the map and objects look like.
std::string BucketKey(const Snapshot& s, int wp) {
  char key[160];
  unsigned mapHash = 2166136261u;
  for (uint8_t b : s.map) mapHash = (mapHash ^ b) * 16777619u;
  unsigned objHash = 2166136261u;
  for (auto& o : s.objects) objHash = (objHash ^ static_cast<unsigned>(o.State * 7 + o.Dir)) * 16777619u;
  std::snprintf(key, sizeof key, "%d %d %d %d %d %d %d %d %u %u %d%d%d %d", wp,
                static_cast<int>(std::floor(Play.PlayerX / 4)), static_cast<int>(std::floor(Play.PlayerY / 4)),
                static_cast<int>(std::lround(Play.PlayerVX * 2)), static_cast<int>(std::lround(Play.PlayerVY)),
                Play.PlayerAirborne, Play.BalloonState, Play.BalloonTimer / 60, mapHash, objHash, Play.KeyHeld1,
                Play.KeyHeld2, Play.KeyHeld3, Play.ScrollState != 0);
  return key;
}

}  // namespace

std::vector<RouteWaypoint> ParseRoute(const std::string& text) {
  std::vector<RouteWaypoint> route;
  std::istringstream in(text);
  std::string item;
  while (in >> item) {
    int c, r;
    if (std::sscanf(item.c_str(), "%d,%d", &c, &r) != 2) continue;
    if (c < 0 || r < 0 || c >= PlayMapColumns() || r >= PlayMapRows()) continue;
    RouteWaypoint w;
    bool hit = item.find(":hit") != std::string::npos;
    if (hit) {
      w.HitCell = c * StageMapRows + r;
      int below = r + 1;
      while (below + 1 < PlayMapRows() && CellCost(Cell(c, below + 1)) > 0) below++;
      r = below;
    }
    w.Col = c;
    w.Row = r;
    w.NeedsBalloon = item.find(":balloon") != std::string::npos;
    route.push_back(w);
  }
  return route;
}

void AppendGoalWaypoint(std::vector<RouteWaypoint>* route) {
  for (int c = 0; c < PlayMapColumns(); c++)
    for (int r = 0; r < PlayMapRows(); r++)
      if (Cell(c, r) == 2) {
        RouteWaypoint w;
        w.Col = c;
        w.Row = r;
        route->push_back(w);
        return;
      }
}

ClearSearchResult SearchClearReplay(const std::vector<RouteWaypoint>& route, const ClearSearchSettings& settings,
                                    const std::function<bool(const ClearSearchProgress&)>& progress) {
  ClearSearchResult result;
  if (route.empty()) return result;
  const auto started = std::chrono::steady_clock::now();
  auto seconds = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  };
  Search search;
  search.route = route;
  search.firstMap.assign(PlayMapBase(), PlayMapBase() + MapBytes());
  for (auto& w : route) search.fields.push_back(DistanceField(w.Col, w.Row));
  const int last = static_cast<int>(route.size()) - 1;
  const int macro = std::max(1, settings.Macro);

  std::vector<std::vector<std::pair<int, int>>> history;  // per layer: (parent, action)
  std::vector<Node> layer(1);
  Take(layer[0].snap);
  int frame = 0;
  int clearedAt = 0;
  bool found = false;
  while (frame < settings.MaxFrames && !found) {
    std::vector<Node> next;
    std::unordered_map<std::string, int> seen;
    for (int pi = 0; pi < static_cast<int>(layer.size()) && !found; pi++) {
      for (int a = 0; a < ActionCount; a++) {
        Restore(layer[pi].snap);
        int wp = layer[pi].snap.waypoint;
        bool dead = false, cleared = false;
        int f = 0;
        for (; f < macro; f++) {
          Feed(Actions[a], Actions[a].jump && f == 0);
          RunPlayRoutines();
          CopyKeyState();
          if (Play.DeadState != 0 || Play.PlayPhase != 0) { dead = true; break; }
          if (Play.GoalReached != 0) { cleared = true; break; }
          if (wp < last && search.Reached(wp)) wp++;
        }
        if (dead) continue;
        Node n;
        Take(n.snap);
        n.snap.waypoint = wp;
        n.parent = pi;
        n.action = a;
        n.score = cleared ? -1 : search.Score(wp);
        if (cleared) {
          clearedAt = frame + f + 1;
          next.clear();
          next.push_back(std::move(n));
          found = true;
          break;
        }
        std::string key = BucketKey(n.snap, wp);
        auto it = seen.find(key);
        if (it == seen.end()) {
          seen[key] = static_cast<int>(next.size());
          next.push_back(std::move(n));
        } else if (n.score < next[it->second].score) {
          next[it->second] = std::move(n);
        }
      }
    }
    std::sort(next.begin(), next.end(), [](const Node& a, const Node& b) { return a.score < b.score; });
    if (static_cast<int>(next.size()) > settings.Beam) {
      // The best four fifths by promise, and a fifth drawn from the rest: distance alone punishes every jump
      // (it leads up, away from the target), so a few unpromising lines are kept alive.
      int keep = settings.Beam * 4 / 5;
      std::vector<Node> chosen;
      for (int i = 0; i < keep; i++) chosen.push_back(std::move(next[i]));
      int rest = static_cast<int>(next.size()) - keep;
      for (int k = 0; k < settings.Beam - keep; k++) {
        search.seed = search.seed * 6364136223846793005ULL + 1442695040888963407ULL;
        int pick = keep + static_cast<int>((search.seed >> 33) % static_cast<uint64_t>(rest));
        if (next[pick].parent >= 0) chosen.push_back(std::move(next[pick]));
        next[pick].parent = -1;
      }
      next = std::move(chosen);
    }
    if (next.empty()) break;  // every line of play died: keep the last layer for the partial replay
    std::vector<std::pair<int, int>> links;
    for (auto& n : next) links.push_back({n.parent, n.action});
    history.push_back(links);
    layer = std::move(next);
    frame += macro;
    if (progress && !found) {
      const Node& best = layer[0];
      ClearSearchProgress p;
      p.Frame = frame;
      p.States = static_cast<int>(layer.size());
      p.BestWaypoint = best.snap.waypoint;
      p.Waypoints = static_cast<int>(route.size());
      p.Distance = static_cast<int>((best.score % 10000000L) / 16);
      p.X = best.snap.play.PlayerX;
      p.Y = best.snap.play.PlayerY;
      p.Seconds = seconds();
      if (!progress(p)) {
        result.Cancelled = true;
        break;
      }
    }
    if (!found && settings.BudgetSeconds > 0 && seconds() >= settings.BudgetSeconds) break;
  }
  // Walk the links back from the winner (or the best partial line).
  std::vector<int> actions;
  int idx = 0;
  for (int l = static_cast<int>(history.size()) - 1; l >= 0; l--) {
    actions.push_back(history[l][idx].second);
    idx = history[l][idx].first;
  }
  std::reverse(actions.begin(), actions.end());
  for (int a : actions)
    for (int f = 0; f < macro; f++) result.Frames.push_back(FrameKeys(a, f));
  result.Found = found;
  result.ClearFrame = found ? clearedAt : 0;
  return result;
}

std::string SearchFramesToReplayText(const std::vector<uint8_t>& frames, const std::string& comment) {
  auto name = [](uint8_t k) {
    std::string keys;
    if (k & SearchKeyLeft) keys += "Left";
    if (k & SearchKeyRight) keys += "Right";
    if (k & SearchKeyZ) keys += keys.empty() ? "Z" : "+Z";
    return keys.empty() ? std::string("-") : keys;
  };
  std::ostringstream text;
  if (!comment.empty()) text << "# " << comment << "\n";
  for (size_t i = 0; i < frames.size();) {
    size_t j = i;
    while (j < frames.size() && frames[j] == frames[i]) j++;
    text << (j - i) << " " << name(frames[i]) << "\n";
    i = j;
  }
  return text.str();
}

std::vector<ReplayFrame> SearchFramesToReplay(const std::vector<uint8_t>& frames) {
  std::vector<ReplayFrame> out(frames.size());
  for (size_t i = 0; i < frames.size(); i++) {
    out[i].fill(0);
    out[i][KeyLeft] = (frames[i] & SearchKeyLeft) ? 1 : 0;
    out[i][KeyRight] = (frames[i] & SearchKeyRight) ? 1 : 0;
    out[i][KeyZ] = (frames[i] & SearchKeyZ) ? 1 : 0;
  }
  return out;
}
