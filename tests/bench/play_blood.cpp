// Play speed with blood running: frames per second of the play routines with drawing off on a stage with
// 100 moving spikes, through lives that end in a give-up and a game over whose 512 blood drops fly and settle
// (the spikes' steps still run then, frozen).
//
// usage: pelvoro-bench-play_blood [FRAMES]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "media/media.h"
#include "play/play_frame.h"
#include "play/playstate.h"
#include "shell/game.h"
#include "shell/savedata.h"
#include "stage/scan.h"
#include "stage/stagedata.h"

namespace {

void Put(int c, int r, int id) { StageMap[c * StageMapRows + r] = static_cast<uint8_t>(id); }

// The girl on a floor near the left edge; to her right 40 bouncing spikes between the floors of the lower
// screens, 30 roving spikes going round squares of turners and 30 trap spikes that her trigger sets off.
void BuildStage() {
  std::memset(StageMap, 0, sizeof StageMap);
  StageWidth = 200;
  StageHeight = 45;
  for (int c = 0; c < 200; ++c) {
    Put(c, 14, 3);
    Put(c, 29, 3);
    Put(c, 44, 3);
  }
  Put(2, 13, 1);
  Put(190, 13, 2);
  Put(3, 13, 97);  // trigger of group 1, slow, right
  int objects = 0;
  for (int i = 0; i < 40; ++i, ++objects) Put(20 + (i % 20) * 9, 18 + (i / 20) * 15, 189);
  for (int i = 0; i < 30; ++i, ++objects) {
    const int c = 20 + i * 5, r = 2;
    Put(c, r, 161);
    Put(c + 3, r, 171);
    Put(c + 3, r + 3, 168);
    Put(c, r + 3, 170);
    Put(c, r - 1, 169);
  }
  for (int i = 0; i < 30; ++i, ++objects) Put(30 + i * 5, 9, 21);
  Play = PlayState{};
  GoalPlaced = 1;
  ScanStage(StageMap, StageWidth, StageHeight);
  if (ObjectCount != objects) std::fprintf(stderr, "expected %d objects, got %d\n", objects, ObjectCount);
}

double Seconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);  // CPU time: the figure should not depend on other load
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

void Report(const char* what, long frames, double elapsed) {
  std::printf("%-62s %7ld frames in %.3f s = %.0f frames/s (%.2f us/frame)\n", what, frames, elapsed,
              frames / elapsed, elapsed / frames * 1e6);
}


// One life of the measurement: alive for aliveFrames with the girl walking and the spikes moving, then a
// give-up and the game over with its blood for deadFrames; the stage is built afresh for every life.
double RunLives(long frames, int aliveFrames, int deadFrames, int objects) {
  const double start = Seconds();
  long f = 0;
  while (f < frames) {
    BuildStage();
    if (objects == 0) ObjectCount = 0;
    BloodState = 0;
    for (int i = 0; i < aliveFrames + deadFrames && f < frames; ++i, ++f) {
      std::memset(KeyState, 0, sizeof KeyState);
      KeyState[(f / 90) % 2 == 0 ? KeyRight : KeyLeft] = 1;
      if (i == aliveFrames) Play.DeadState = 5;
      RunPlayRoutines();
      CopyKeyState();
    }
  }
  return Seconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
  const long frames = argc > 1 ? std::atol(argv[1]) : 1000000;
  SaveDataPath = nullptr;
  SceneId = 100;
  SetDrawingEnabled(0);
  SeedRandom(1);

  Report("alive, 100 spikes moving:", frames, RunLives(frames, 600, 0, 100));
  Report("lives of 300 frames alive + 300 frames of blood, 100 spikes:", frames, RunLives(frames, 300, 300, 100));
  Report("game over only, fresh blood every 300 frames, 100 spikes:", frames, RunLives(frames, 0, 300, 100));
  Report("game over only, fresh blood every 300 frames, no spikes:", frames, RunLives(frames, 0, 300, 0));
  // A game-over screen left standing for minutes: the resting drops' sideways speed decays into subnormal
  // floats after about 7000 frames, which the processor handles slowly.
  Report("game over left standing for 20000 frames, 100 spikes:", 20000, RunLives(20000, 0, 20000, 100));
  return 0;
}
