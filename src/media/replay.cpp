// The replay text format and its key feed.
#include "media/replay.h"

#include <cctype>
#include <sstream>

#include "media/media.h"

namespace {

struct KeyName {
  const char* name;
  int code;
};

constexpr KeyName KeyNames[] = {
    {"Left", KeyLeft}, {"Right", KeyRight}, {"Up", KeyUp},   {"Down", KeyDown}, {"Z", KeyZ},     {"X", KeyX},
    {"S", KeyS},       {"D", KeyD},         {"R", KeyR},     {"Tab", KeyTab},   {"Enter", KeyEnter}, {"Esc", KeyEsc},
};

// A replay far longer than any stage would take (about 46 hours) is a typo, not a plan.
constexpr long MaxFrames = 10'000'000;

std::vector<ReplayFrame> Playing;
size_t PlayPosition = 0;

bool FeedReplay(uint8_t state[256]) {
  if (PlayPosition >= Playing.size()) return false;
  for (int k = 0; k < 256; ++k) state[k] = Playing[PlayPosition][k];
  ++PlayPosition;
  return true;
}

}  // namespace

int ReplayKeyCode(const std::string& name) {
  for (const KeyName& key : KeyNames) {
    std::string known = key.name;
    if (known.size() != name.size()) continue;
    bool same = true;
    for (size_t i = 0; i < known.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(known[i])) != std::tolower(static_cast<unsigned char>(name[i])))
        same = false;
    }
    if (same) return key.code;
  }
  return 0;
}

bool LoadReplay(const std::string& text, std::vector<ReplayFrame>* frames, std::string* error) {
  frames->clear();
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  long total = 0;
  auto fail = [&](const std::string& why) {
    if (error != nullptr) *error = "line " + std::to_string(number) + ": " + why;
    frames->clear();
    return false;
  };
  while (std::getline(lines, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream fields(line);
    std::string count, keys, extra;
    if (!(fields >> count)) continue;  // blank or comment only
    if (!(fields >> keys)) return fail("a frame count needs its keys (\"-\" for none)");
    if (fields >> extra) return fail("unexpected \"" + extra + "\" after the keys");
    for (char c : count) {
      if (!std::isdigit(static_cast<unsigned char>(c))) return fail("\"" + count + "\" is not a frame count");
    }
    if (count.size() > 9 || total + std::stol(count) > MaxFrames) return fail("too many frames");
    long repeat = std::stol(count);
    ReplayFrame frame{};
    if (keys != "-") {
      size_t start = 0;
      while (start <= keys.size()) {
        size_t plus = keys.find('+', start);
        std::string name = keys.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        int code = ReplayKeyCode(name);
        if (code == 0) return fail("unknown key \"" + name + "\"");
        frame[code] = 1;
        if (plus == std::string::npos) break;
        start = plus + 1;
      }
    }
    frames->insert(frames->end(), static_cast<size_t>(repeat), frame);
    total += repeat;
  }
  return true;
}

void StartReplay(std::vector<ReplayFrame> frames) {
  Playing = std::move(frames);
  PlayPosition = 0;
  SetKeyFeed(FeedReplay);
}

void StopReplay() {
  SetKeyFeed(nullptr);
  Playing.clear();
  PlayPosition = 0;
}

int ReplayPosition() { return static_cast<int>(PlayPosition); }
