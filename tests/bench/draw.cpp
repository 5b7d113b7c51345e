// Drawing and pacing figures on the software renderer (SDL's dummy video driver):
//   1. CPU time to draw one play screen: a 640 x 480 background, 21 x 16 map cells of 32 x 32, 100 sprites,
//      four lines of edged text, and the present.
//   2. How far frame starts fall from their due times over 600 frames paced by MeasureFps / WaitFrameDue.
#include <png.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <SDL2/SDL.h>

#include "media/media.h"

namespace {

std::string WritePicture(const std::string& folder, const char* name, int w, int h, bool holes) {
  std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
      p[0] = static_cast<uint8_t>(x * 7);
      p[1] = static_cast<uint8_t>(y * 5);
      p[2] = static_cast<uint8_t>((x ^ y) * 3);
      p[3] = holes && ((x / 4 + y / 4) % 3 == 0) ? 0 : 255;
    }
  }
  std::string path = folder + "/" + name;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = w;
  image.height = h;
  image.format = PNG_FORMAT_RGBA;
  if (png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr) == 0) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
  return path;
}

double CpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

double MonotonicMs() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC_RAW, &t);  // the clock SDL_GetTicks counts
  return t.tv_sec * 1e3 + t.tv_nsec * 1e-6;
}

struct Scene {
  GraphHandle background, cells, sprites;
  FontHandle font;
};

void DrawPlayScreen(const Scene& s, int frame) {
  ClearSurface();
  DrawPicture(0, 0, s.background, 0);
  for (int c = 0; c < 21; ++c) {
    for (int r = 0; r < 16; ++r) {
      DrawPictureRegion(c * 32 - (frame % 32), r * 32, ((c + r) % 8) * 32, ((c * r) % 8) * 32, 32, 32, s.cells, 1, 0);
    }
  }
  for (int i = 0; i < 100; ++i) {
    DrawPictureRegion((i * 37 + frame) % 624, (i * 53) % 448, (i % 4) * 16, 0, 16, 32, s.sprites, 1, i % 2);
  }
  Color white = MakeColor(255, 255, 255);
  DrawTextWithFont(100, 120, u"看板：トゲに気をつけて進もう", white, s.font, 0, 0);
  DrawTextWithFont(100, 145, u"Zキーでジャンプ、Tabでポーズ", white, s.font, 0, 0);
  DrawFormattedTextWithFont(100, 170, white, s.font, u"ステージ %2d  残り %d", frame % 30 + 1, frame);
  DrawTextWithFont(100, 195, u"セーブブロックから再開します", white, s.font, 0, 0);
  PresentFrame();
}

// SDL_GetTicks counts whole milliseconds of CLOCK_MONOTONIC_RAW from an unknown origin; this finds the origin to
// a few microseconds by watching the count change.
double TicksOriginMs() {
  double low = -1e300, high = 1e300;
  double until = MonotonicMs() + 5;
  while (MonotonicMs() < until) {
    double before = MonotonicMs();
    double ticks = static_cast<double>(SDL_GetTicks64());
    double after = MonotonicMs();
    low = std::max(low, before - (ticks + 1));
    high = std::min(high, after - ticks);
  }
  return (low + high) / 2;
}

void Report(const char* what, std::vector<double> values) {
  std::sort(values.begin(), values.end());
  double sum = 0;
  for (double v : values) sum += v;
  size_t p99 = std::min(values.size() - 1, values.size() * 99 / 100);
  std::printf("%-40s mean %7.3f ms  median %7.3f ms  p99 %7.3f ms  max %7.3f ms  (n=%zu)\n", what,
              sum / values.size(), values[values.size() / 2], values[p99], values.back(), values.size());
}

}  // namespace

int main() {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("PELVORO_NO_MESSAGEBOX", "1", 0);
  std::string folder = (std::filesystem::temp_directory_path() / "pelvoro-bench-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) return 1;
  SetDrawingSurface(800, 600, 32, 60);
  SetWindowClientSize(640, 480);
  if (InitMedia() != 0) return 1;
  double load[3] = {0, 0, 0};
  if (getloadavg(load, 3) < 0) load[0] = -1;
  std::printf("video driver %s, load average %.2f (timing figures suffer on a busy machine)\n",
              SDL_GetCurrentVideoDriver(), load[0]);

  Scene scene;
  scene.background = LoadPicture(WritePicture(folder, "bg.png", 640, 480, false).c_str());
  scene.cells = LoadPicture(WritePicture(folder, "cells.png", 256, 256, true).c_str());
  scene.sprites = LoadPicture(WritePicture(folder, "girl.png", 64, 32, true).c_str());
  scene.font = MakeFont(20, -1, FontEdge, -1);
  if (scene.background < 0 || scene.cells < 0 || scene.sprites < 0 || scene.font < 0) return 1;

  for (int i = 0; i < 30; ++i) DrawPlayScreen(scene, i);  // glyph cache and textures warm
  std::vector<double> cpu;
  for (int i = 0; i < 600; ++i) {
    double t0 = CpuSeconds();
    DrawPlayScreen(scene, i);
    cpu.push_back((CpuSeconds() - t0) * 1e3);
  }
  Report("play screen draw + present, CPU time", cpu);

  double origin = TicksOriginMs();
  std::vector<double> lateness;
  FpsFrameCount = 0;
  for (int i = 0; i < 600; ++i) {
    MeasureFps();
    DrawPlayScreen(scene, i);
    WaitFrameDue();
    double now = MonotonicMs();
    double due = origin + FpsWindowStart + FpsFrameCount * 1000 / 60;
    lateness.push_back(now - due);
  }
  std::vector<double> absolute;
  for (double v : lateness) absolute.push_back(v < 0 ? -v : v);
  Report("frame start vs due time, |deviation|", absolute);
  double early = *std::min_element(lateness.begin(), lateness.end());
  std::printf("earliest frame start %.3f ms relative to its due time; measured rate %.2f fps\n", early, MeasuredFps);

  FreeAllFonts();
  FreeAllPictures();
  EndMedia();
  std::filesystem::remove_all(folder);
  return 0;
}
