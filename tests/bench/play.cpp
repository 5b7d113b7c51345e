// Play speed: frames per second of the play routines with drawing off on a generated stage with 100 moving
// spikes (the rate at which stages can be proved by search), and the CPU time of one drawn play frame.
//
// usage: pelvoro-bench-play [FRAMES]   (run from the build folder so that data.bin is found for the drawn part)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "media/media.h"
#include "play/play_frame.h"
#include "play/playstate.h"
#include "shell/archive_key.h"
#include "shell/assets.h"
#include "shell/game.h"
#include "shell/savedata.h"
#include "stage/scan.h"
#include "stage/stagedata.h"

namespace {

void Put(int c, int r, int id) { StageMap[c * StageMapRows + r] = static_cast<uint8_t>(id); }

// Ten screens wide, three high: the girl on a floor in the first screen, and on the screens to her right
// 60 bouncing spikes under the floor, 20 roving spikes steered by turners and 20 trap spikes whose
// trigger she touches at once.
void BuildStage() {
  std::memset(StageMap, 0, sizeof StageMap);
  StageWidth = 200;
  StageHeight = 45;
  for (int c = 0; c < 200; ++c) {
    Put(c, 14, 3);
    Put(c, 0, 190);
    Put(c, 44, 3);
  }
  Put(2, 13, 1);
  Put(190, 13, 2);
  Put(3, 13, 96);  // trigger of group 1, slow, left
  int objects = 0;
  for (int i = 0; i < 60; ++i, ++objects) Put(25 + (i % 15) * 10, 20 + (i / 15) * 5, 189);
  for (int i = 0; i < 20; ++i, ++objects) {
    const int c = 30 + i * 8, r = 2;
    Put(c, r, 161);  // roving right, turned down, left, up around a square
    Put(c + 4, r, 171);
    Put(c + 4, r + 4, 168);
    Put(c, r + 4, 170);
    Put(c, r - 1, 169);
  }
  for (int i = 0; i < 20; ++i, ++objects) Put(40 + i * 7, 5, 20);
  Play = PlayState{};
  GoalPlaced = 1;
  ScanStage(StageMap, StageWidth, StageHeight);
  if (ObjectCount != objects) std::fprintf(stderr, "expected %d objects, got %d\n", objects, ObjectCount);
  Play.RespawnX = Play.StartX;
  Play.RespawnY = Play.StartY;
}

// The keys of frame f: walking to and fro on the first screen and jumping now and then.
void KeysOfFrame(long f) {
  std::memset(KeyState, 0, sizeof KeyState);
  KeyState[(f / 90) % 2 == 0 ? KeyRight : KeyLeft] = 1;
  if (f % 70 < 3) KeyState[KeyZ] = 1;
}

double Seconds() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

}  // namespace

int main(int argc, char** argv) {
  const long frames = argc > 1 ? std::atol(argv[1]) : 1000000;
  SaveDataPath = nullptr;
  SceneId = 100;

  // Drawing off: the whole stage, then the girl alone (the same stage with its object table emptied).
  SetDrawingEnabled(0);
  for (int withObjects = 1; withObjects >= 0; --withObjects) {
    BuildStage();
    if (!withObjects) ObjectCount = 0;
    const int objects = ObjectCount;
    const double start = Seconds(), cpuStart = CpuSeconds();
    for (long f = 0; f < frames; ++f) {
      KeysOfFrame(f);
      RunPlayRoutines();
      CopyKeyState();
    }
    const double elapsed = Seconds() - start, cpu = CpuSeconds() - cpuStart;
    // CPU time too: on a machine busy with other work the wall clock says little.
    std::printf("play frames, drawing off, %3d objects: %ld frames in %.3f s = %.0f frames/s (%.2f us/frame); "
                "%.0f frames per CPU second\n",
                objects, frames, elapsed, frames / elapsed, elapsed / frames * 1e6, frames / cpu);
    if (Play.PlayPhase != 0) std::printf("  (the girl died on the way: the figure includes the game-over screen)\n");
  }

  // One drawn frame: the real renderer (SDL's dummy video driver unless a display is asked for).
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  SetArchiveExtension("bin");
  SetArchiveKey(UnscrambleGameKey());
  SetDrawingSurface(800, 600, 32, 60);
  SetWindowNotScaled();
  SetWindowClientSize(640, 480);
  if (InitMedia() != 0) {
    std::printf("drawn frame: the media layer did not start\n");
    return 0;
  }
  SetDrawTargetBack();
  ImgGirl = LoadPicture("data\\texture\\girl.png");
  ImgMapParts = LoadPicture("data\\texture\\mapparts.png");
  ImgCountBalloon = LoadPicture("data\\texture\\countballoon.png");
  ImgBg01 = LoadPicture("data\\texture\\bg01.png");
  if (ImgMapParts == -1 || ImgBg01 == -1) std::printf("  (pictures missing: run from the build folder)\n");
  BuildStage();
  BackgroundNo = 1;
  SetDrawingEnabled(1);
  const int drawn = 2000;
  for (int present = 0; present <= 1; ++present) {
    const double cpuStart = CpuSeconds();
    for (int f = 0; f < drawn; ++f) {
      KeysOfFrame(f);
      ClearSurface();
      RunPlayRoutines();
      CopyKeyState();
      if (present) PresentFrame();  // the renderer may defer its work to the present
    }
    const double cpu = CpuSeconds() - cpuStart;
    std::printf("drawn play frame (%s present): %.1f us CPU per frame over %d frames\n",
                present ? "with" : "without", cpu / drawn * 1e6, drawn);
  }
  EndMedia();
  return 0;
}
