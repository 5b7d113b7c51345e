// The game's command line: --scale N and --fullscreen start the window bigger than the 640 x 480 picture.
#include "shell/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "media/media.h"

namespace {

constexpr int MaxScale = 16;

constexpr char UsageText[] =
    "usage: pelvoro [--scale N] [--fullscreen]\n"
    "  --scale N     start with a window N times the 640 x 480 picture (N 1..16)\n"
    "  --fullscreen  start in borderless fullscreen (Alt+Enter switches back and forth)\n"
    "  --help        print this help\n";

int Mistake(const std::string& what) {
  std::fprintf(stderr, "pelvoro: %s\nusage: pelvoro [--scale N] [--fullscreen]\n", what.c_str());
  return 2;
}

bool ParseScale(const char* text, int* out) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 1 || value > MaxScale) return false;
  *out = static_cast<int>(value);
  return true;
}

}  // namespace

int ApplyCommandLine(int argc, char** argv) {
  int scale = 1;
  bool fullscreen = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(UsageText, stdout);
      return 0;
    }
    if (arg == "--fullscreen") {
      fullscreen = true;
    } else if (arg == "--scale" || arg.rfind("--scale=", 0) == 0) {
      const char* value = arg == "--scale" ? (i + 1 < argc ? argv[++i] : nullptr) : argv[i] + 8;
      if (value == nullptr) return Mistake("--scale needs a number");
      if (!ParseScale(value, &scale)) return Mistake("--scale takes a whole number 1..16, not " + std::string(value));
    } else {
      return Mistake("unknown argument " + arg);
    }
  }
  SetWindowScale(scale);
  SetFullscreenDesktop(fullscreen ? 1 : 0);
  return -1;
}
