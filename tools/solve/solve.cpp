// pelvoro-solve: finds a replay that clears a built-in stage, by the beam search over held keys that runs the
// game's own play routines in-process (play/clear_search, shared with the editor's clear check; the same frame
// pelvoro-sim runs), and writes it in the replay format.
//
//   pelvoro-solve (--stage N | --fmf FILE) [--source FILE.stage] [--beam B] [--macro M] [--max-frames F] [--out FILE]
//   (options anywhere; --help)
//
// The search keeps, every M frames, the B most promising live states. Promise is the walking distance (in
// cells, through everything the player can pass) to the next waypoint of the stage source's "route:" line, and
// after the last waypoint to the goal. States that die are dropped, so a found replay clears without a death.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <tuple>

#include "common/tool_args.h"
#include "media/media.h"
#include "play/clear_search.h"
#include "play/playstate.h"
#include "shell/archive_key.h"
#include "shell/game.h"
#include "shell/savedata.h"
#include "shell/scenes.h"
#include "stage/builtin_loader.h"

namespace {

constexpr char UsageText[] =
    "usage: pelvoro-solve (--stage N | --fmf FILE) [--source FILE.stage] [--beam B] [--macro M] [--max-frames F] "
    "[--out FILE]\n";

constexpr char HelpText[] =
    "Searches a replay that clears a stage by running the game's own play routines; writes it in the replay format.\n"
    "Options may stand anywhere on the command line.\n"
    "  --stage N          built-in stage N (1..30) from data.bin in the working directory\n"
    "  --fmf FILE         a plain FMF map instead\n"
    "  --source FILE      the stage source whose \"route:\" line gives the waypoints\n"
    "  --beam B           states kept every step (default 2000)\n"
    "  --macro M          frames a step holds its keys (default 6)\n"
    "  --max-frames F     give up after F frames (default 20000)\n"
    "  --out FILE         write the replay there (default: standard output); a failed search writes FILE.partial\n"
    "  --help             print this help\n"
    "Exit status: 0 when a replay is found, 1 when none is, 2 for bad arguments, 3 when the game refuses the stage.\n";

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
  const ToolArgs args = ParseToolArgs(argc, argv, {"--stage", "--fmf", "--source", "--beam", "--macro", "--max-frames", "--out"}, {});
  if (!args.Error.empty()) return ToolUsageError("pelvoro-solve", args.Error, UsageText);
  if (args.Help) {
    std::fputs(UsageText, stdout);
    std::fputs(HelpText, stdout);
    return 0;
  }
  if (!args.Positional.empty()) return ToolUsageError("pelvoro-solve", "unknown argument " + args.Positional[0], UsageText);
  if (args.Has("--stage") == args.Has("--fmf"))
    return ToolUsageError("pelvoro-solve", "give exactly one of --stage N and --fmf FILE", UsageText);
  int stage = 1, beam = 2000, macro = 6, maxFrames = 20000;
  const std::string fmf = args.Has("--fmf") ? args.Value("--fmf") : "";
  const std::string source = args.Has("--source") ? args.Value("--source") : "";
  std::string out = args.Has("--out") ? args.Value("--out") : "";
  for (auto [option, value, low, high] : {std::tuple{"--stage", &stage, 1, 30}, {"--beam", &beam, 1, 1000000},
                                          {"--macro", &macro, 1, 600}, {"--max-frames", &maxFrames, 1, 10000000}}) {
    if (!args.Has(option)) continue;
    long long number = 0;
    if (!ParseToolNumber(args.Value(option), low, high, &number))
      return ToolUsageError("pelvoro-solve", std::string(option) + " takes " + std::to_string(low) + ".." +
                                                 std::to_string(high), UsageText);
    *value = static_cast<int>(number);
  }
  if (!fmf.empty() && !ReadablePlainFile(fmf)) return ToolUsageError("pelvoro-solve", "cannot read " + fmf, UsageText);
  if (!source.empty() && !ReadablePlainFile(source))
    return ToolUsageError("pelvoro-solve", "cannot read " + source, UsageText);
  if (fmf.empty() && !ReadablePlainFile("data.bin"))
    return ToolUsageError("pelvoro-solve", "cannot read data.bin in the working directory", UsageText);
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
  if (out.empty()) {
    std::fputs(text.c_str(), stdout);
  } else if (!ReplaceFileAtomically(out, text.data(), text.size())) {  // never half a replay
    std::fprintf(stderr, "pelvoro-solve: cannot write %s\n", out.c_str());
    return 2;
  }
  if (!result.Found) return 1;
  std::fprintf(stderr, "cleared in %zu frames\n", result.Frames.size());
  return 0;
}
