// pelvoro-solve: finds a replay that clears a built-in stage, by the beam search over held keys that runs the
// game's own play routines in-process (play/clear_search, shared with the editor's clear check; the same frame
// pelvoro-sim runs), and writes it in the replay format.
//
//   pelvoro-solve (--stage N | --fmf FILE) [--source FILE.stage] [--beam B] [--macro M] [--max-frames F] [--out FILE]
//
// The search keeps, every M frames, the B most promising live states. Promise is the walking distance (in
// cells, through everything the player can pass) to the next waypoint of the stage source's "route:" line, and
// after the last waypoint to the goal. States that die are dropped, so a found replay clears without a death.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "media/media.h"
#include "play/clear_search.h"
#include "play/playstate.h"
#include "shell/archive_key.h"
#include "shell/game.h"
#include "shell/savedata.h"
#include "shell/scenes.h"
#include "stage/builtin_loader.h"

namespace {

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

  std::vector<RouteWaypoint> route = ParseRoute(source.empty() ? std::string() : ReadRoute(source));
  AppendGoalWaypoint(&route);
  ClearSearchSettings settings;
  settings.Beam = beam;
  settings.Macro = macro;
  settings.MaxFrames = maxFrames;
  int steps = 0;
  ClearSearchResult result = SearchClearReplay(route, settings, [&](const ClearSearchProgress& p) {
    if (++steps % 50 == 0)
      std::fprintf(stderr, "frame %d: %d states, best waypoint %d distance %d at (%.0f, %.0f)\n", p.Frame, p.States,
                   p.BestWaypoint, p.Distance, p.X, p.Y);
    return true;
  });
  if (!result.Found) {
    std::fprintf(stderr, "no replay found within %d frames\n", static_cast<int>(result.Frames.size()));
    if (out.empty() || result.Frames.empty()) return 1;
    out += ".partial";  // the best line of play found, for looking at where the search got stuck
  }
  std::string text = SearchFramesToReplayText(
      result.Frames, "stage " + std::to_string(stage) + ": found by pelvoro-solve (beam " + std::to_string(beam) +
                         ", macro " + std::to_string(macro) + ")");
  if (out.empty()) std::fputs(text.c_str(), stdout);
  else std::ofstream(out) << text;
  if (!result.Found) return 1;
  std::fprintf(stderr, "cleared in %zu frames\n", result.Frames.size());
  return 0;
}
