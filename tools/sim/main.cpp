// pelvoro-sim: plays one stage headless, one play frame per replay frame, and prints a trace and a summary.
//
//   pelvoro-sim (--stage N | --fmf FILE [--text FILE] | --set FILE --index T) [--replay FILE] [--frames N]
//               [--seed S] [--trace] [--objects]     (options anywhere; --help)
//
// Exit status: 0 after a run, 2 for bad arguments or a file that cannot be read, 3 when the game itself
// would refuse the stage (its message is printed).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/tool_args.h"
#include "media/media.h"
#include "media/replay.h"
#include "play/play_frame.h"
#include "play/playstate.h"
#include "shell/archive_key.h"
#include "shell/game.h"
#include "shell/savedata.h"
#include "shell/scenes.h"
#include "stage/builtin_loader.h"
#include "stage/custom_stage.h"
#include "stage/stagedata.h"

namespace {

constexpr char UsageText[] =
    "usage: pelvoro-sim (--stage N | --fmf FILE [--text FILE] | --set FILE --index T) [--replay FILE] [--frames N] "
    "[--seed S] [--trace] [--objects]\n";

constexpr char HelpText[] =
    "Plays one stage headless, one play frame per replay frame; prints a trace and a result line.\n"
    "Options may stand anywhere on the command line.\n"
    "  --stage N       built-in stage N (1..30) from data.bin in the working directory\n"
    "  --fmf FILE      a plain FMF map under the built-in rules; --text FILE adds its stage text\n"
    "  --set FILE      a stage-set file under the custom rules; --index T (0..29) picks the stage\n"
    "  --replay FILE   the key states to play (none: no key down)\n"
    "  --frames N      frames to run (default: the replay's length)\n"
    "  --seed S        seed of the game's random numbers (default: PELVORO_SEED, else 0)\n"
    "  --trace         print one line of play state per frame; --objects adds the stage objects\n"
    "  --help          print this help\n"
    "Exit status: 0 after a run, 2 for bad arguments or an unreadable file, 3 when the game refuses the stage.\n";

[[noreturn]] void Usage(const std::string& problem) { std::exit(ToolUsageError("pelvoro-sim", problem, UsageText)); }

void RefusedStage(const char* text) {
  std::fprintf(stderr, "%s\n", text);
  std::exit(3);
}

void PrintTraceLine(int frame, bool objects) {
  const PlayState& p = Play;
  std::printf(
      "{\"frame\":%d,\"PlayerX\":%.9g,\"PlayerY\":%.9g,\"PlayerVX\":%.9g,\"PlayerVY\":%.9g,\"PlayerAirborne\":%d,"
      "\"PlayerOnIce\":%d,\"PlayerFacing\":%d,\"DeadState\":%d,\"GoalReached\":%d,\"PlayPhase\":%d,\"Paused\":%d,"
      "\"ScrollX\":%d,\"ScrollY\":%d,\"ScrollState\":%d,\"BalloonState\":%d,\"BalloonTimer\":%d,\"KeyHeld1\":%d,"
      "\"KeyHeld2\":%d,\"KeyHeld3\":%d,\"RespawnX\":%.9g,\"RespawnY\":%.9g,\"SignboardShown\":%d",
      frame, p.PlayerX, p.PlayerY, p.PlayerVX, p.PlayerVY, p.PlayerAirborne, p.PlayerOnIce, p.PlayerFacing,
      p.DeadState, p.GoalReached, p.PlayPhase, p.Paused, p.ScrollX, p.ScrollY, p.ScrollState, p.BalloonState,
      p.BalloonTimer, p.KeyHeld1, p.KeyHeld2, p.KeyHeld3, p.RespawnX, p.RespawnY, p.SignboardShown);
  if (objects) {
    std::fputs(",\"objects\":[", stdout);
    for (int i = 0; i < ObjectCount; ++i) {
      const StageObject& o = StageObjects[i];
      std::printf("%s{\"Kind\":%d,\"State\":%d,\"Dir\":%d,\"X\":%.9g,\"Y\":%.9g,\"VX\":%.9g,\"VY\":%.9g,"
                  "\"PixelX\":%d,\"PixelY\":%d}",
                  i == 0 ? "" : ",", o.Kind, o.State, o.Dir, o.X, o.Y, o.VX, o.VY, o.PixelX, o.PixelY);
    }
    std::fputs("]", stdout);
  }
  std::fputs("}\n", stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const ToolArgs args =
      ParseToolArgs(argc, argv, {"--stage", "--fmf", "--text", "--replay", "--frames", "--seed", "--set", "--index"},
                    {"--trace", "--objects"});
  if (!args.Error.empty()) Usage(args.Error);
  if (args.Help) {
    std::fputs(UsageText, stdout);
    std::fputs(HelpText, stdout);
    return 0;
  }
  if (!args.Positional.empty()) Usage("unknown argument " + args.Positional[0]);
  const bool haveStage = args.Has("--stage"), haveSeed = args.Has("--seed");
  const bool trace = args.Has("--trace"), objects = args.Has("--objects");
  const char* fmf = args.Value("--fmf");
  const char* text = args.Value("--text");
  const char* replayPath = args.Value("--replay");
  const char* set = args.Value("--set");
  long long stage = 0, frames = -1, seed = 0, index = -1;
  if (haveStage && !ParseToolNumber(args.Value("--stage"), -1000000, 1000000, &stage))
    Usage("--stage needs a stage number");
  if (args.Has("--frames") && !ParseToolNumber(args.Value("--frames"), 0, 1000000000, &frames))
    Usage("--frames needs a count of 0 or more");
  if (haveSeed && !ParseToolNumber(args.Value("--seed"), 0, 0xFFFFFFFFLL, &seed))
    Usage("--seed needs a number 0..4294967295");
  if (args.Has("--index") && !ParseToolNumber(args.Value("--index"), 0, CustomStageCount - 1, &index))
    Usage("--index needs a stage index 0..29");
  if (int(haveStage) + int(fmf != nullptr) + int(set != nullptr) != 1)
    Usage("give exactly one of --stage N, --fmf FILE and --set FILE");
  if (text != nullptr && fmf == nullptr) Usage("--text goes with --fmf");
  if ((set != nullptr) != (index >= 0)) Usage("--set FILE and --index T go together");

  Replay replay;
  if (replayPath != nullptr) {
    std::ifstream in(replayPath, std::ios::binary);
    if (!ReadablePlainFile(replayPath) || !in) Usage(std::string("cannot read the replay ") + replayPath);
    std::stringstream all;
    all << in.rdbuf();
    if (in.bad()) Usage(std::string("cannot read the replay ") + replayPath);
    std::string error;
    if (!LoadReplay(all.str(), &replay, &error)) Usage(std::string(replayPath) + ": " + error);
  }
  if (frames < 0) frames = replay.FrameCount;

  if (set != nullptr) {
    if (!ReadablePlainFile(set)) Usage(std::string("cannot read ") + set);
  } else if (fmf != nullptr) {
    if (!ReadablePlainFile(fmf)) Usage(std::string("cannot read ") + fmf);
    if (text != nullptr && !ReadablePlainFile(text)) Usage(std::string("cannot read ") + text);
    StageFmfOverride = fmf;
    StageTextOverride = text;
    SelectedStage = 1;
  } else {
    if (!ReadablePlainFile("data.bin")) Usage("cannot read data.bin in the working directory");
    SetArchiveExtension("bin");
    SetArchiveKey(UnscrambleGameKey());
    SelectedStage = static_cast<int>(stage);
  }

  // Headless: no window, sound, box or save file; drawing off.
  SetFatalHandler(RefusedStage);
  SaveDataPath = nullptr;
  SetDrawingEnabled(0);
  if (haveSeed) {
    SeedRandom(static_cast<uint32_t>(seed));
  } else if (const char* env = std::getenv("PELVORO_SEED")) {
    SeedRandom(static_cast<uint32_t>(std::strtoul(env, nullptr, 10)));
  } else {
    SeedRandom(0);
  }

  if (set != nullptr) {
    // The custom road: the load of the main menu, then the start of scene 51.
    const StageSetReadResult loaded = LoadCustomSetFile(set);
    if (loaded == StageSetCannotOpen) Usage(std::string("cannot read ") + set);
    if (loaded == StageSetRefused) RefusedStage(StageLoadFailedMessage);
    Play.PlaySource = 1;
    CustomStageIndex = static_cast<int>(index);
    BackgroundNo = 1;
    SceneId = 51;
    if (const char* refusal = StartCustomStage()) RefusedStage(refusal);
  } else {
    Play.PlaySource = 0;
    SceneId = 31;
    StartBuiltinStage();
  }
  SceneId = 100;

  long long frame = 0, clearFrame = 0;
  int deaths = 0;
  while (frame < frames) {
    // Frames past the replay's end have no key down.
    ReplayKeyState(replay, static_cast<long>(frame), KeyState);
    const int phaseBefore = Play.PlayPhase;
    const int goalBefore = Play.GoalReached;
    RunPlayRoutines();
    CopyKeyState();
    ++frame;
    if (Play.PlayPhase == 1 && phaseBefore != 1) ++deaths;
    if (clearFrame == 0 && goalBefore == 0 && Play.GoalReached != 0) clearFrame = frame;
    if (trace) PrintTraceLine(static_cast<int>(frame), objects);
    if (SceneId != 100) break;
  }
  if (clearFrame != 0)
    std::printf("result: cleared frame=%lld deaths=%d\n", clearFrame, deaths);
  else
    std::printf("result: not-cleared frames=%lld deaths=%d\n", frame, deaths);
  return 0;
}
