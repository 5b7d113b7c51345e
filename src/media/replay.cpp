// The replay text format and its key feed.
#include "media/replay.h"

#include <algorithm>
#include <cctype>
#include <iterator>
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

// A replay far longer than any stage would take (about 46 hours) is a typo, not a plan. It also keeps every
// frame number within a ReplayRun's 32 bits.
constexpr long MaxFrames = 10'000'000;

Replay Playing;
long PlayPosition = 0;

bool FeedReplay(uint8_t state[256]) {
  if (PlayPosition >= Playing.FrameCount) return false;
  ReplayKeyState(Playing, PlayPosition, state);
  ++PlayPosition;
  return true;
}

// The place of a key name (any case) in KeyNames, -1 for an unknown name.
int KeyBit(const std::string& name) {
  for (int bit = 0; bit < static_cast<int>(std::size(KeyNames)); ++bit) {
    const std::string known = KeyNames[bit].name;
    if (known.size() != name.size()) continue;
    bool same = true;
    for (size_t i = 0; i < known.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(known[i])) != std::tolower(static_cast<unsigned char>(name[i])))
        same = false;
    }
    if (same) return bit;
  }
  return -1;
}

}  // namespace

int ReplayKeyCode(const std::string& name) {
  const int bit = KeyBit(name);
  return bit < 0 ? 0 : KeyNames[bit].code;
}

bool LoadReplay(const std::string& text, Replay* replay, std::string* error) {
  *replay = Replay{};
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  auto fail = [&](const std::string& why) {
    if (error != nullptr) *error = "line " + std::to_string(number) + ": " + why;
    *replay = Replay{};
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
    if (count.size() > 9 || replay->FrameCount + std::stol(count) > MaxFrames) return fail("too many frames");
    const long repeat = std::stol(count);
    uint16_t held = 0;
    if (keys != "-") {
      size_t start = 0;
      while (start <= keys.size()) {
        size_t plus = keys.find('+', start);
        std::string name = keys.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        const int bit = KeyBit(name);
        if (bit < 0) return fail("unknown key \"" + name + "\"");
        held |= static_cast<uint16_t>(1u << bit);
        if (plus == std::string::npos) break;
        start = plus + 1;
      }
    }
    if (repeat == 0) continue;
    replay->Runs.push_back({static_cast<int32_t>(replay->FrameCount), static_cast<int32_t>(repeat), held});
    replay->FrameCount += repeat;
  }
  return true;
}

void ReplayKeyState(const Replay& replay, long frame, uint8_t state[256]) {
  for (int k = 0; k < 256; ++k) state[k] = 0;
  // The last run that starts at or before the frame.
  auto after = std::upper_bound(replay.Runs.begin(), replay.Runs.end(), frame,
                                [](long f, const ReplayRun& run) { return f < run.First; });
  if (after == replay.Runs.begin()) return;
  const ReplayRun& run = *(after - 1);
  if (frame >= run.First + run.Frames) return;
  for (int bit = 0; bit < static_cast<int>(std::size(KeyNames)); ++bit)
    if (run.Keys & (1u << bit)) state[KeyNames[bit].code] = 1;
}

void StartReplay(Replay replay) {
  Playing = std::move(replay);
  PlayPosition = 0;
  SetKeyFeed(FeedReplay);
}

void StopReplay() {
  SetKeyFeed(nullptr);
  Playing = Replay{};
  PlayPosition = 0;
}

int ReplayPosition() { return static_cast<int>(PlayPosition); }
