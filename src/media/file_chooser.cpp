// ChooseFile: the desktop's own chooser (zenity, then kdialog) where one can be run, else the chooser the game
// draws itself. PELVORO_FILE_CHOOSER=zenity|kdialog|builtin forces one.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "media/chooser.h"
#include "media/internal.h"

using namespace media;

namespace {

// The native choosers to try, in order, before the in-game one.
std::vector<std::string> NativeChooserOrder() {
  const char* forced = std::getenv("PELVORO_FILE_CHOOSER");
  if (forced == nullptr || *forced == '\0') return {"zenity", "kdialog"};
  if (std::strcmp(forced, "zenity") == 0 || std::strcmp(forced, "kdialog") == 0) return {forced};
  if (std::strcmp(forced, "builtin") == 0) return {};
  std::fprintf(stderr, "PELVORO_FILE_CHOOSER=%s: not zenity, kdialog or builtin; trying them in that order\n", forced);
  return {"zenity", "kdialog"};
}

}  // namespace

bool ChooseFile(int purpose, std::string* path) {
  if (path == nullptr || Window == nullptr) return false;
  std::string chosen;
  ChooserOutcome outcome = ChooserUnavailable;
  for (const std::string& program : NativeChooserOrder()) {
    outcome = RunNativeChooser(program, purpose, &chosen);
    if (outcome != ChooserUnavailable) break;
  }
  // A native chooser had the keyboard: the game never saw the release of the Enter that opened it, so its
  // key states are stale and would hide the player's next Enter.
  if (outcome != ChooserUnavailable) ForgetKeyStates();
  else outcome = RunBuiltinChooser(purpose, &chosen);
  // Keys held when the chooser closes (the Enter that chose, the X that cancelled) are not new presses for
  // the game.
  HoldKeysUntilReleased();
  if (outcome != ChooserChosen) return false;
  *path = chosen;
  return true;
}
