// Game controllers through SDL's virtual joystick: every button stands for its keys, the stick for the
// arrows, plugging in and out works while running, A in the stage select starts the stage and the D-pad walks.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "../stage/stage_files.h"
#include "play/play_frame.h"
#include "shell/game.h"
#include "shell/menus.h"
#include "shell/savedata.h"
#include "shell/scenes.h"

namespace {

class ControllerTest : public StageFilesTest {
 protected:
  void SetUp() override {
    StageFilesTest::SetUp();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // The dummy window never has focus; without this SDL ignores the controller as a background one.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    SetDrawingSurface(800, 600, 32, 60);
    SetWindowClientSize(640, 480);
    ASSERT_EQ(InitMedia(), 0);
    SaveDataPath = nullptr;
    std::memset(KeyState, 0, sizeof KeyState);
    std::memset(PrevKeyState, 0, sizeof PrevKeyState);
  }
  void TearDown() override {
    if (device_ >= 0) SDL_JoystickDetachVirtual(device_);
    EndMedia();
    SaveDataPath = "save.dat";
    StageFilesTest::TearDown();
  }

  // Plugs in a virtual controller with every standard button and axis; the game sees it at its next pump.
  void PlugIn() {
    device_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                        SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(device_, 0) << SDL_GetError();
    PumpMessages();
    joystick_ = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device_));
    ASSERT_NE(joystick_, nullptr) << "the game did not open the controller";
  }
  void Hold(std::initializer_list<SDL_GameControllerButton> buttons, Sint16 stickX = 0, Sint16 stickY = 0) {
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) SDL_JoystickSetVirtualButton(joystick_, b, 0);
    for (SDL_GameControllerButton b : buttons) SDL_JoystickSetVirtualButton(joystick_, b, 1);
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, stickX);
    SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTY, stickY);
    PumpMessages();
    SleepMs(2);  // the keyboard is sampled at most once a millisecond
    ReadKeyboard();
  }
  static std::vector<int> KeysDown() {
    std::vector<int> keys;
    for (int k = 0; k < 256; ++k) {
      if (KeyState[k] != 0) keys.push_back(k);
    }
    return keys;
  }

  int device_ = -1;
  SDL_Joystick* joystick_ = nullptr;
};

TEST_F(ControllerTest, ButtonsAndStickStandForTheirKeys) {
  PlugIn();
  struct Case {
    std::initializer_list<SDL_GameControllerButton> buttons;
    Sint16 x, y;
    std::vector<int> keys;
  };
  const Case cases[] = {
      {{}, 0, 0, {}},
      {{SDL_CONTROLLER_BUTTON_DPAD_UP}, 0, 0, {KeyUp}},
      {{SDL_CONTROLLER_BUTTON_DPAD_DOWN}, 0, 0, {KeyDown}},
      {{SDL_CONTROLLER_BUTTON_DPAD_LEFT}, 0, 0, {KeyLeft}},
      {{SDL_CONTROLLER_BUTTON_DPAD_RIGHT}, 0, 0, {KeyRight}},
      {{SDL_CONTROLLER_BUTTON_A}, 0, 0, {KeyEnter, KeyZ}},
      {{SDL_CONTROLLER_BUTTON_B}, 0, 0, {KeyX}},
      {{SDL_CONTROLLER_BUTTON_START}, 0, 0, {KeyTab}},
      {{SDL_CONTROLLER_BUTTON_BACK}, 0, 0, {KeyS}},
      {{SDL_CONTROLLER_BUTTON_Y}, 0, 0, {KeyR}},
      {{SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_GUIDE}, 0, 0, {}},
      {{SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_A}, 0, 0, {KeyEnter, KeyZ, KeyRight}},
      {{}, -32768, 0, {KeyLeft}},
      {{}, 32767, 32767, {KeyRight, KeyDown}},
      {{}, 0, -20000, {KeyUp}},
      {{}, 12000, -12000, {}},  // a stick resting a little off centre
  };
  for (const Case& c : cases) {
    Hold(c.buttons, c.x, c.y);
    EXPECT_EQ(KeysDown(), c.keys) << "case " << (&c - cases);
  }
}

TEST_F(ControllerTest, PluggedInAndOutWhileRunning) {
  Hold({});
  EXPECT_EQ(KeysDown(), std::vector<int>{});
  PlugIn();
  Hold({SDL_CONTROLLER_BUTTON_B});
  EXPECT_EQ(KeysDown(), std::vector<int>{KeyX});
  ASSERT_EQ(SDL_JoystickDetachVirtual(device_), 0);
  device_ = -1;
  PumpMessages();
  SleepMs(2);
  ReadKeyboard();
  EXPECT_EQ(KeysDown(), std::vector<int>{}) << "a controller pulled out holds no key";
  PlugIn();
  Hold({SDL_CONTROLLER_BUTTON_START});
  EXPECT_EQ(KeysDown(), std::vector<int>{KeyTab}) << "plugged in again";
}

TEST_F(ControllerTest, AStartsTheChosenStageAndTheDpadWalks) {
  PlugIn();
  ResetGameState();
  FadeActive = 0;
  std::memset(StageUnlocked, 0, sizeof StageUnlocked);
  StageUnlocked[0] = 1;
  SceneId = 30;
  CustomStageIndex = 0;
  auto menuFrame = [this](std::initializer_list<SDL_GameControllerButton> buttons) {
    Hold(buttons);
    UpdateMenuScenes();
    CopyKeyState();
  };
  menuFrame({});
  menuFrame({SDL_CONTROLLER_BUTTON_A});
  ASSERT_EQ(SceneId, 31);
  EXPECT_EQ(SelectedStage, 1);

  // The shell starts the stage between its fades; here on a small stage of our own.
  static std::string fmf;
  fmf = Write("walk.fmf", FmfBytes(PlayableMap(20, 15)));
  StageFmfOverride = fmf.c_str();
  StartBuiltinStage();
  SceneId = 100;
  auto playFrames = [this](SDL_GameControllerButton button, int frames) {
    for (int i = 0; i < frames; ++i) {
      Hold({button});
      RunPlayRoutines();
      CopyKeyState();
    }
  };
  playFrames(SDL_CONTROLLER_BUTTON_X, 30);  // land on the floor; X means nothing in play
  float start = Play.PlayerX;
  playFrames(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 30);
  EXPECT_GT(Play.PlayerX, start + 20) << "the D-pad walks right";
  float right = Play.PlayerX;
  playFrames(SDL_CONTROLLER_BUTTON_DPAD_LEFT, 45);
  EXPECT_LT(Play.PlayerX, right - 20) << "and left";
}

}  // namespace
