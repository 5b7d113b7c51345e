// The scancode table, the key feed and the replay format.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <set>

#include "media/media.h"
#include "media/replay.h"

namespace {

TEST(KeyTable, EveryKeyTheGameReads) {
  struct Case {
    SDL_Scancode scancode;
    int code;
  } cases[] = {
      {SDL_SCANCODE_ESCAPE, 1},  {SDL_SCANCODE_TAB, 15}, {SDL_SCANCODE_R, 19},   {SDL_SCANCODE_RETURN, 28},
      {SDL_SCANCODE_S, 31},      {SDL_SCANCODE_D, 32},   {SDL_SCANCODE_Z, 44},   {SDL_SCANCODE_X, 45},
      {SDL_SCANCODE_F1, 59},     {SDL_SCANCODE_F3, 61},  {SDL_SCANCODE_F4, 62},  {SDL_SCANCODE_F5, 63},
      {SDL_SCANCODE_F6, 64},     {SDL_SCANCODE_F7, 65},  {SDL_SCANCODE_F8, 66},  {SDL_SCANCODE_F9, 67},
      {SDL_SCANCODE_F11, 87},    {SDL_SCANCODE_UP, 200}, {SDL_SCANCODE_LEFT, 203}, {SDL_SCANCODE_RIGHT, 205},
      {SDL_SCANCODE_DOWN, 208},
  };
  for (const Case& c : cases) EXPECT_EQ(DirectInputCodeOfScancode(c.scancode), c.code) << c.scancode;
  // And the names the rest of the game uses for them.
  EXPECT_EQ(DirectInputCodeOfScancode(SDL_SCANCODE_F11), KeyF11);
  EXPECT_EQ(DirectInputCodeOfScancode(SDL_SCANCODE_DOWN), KeyDown);
}

TEST(KeyTable, RestOfTheKeyboard) {
  struct Case {
    SDL_Scancode scancode;
    int code;
  } cases[] = {
      {SDL_SCANCODE_1, 0x02},         {SDL_SCANCODE_0, 0x0B},        {SDL_SCANCODE_BACKSPACE, 0x0E},
      {SDL_SCANCODE_Q, 0x10},         {SDL_SCANCODE_P, 0x19},        {SDL_SCANCODE_A, 0x1E},
      {SDL_SCANCODE_L, 0x26},         {SDL_SCANCODE_M, 0x32},        {SDL_SCANCODE_SPACE, 0x39},
      {SDL_SCANCODE_LCTRL, 0x1D},     {SDL_SCANCODE_RCTRL, 0x9D},    {SDL_SCANCODE_LSHIFT, 0x2A},
      {SDL_SCANCODE_RSHIFT, 0x36},    {SDL_SCANCODE_LALT, 0x38},     {SDL_SCANCODE_RALT, 0xB8},
      {SDL_SCANCODE_F2, 0x3C},        {SDL_SCANCODE_F10, 0x44},      {SDL_SCANCODE_F12, 0x58},
      {SDL_SCANCODE_KP_ENTER, 0x9C},  {SDL_SCANCODE_KP_0, 0x52},     {SDL_SCANCODE_KP_DIVIDE, 0xB5},
      {SDL_SCANCODE_HOME, 0xC7},      {SDL_SCANCODE_END, 0xCF},      {SDL_SCANCODE_PAGEUP, 0xC9},
      {SDL_SCANCODE_PAGEDOWN, 0xD1},  {SDL_SCANCODE_INSERT, 0xD2},   {SDL_SCANCODE_DELETE, 0xD3},
      {SDL_SCANCODE_INTERNATIONAL3, 0x7D}, {SDL_SCANCODE_INTERNATIONAL4, 0x79},
      {SDL_SCANCODE_INTERNATIONAL5, 0x7B}, {SDL_SCANCODE_UNKNOWN, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(DirectInputCodeOfScancode(c.scancode), c.code) << c.scancode;
}

TEST(KeyTable, NoTwoKeysShareACode) {
  std::set<int> seen;
  for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
    int code = DirectInputCodeOfScancode(s);
    if (code == 0 || s == SDL_SCANCODE_NONUSHASH) continue;  // the ISO hash key is the backslash key
    EXPECT_TRUE(seen.insert(code).second) << "code " << code << " twice (scancode " << s << ")";
  }
  EXPECT_GT(seen.size(), 100u);
}

uint8_t FeedKey = 0;
bool FeedMore = true;
bool TestFeed(uint8_t state[256]) {
  state[FeedKey] = 7;  // any non-zero byte is a key down
  state[0] = 0;
  return FeedMore;
}

TEST(KeyFeed, FillsKeyStateWithOnesAndClearsAtTheEnd) {
  SetKeyFeed(TestFeed);
  FeedKey = KeyZ;
  FeedMore = true;
  ReadKeyboard();
  EXPECT_EQ(KeyState[KeyZ], 1);
  EXPECT_EQ(KeyState[KeyX], 0);
  FeedMore = false;
  ReadKeyboard();
  EXPECT_EQ(KeyState[KeyZ], 0);
  SetKeyFeed(nullptr);
}

// The key state of every frame of a replay, expanded for looking at.
std::vector<ReplayFrame> Expand(const Replay& replay) {
  std::vector<ReplayFrame> frames(static_cast<size_t>(replay.FrameCount));
  for (long f = 0; f < replay.FrameCount; ++f) ReplayKeyState(replay, f, frames[f].data());
  return frames;
}

TEST(Replay, ParsesCountsKeysCommentsAndBlankLines) {
  Replay replay;
  std::string error;
  ASSERT_TRUE(LoadReplay("# a comment\n\n2 -\r\n3 Right   # walking\n1 Right+Z\n  \n1 left+ENTER+Esc\n0 Tab\n",
                         &replay, &error))
      << error;
  std::vector<ReplayFrame> frames = Expand(replay);
  ASSERT_EQ(frames.size(), 7u);
  for (int i = 0; i < 2; ++i) {
    for (int k = 0; k < 256; ++k) EXPECT_EQ(frames[i][k], 0);
  }
  for (int i = 2; i < 5; ++i) EXPECT_EQ(frames[i][KeyRight], 1);
  EXPECT_EQ(frames[4][KeyZ], 0);
  EXPECT_EQ(frames[5][KeyRight], 1);
  EXPECT_EQ(frames[5][KeyZ], 1);
  EXPECT_EQ(frames[5][KeyX], 0);
  EXPECT_EQ(frames[6][KeyLeft], 1);
  EXPECT_EQ(frames[6][KeyEnter], 1);
  EXPECT_EQ(frames[6][KeyEsc], 1);
  // Outside the replay every key is up.
  ReplayFrame past;
  past.fill(1);
  ReplayKeyState(replay, 7, past.data());
  for (int k = 0; k < 256; ++k) EXPECT_EQ(past[k], 0);
  struct Named {
    const char* name;
    int code;
  } names[] = {{"Left", KeyLeft}, {"Right", KeyRight}, {"Up", KeyUp}, {"Down", KeyDown}, {"Z", KeyZ},
               {"X", KeyX},       {"S", KeyS},         {"D", KeyD},   {"R", KeyR},       {"Tab", KeyTab},
               {"Enter", KeyEnter}, {"Esc", KeyEsc}};
  for (const Named& n : names) {
    EXPECT_EQ(ReplayKeyCode(n.name), n.code) << n.name;
    ASSERT_TRUE(LoadReplay(std::string("1 ") + n.name + "\n", &replay, &error)) << n.name;
    ReplayFrame one{};
    ReplayKeyState(replay, 0, one.data());
    for (int k = 0; k < 256; ++k) EXPECT_EQ(one[k], k == n.code ? 1 : 0) << n.name << " key " << k;
  }
}

// A long wait is one run, not millions of frames in memory; the limit counts the frames of all lines.
TEST(Replay, LongCountsStayRuns) {
  Replay replay;
  std::string error;
  ASSERT_TRUE(LoadReplay("9999999 -\n1 Right\n", &replay, &error)) << error;
  EXPECT_EQ(replay.Runs.size(), 2u);
  EXPECT_EQ(replay.FrameCount, 10000000);
  ReplayFrame frame{};
  ReplayKeyState(replay, 9999998, frame.data());
  EXPECT_EQ(frame[KeyRight], 0);
  ReplayKeyState(replay, 9999999, frame.data());
  EXPECT_EQ(frame[KeyRight], 1);
  EXPECT_FALSE(LoadReplay("9999999 -\n2 Right\n", &replay, &error));
  EXPECT_NE(error.find("line 2: too many"), std::string::npos) << error;
}

TEST(Replay, BadLinesAreErrorsWithTheirLineNumber) {
  struct Case {
    const char* text;
    const char* inError;
  } cases[] = {
      {"1 Right\n2 Jump\n", "line 2"},
      {"1 Right+\n", "unknown key"},
      {"x Right\n", "not a frame count"},
      {"-1 Right\n", "not a frame count"},
      {"5\n", "needs its keys"},
      {"1 Right Z\n", "unexpected"},
      {"99999999999 -\n", "too many"},
      {"1000000000000000 -\n", "too many"},
  };
  for (const Case& c : cases) {
    Replay replay;
    std::string error;
    EXPECT_FALSE(LoadReplay(c.text, &replay, &error)) << c.text;
    EXPECT_NE(error.find(c.inError), std::string::npos) << c.text << " -> " << error;
    EXPECT_TRUE(replay.Runs.empty());
    EXPECT_EQ(replay.FrameCount, 0);
  }
}

TEST(Replay, FeedPlaysOneFramePerReadThenAllKeysUp) {
  Replay replay;
  std::string error;
  ASSERT_TRUE(LoadReplay("1 Right\n1 Right+Z\n", &replay, &error));
  StartReplay(replay);
  ReadKeyboard();
  EXPECT_EQ(KeyState[KeyRight], 1);
  EXPECT_EQ(KeyState[KeyZ], 0);
  ReadKeyboard();
  EXPECT_EQ(KeyState[KeyZ], 1);
  ReadKeyboard();
  EXPECT_EQ(KeyState[KeyRight], 0);
  EXPECT_EQ(KeyState[KeyZ], 0);
  EXPECT_EQ(ReplayPosition(), 2);
  StopReplay();
}

TEST(Mouse, OverrideStandsInForTheMouse) {
  SetMouseOverride(1, 123, 45, 1 | 4);
  int x = 0, y = 0;
  GetMousePosition(&x, &y);
  EXPECT_EQ(x, 123);
  EXPECT_EQ(y, 45);
  EXPECT_EQ(GetMouseButtons(), 5);
  SetMouseOverride(0, 0, 0, 0);
  EXPECT_EQ(GetMouseButtons(), 0);
}

}  // namespace
