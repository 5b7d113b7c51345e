// Parser of the replay text format shared by the stage runner and the tests.
#include "replay_file.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "media/media.h"

namespace {

struct KeyName {
  const char* Name;
  uint8_t Code;
};
const KeyName KeyNames[] = {
    {"Left", KeyLeft}, {"Right", KeyRight}, {"Up", KeyUp}, {"Down", KeyDown}, {"Z", KeyZ},   {"X", KeyX},
    {"S", KeyS},       {"D", KeyD},         {"R", KeyR},   {"Tab", KeyTab},   {"Enter", KeyEnter}, {"Esc", KeyEsc},
};

bool KeyCode(const std::string& name, uint8_t* code) {
  for (const KeyName& k : KeyNames) {
    if (name == k.Name) {
      *code = k.Code;
      return true;
    }
  }
  return false;
}

}  // namespace

bool ParseReplay(const std::string& text, std::vector<ReplayRun>* runs, std::string* error) {
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    std::istringstream words(line);
    std::string count, keys;
    if (!(words >> count) || count[0] == '#') continue;  // blank or comment
    char* end = nullptr;
    const long frames = std::strtol(count.c_str(), &end, 10);
    if (*end != '\0' || frames < 0 || frames > 100000000 || !(words >> keys)) {
      *error = "replay line " + std::to_string(lineNo) + ": expected a frame count and keys";
      return false;
    }
    ReplayRun run{static_cast<int>(frames), {}};
    if (keys != "-") {
      std::string::size_type start = 0;
      while (start <= keys.size()) {
        const std::string::size_type plus = keys.find('+', start);
        const std::string name = keys.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        uint8_t code = 0;
        if (!KeyCode(name, &code)) {
          *error = "replay line " + std::to_string(lineNo) + ": unknown key \"" + name + "\"";
          return false;
        }
        run.Keys.push_back(code);
        if (plus == std::string::npos) break;
        start = plus + 1;
      }
    }
    runs->push_back(std::move(run));
  }
  return true;
}
