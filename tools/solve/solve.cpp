// pelvoro-solve: finds a replay that clears a built-in stage, by a beam search over held keys that runs the
// game's own play routines in-process (the same frame pelvoro-sim runs), and writes it in the replay format.
//
//   pelvoro-solve (--stage N | --fmf FILE) [--source FILE.stage] [--beam B] [--macro M] [--max-frames F] [--out FILE]
//
// The search keeps, every M frames, the B most promising live states. Promise is the walking distance (in
// cells, through everything the player can pass) to the next waypoint of the stage source's "route:" line, and
// after the last waypoint to the goal. States that die are dropped, so a found replay clears without a death.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "media/media.h"
#include "play/playstate.h"
#include "shell/game.h"
#include "shell/scenes.h"
#include "stage/stagedata.h"
#include "play/play_frame.h"
#include "shell/archive_key.h"
#include "shell/savedata.h"
#include "stage/builtin_loader.h"

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
};

int MapBytes() { return StageWidth * StageMapRows; }

void Take(Snapshot& s) {
  s.play = Play;
  s.map.assign(StageMap, StageMap + MapBytes());
  s.objects.assign(StageObjects, StageObjects + ObjectCount);
  for (int i = 0; i < 256; i++) s.prevKeys[i] = static_cast<uint8_t>(PrevKeyState[i]);
}

void Restore(const Snapshot& s) {
  Play = s.play;
  std::memcpy(StageMap, s.map.data(), s.map.size());
  std::copy(s.objects.begin(), s.objects.end(), StageObjects);
  ObjectCount = static_cast<int>(s.objects.size());
  for (int i = 0; i < 256; i++) PrevKeyState[i] = s.prevKeys[i];
  // Only live states are kept: no blood is flying and no trap spike has killed in them.
  BloodState = 0;
  KillerKind = 0;
}

uint8_t Cell(int c, int r) { return StageMap[c * StageMapRows + r]; }

// What the player cannot walk through; breakable blocks and locks count as passable at a cost.
int CellCost(uint8_t p) {
  if (p == 3 || (p >= 4 && p <= 19) || (p >= 180 && p <= 183) || p == 191) return -1;
  if (p == 188 || (p >= 90 && p <= 92)) return 4;
  return 1;
}

std::vector<int> DistanceField(int tc, int tr) {
  int w = StageWidth, h = StageHeight;
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

std::vector<std::pair<int, int>> Waypoints;
// A waypoint written "c,r:balloon" counts only while a count balloon is carried; "c,r:hit" counts once the cell
// (c, r) has changed (a block headbutted from below), and is steered to the floor under it.
std::vector<int> NeedsBalloon;
std::vector<int> HitCell;  // -1, or the column-major index of the cell that must change
std::vector<uint8_t> FirstMap;
uint64_t Seed = 88172645463325252ULL;
std::vector<std::vector<int>> Fields;

int PlayerCellCol() { return std::clamp(static_cast<int>(Play.PlayerX + 8) / 32, 0, StageWidth - 1); }
int PlayerCellRow() { return std::clamp(static_cast<int>(Play.PlayerY + 16) / 32, 0, StageHeight - 1); }

long Score(int waypoint) {
  int c = PlayerCellCol(), r = PlayerCellRow();
  long d = Fields[waypoint][c * StageHeight + r];
  // Within a cell, prefer the side nearer the target.
  int tc = Waypoints[waypoint].first, tr = Waypoints[waypoint].second;
  float fx = std::fabs(Play.PlayerX + 8 - (32 * tc + 16)), fy = std::fabs(Play.PlayerY + 16 - (32 * tr + 16));
  return (static_cast<long>(Waypoints.size()) - waypoint) * 10000000L + d * 16 + static_cast<long>((fx + fy / 4) / 8);
}

bool Reached(int wp) {
  if (HitCell[wp] >= 0) return StageMap[HitCell[wp]] != FirstMap[HitCell[wp]];
  return PlayerCellCol() == Waypoints[wp].first && PlayerCellRow() == Waypoints[wp].second &&
         (!NeedsBalloon[wp] || Play.BalloonState == 1);
}

void Feed(const Action& a, bool pressJump) {
  std::memset(KeyState, 0, 256);
  KeyState[KeyLeft] = a.left;
  KeyState[KeyRight] = a.right;
  KeyState[KeyZ] = pressJump;
}

void Refused(const char* text) {
  std::fprintf(stderr, "%s\n", text);
  std::exit(3);
}

std::string ReadRoute(const std::string& sourcePath) {
  std::ifstream in(sourcePath);
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("route:", 0) == 0) return line.substr(6);
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  int stage = 0, beam = 2000, macro = 6, maxFrames = 20000;
  std::string source, out, fmf;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string k = argv[i], v = argv[i + 1];
    if (k == "--stage") stage = std::atoi(v.c_str());
    else if (k == "--source") source = v;
    else if (k == "--beam") beam = std::atoi(v.c_str());
    else if (k == "--macro") macro = std::atoi(v.c_str());
    else if (k == "--max-frames") maxFrames = std::atoi(v.c_str());
    else if (k == "--out") out = v;
    else if (k == "--fmf") fmf = v;
  }
  if (!fmf.empty()) stage = 1;
  if (stage < 1 || stage > 30) {
    std::fprintf(stderr, "usage: pelvoro-solve --stage N [--source FILE] [--beam B] [--macro M] [--out FILE]\n");
    return 2;
  }
  if (!fmf.empty()) {
    StageFmfOverride = fmf.c_str();
    SelectedStage = 1;
  } else {
    SetArchiveExtension("bin");
    SetArchiveKey(UnscrambleGameKey());
    SelectedStage = stage;
  }
  // Started and stepped exactly as pelvoro-sim does it, headless.
  SetFatalHandler(Refused);
  SaveDataPath = nullptr;
  SetDrawingEnabled(0);
  SeedRandom(0);
  Play.PlaySource = 0;
  SceneId = 31;
  StartBuiltinStage();
  SceneId = 100;

  FirstMap.assign(StageMap, StageMap + MapBytes());
  std::istringstream route(source.empty() ? std::string() : ReadRoute(source));
  std::string item;
  while (route >> item) {
    int c, r;
    if (std::sscanf(item.c_str(), "%d,%d", &c, &r) == 2) {
      bool hit = item.find(":hit") != std::string::npos;
      HitCell.push_back(hit ? c * StageMapRows + r : -1);
      if (hit) {
        int below = r + 1;
        while (below + 1 < StageHeight && CellCost(Cell(c, below + 1)) > 0) below++;
        r = below;
      }
      Waypoints.push_back({c, r});
      NeedsBalloon.push_back(item.find(":balloon") != std::string::npos);
    }
  }
  for (int c = 0; c < StageWidth; c++)
    for (int r = 0; r < StageHeight; r++)
      if (Cell(c, r) == 2) {
        Waypoints.push_back({c, r});
        NeedsBalloon.push_back(0);
        HitCell.push_back(-1);
      }
  for (auto& w : Waypoints) Fields.push_back(DistanceField(w.first, w.second));
  // Only the first goal cell matters as the last waypoint; drop the other goal cells.
  while (Waypoints.size() > 1 && Cell(Waypoints[Waypoints.size() - 2].first, Waypoints[Waypoints.size() - 2].second) == 2) {
    Waypoints.erase(Waypoints.end() - 2);
    NeedsBalloon.erase(NeedsBalloon.end() - 2);
    HitCell.erase(HitCell.end() - 2);
    Fields.erase(Fields.end() - 2);
  }

  std::vector<std::vector<std::pair<int, int>>> history;  // per layer: (parent, action)
  std::vector<Node> layer(1);
  Take(layer[0].snap);
  int frame = 0;
  int found = -1;
  while (frame < maxFrames && found < 0) {
    std::vector<Node> next;
    std::unordered_map<std::string, int> seen;
    for (int pi = 0; pi < static_cast<int>(layer.size()) && found < 0; pi++) {
      for (int a = 0; a < ActionCount; a++) {
        Restore(layer[pi].snap);
        int wp = layer[pi].snap.waypoint;
        bool dead = false, cleared = false;
        for (int f = 0; f < macro; f++) {
          Feed(Actions[a], Actions[a].jump && f == 0);
          RunPlayRoutines();
          CopyKeyState();
          if (Play.DeadState != 0 || Play.PlayPhase != 0) { dead = true; break; }
          if (Play.GoalReached != 0) { cleared = true; break; }
          if (wp + 1 < static_cast<int>(Waypoints.size()) && Reached(wp)) wp++;
        }
        if (dead) continue;
        Node n;
        Take(n.snap);
        n.snap.waypoint = wp;
        n.parent = pi;
        n.action = a;
        n.score = cleared ? -1 : Score(wp);
        if (cleared) {
          next.clear();
          next.push_back(std::move(n));
          found = 0;
          break;
        }
        // One state per coarse bucket of position, motion and what the map and objects look like.
        char key[160];
        unsigned mapHash = 2166136261u;
        for (uint8_t b : n.snap.map) mapHash = (mapHash ^ b) * 16777619u;
        unsigned objHash = 2166136261u;
        for (auto& o : n.snap.objects)
          objHash = (objHash ^ static_cast<unsigned>(o.State * 7 + o.Dir)) * 16777619u;
        std::snprintf(key, sizeof key, "%d %d %d %d %d %d %d %d %u %u %d%d%d %d", wp,
                      static_cast<int>(std::floor(Play.PlayerX / 4)), static_cast<int>(std::floor(Play.PlayerY / 4)),
                      static_cast<int>(std::lround(Play.PlayerVX * 2)), static_cast<int>(std::lround(Play.PlayerVY)),
                      Play.PlayerAirborne, Play.BalloonState, Play.BalloonTimer / 60, mapHash, objHash, Play.KeyHeld1,
                      Play.KeyHeld2, Play.KeyHeld3, Play.ScrollState != 0);
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
    if (static_cast<int>(next.size()) > beam) {
      // The best four fifths by promise, and a fifth drawn from the rest: distance alone punishes every jump
      // (it leads up, away from the target), so a few unpromising lines are kept alive.
      int keep = beam * 4 / 5;
      std::vector<Node> chosen;
      for (int i = 0; i < keep; i++) chosen.push_back(std::move(next[i]));
      int rest = static_cast<int>(next.size()) - keep;
      for (int k = 0; k < beam - keep; k++) {
        Seed = Seed * 6364136223846793005ULL + 1442695040888963407ULL;
        int pick = keep + static_cast<int>((Seed >> 33) % static_cast<uint64_t>(rest));
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
    if (history.size() % 50 == 0 && !layer.empty())
      std::fprintf(stderr, "frame %d: %zu states, best waypoint %d score %ld at (%.0f, %.0f)\n", frame, layer.size(),
                   layer[0].snap.waypoint, layer[0].score, layer[0].snap.play.PlayerX, layer[0].snap.play.PlayerY);
  }
  if (found < 0) {
    std::fprintf(stderr, "no replay found within %d frames\n", frame);
    if (out.empty() || history.empty()) return 1;
    out += ".partial";  // the best line of play found, for looking at where the search got stuck
  }
  // Walk the links back from the winner and write runs of identical frames.
  std::vector<int> actions;
  int idx = 0;
  for (int l = static_cast<int>(history.size()) - 1; l >= 0; l--) {
    actions.push_back(history[l][idx].second);
    idx = history[l][idx].first;
  }
  std::reverse(actions.begin(), actions.end());
  std::vector<std::string> frames;
  for (int a : actions)
    for (int f = 0; f < macro; f++) {
      std::string keys;
      if (Actions[a].left) keys += "Left";
      if (Actions[a].right) keys += "Right";
      if (Actions[a].jump && f == 0) keys += keys.empty() ? "Z" : "+Z";
      frames.push_back(keys.empty() ? "-" : keys);
    }
  std::ostringstream text;
  text << "# stage " << stage << ": found by pelvoro-solve (beam " << beam << ", macro " << macro << ")\n";
  for (size_t i = 0; i < frames.size();) {
    size_t j = i;
    while (j < frames.size() && frames[j] == frames[i]) j++;
    text << (j - i) << " " << frames[i] << "\n";
    i = j;
  }
  if (out.empty()) std::fputs(text.str().c_str(), stdout);
  else std::ofstream(out) << text.str();
  if (found < 0) return 1;
  std::fprintf(stderr, "cleared in %zu frames\n", frames.size());
  return 0;
}
