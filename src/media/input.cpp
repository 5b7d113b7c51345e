// Keyboard, game controllers and mouse. The keyboard is read into KeyState by DirectInput key codes through
// one table from SDL scancodes, and the controllers add the keys their buttons stand for; replays and tests
// replace both with a key feed.
#include <SDL2/SDL.h>

#include <cstring>
#include <vector>

#include "media/internal.h"

using namespace media;

uint8_t KeyState[256] = {};

namespace {

struct KeyCode {
  SDL_Scancode scancode;
  uint8_t code;  // DirectInput
};

// The whole standard keyboard, the Japanese keys and the media keys.
constexpr KeyCode KeyTable[] = {
    {SDL_SCANCODE_ESCAPE, 0x01}, {SDL_SCANCODE_1, 0x02}, {SDL_SCANCODE_2, 0x03}, {SDL_SCANCODE_3, 0x04},
    {SDL_SCANCODE_4, 0x05}, {SDL_SCANCODE_5, 0x06}, {SDL_SCANCODE_6, 0x07}, {SDL_SCANCODE_7, 0x08},
    {SDL_SCANCODE_8, 0x09}, {SDL_SCANCODE_9, 0x0A}, {SDL_SCANCODE_0, 0x0B}, {SDL_SCANCODE_MINUS, 0x0C},
    {SDL_SCANCODE_EQUALS, 0x0D}, {SDL_SCANCODE_BACKSPACE, 0x0E}, {SDL_SCANCODE_TAB, 0x0F},
    {SDL_SCANCODE_Q, 0x10}, {SDL_SCANCODE_W, 0x11}, {SDL_SCANCODE_E, 0x12}, {SDL_SCANCODE_R, 0x13},
    {SDL_SCANCODE_T, 0x14}, {SDL_SCANCODE_Y, 0x15}, {SDL_SCANCODE_U, 0x16}, {SDL_SCANCODE_I, 0x17},
    {SDL_SCANCODE_O, 0x18}, {SDL_SCANCODE_P, 0x19}, {SDL_SCANCODE_LEFTBRACKET, 0x1A},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B}, {SDL_SCANCODE_RETURN, 0x1C}, {SDL_SCANCODE_LCTRL, 0x1D},
    {SDL_SCANCODE_A, 0x1E}, {SDL_SCANCODE_S, 0x1F}, {SDL_SCANCODE_D, 0x20}, {SDL_SCANCODE_F, 0x21},
    {SDL_SCANCODE_G, 0x22}, {SDL_SCANCODE_H, 0x23}, {SDL_SCANCODE_J, 0x24}, {SDL_SCANCODE_K, 0x25},
    {SDL_SCANCODE_L, 0x26}, {SDL_SCANCODE_SEMICOLON, 0x27}, {SDL_SCANCODE_APOSTROPHE, 0x28},
    {SDL_SCANCODE_GRAVE, 0x29}, {SDL_SCANCODE_LSHIFT, 0x2A}, {SDL_SCANCODE_BACKSLASH, 0x2B},
    {SDL_SCANCODE_NONUSHASH, 0x2B}, {SDL_SCANCODE_Z, 0x2C}, {SDL_SCANCODE_X, 0x2D}, {SDL_SCANCODE_C, 0x2E},
    {SDL_SCANCODE_V, 0x2F}, {SDL_SCANCODE_B, 0x30}, {SDL_SCANCODE_N, 0x31}, {SDL_SCANCODE_M, 0x32},
    {SDL_SCANCODE_COMMA, 0x33}, {SDL_SCANCODE_PERIOD, 0x34}, {SDL_SCANCODE_SLASH, 0x35},
    {SDL_SCANCODE_RSHIFT, 0x36}, {SDL_SCANCODE_KP_MULTIPLY, 0x37}, {SDL_SCANCODE_LALT, 0x38},
    {SDL_SCANCODE_SPACE, 0x39}, {SDL_SCANCODE_CAPSLOCK, 0x3A}, {SDL_SCANCODE_F1, 0x3B},
    {SDL_SCANCODE_F2, 0x3C}, {SDL_SCANCODE_F3, 0x3D}, {SDL_SCANCODE_F4, 0x3E}, {SDL_SCANCODE_F5, 0x3F},
    {SDL_SCANCODE_F6, 0x40}, {SDL_SCANCODE_F7, 0x41}, {SDL_SCANCODE_F8, 0x42}, {SDL_SCANCODE_F9, 0x43},
    {SDL_SCANCODE_F10, 0x44}, {SDL_SCANCODE_NUMLOCKCLEAR, 0x45}, {SDL_SCANCODE_SCROLLLOCK, 0x46},
    {SDL_SCANCODE_KP_7, 0x47}, {SDL_SCANCODE_KP_8, 0x48}, {SDL_SCANCODE_KP_9, 0x49},
    {SDL_SCANCODE_KP_MINUS, 0x4A}, {SDL_SCANCODE_KP_4, 0x4B}, {SDL_SCANCODE_KP_5, 0x4C},
    {SDL_SCANCODE_KP_6, 0x4D}, {SDL_SCANCODE_KP_PLUS, 0x4E}, {SDL_SCANCODE_KP_1, 0x4F},
    {SDL_SCANCODE_KP_2, 0x50}, {SDL_SCANCODE_KP_3, 0x51}, {SDL_SCANCODE_KP_0, 0x52},
    {SDL_SCANCODE_KP_PERIOD, 0x53}, {SDL_SCANCODE_NONUSBACKSLASH, 0x56}, {SDL_SCANCODE_F11, 0x57},
    {SDL_SCANCODE_F12, 0x58}, {SDL_SCANCODE_F13, 0x64}, {SDL_SCANCODE_F14, 0x65}, {SDL_SCANCODE_F15, 0x66},
    {SDL_SCANCODE_INTERNATIONAL2, 0x70},  // katakana/hiragana
    {SDL_SCANCODE_INTERNATIONAL1, 0x73},  // ro
    {SDL_SCANCODE_INTERNATIONAL4, 0x79},  // henkan
    {SDL_SCANCODE_INTERNATIONAL5, 0x7B},  // muhenkan
    {SDL_SCANCODE_INTERNATIONAL3, 0x7D},  // yen
    {SDL_SCANCODE_KP_EQUALS, 0x8D}, {SDL_SCANCODE_AUDIOPREV, 0x90}, {SDL_SCANCODE_STOP, 0x95},
    {SDL_SCANCODE_AUDIONEXT, 0x99}, {SDL_SCANCODE_KP_ENTER, 0x9C}, {SDL_SCANCODE_RCTRL, 0x9D},
    {SDL_SCANCODE_MUTE, 0xA0}, {SDL_SCANCODE_CALCULATOR, 0xA1}, {SDL_SCANCODE_AUDIOPLAY, 0xA2},
    {SDL_SCANCODE_AUDIOSTOP, 0xA4}, {SDL_SCANCODE_VOLUMEDOWN, 0xAE}, {SDL_SCANCODE_VOLUMEUP, 0xB0},
    {SDL_SCANCODE_AC_HOME, 0xB2}, {SDL_SCANCODE_KP_COMMA, 0xB3}, {SDL_SCANCODE_KP_DIVIDE, 0xB5},
    {SDL_SCANCODE_PRINTSCREEN, 0xB7}, {SDL_SCANCODE_RALT, 0xB8}, {SDL_SCANCODE_PAUSE, 0xC5},
    {SDL_SCANCODE_HOME, 0xC7}, {SDL_SCANCODE_UP, 0xC8}, {SDL_SCANCODE_PAGEUP, 0xC9},
    {SDL_SCANCODE_LEFT, 0xCB}, {SDL_SCANCODE_RIGHT, 0xCD}, {SDL_SCANCODE_END, 0xCF},
    {SDL_SCANCODE_DOWN, 0xD0}, {SDL_SCANCODE_PAGEDOWN, 0xD1}, {SDL_SCANCODE_INSERT, 0xD2},
    {SDL_SCANCODE_DELETE, 0xD3}, {SDL_SCANCODE_LGUI, 0xDB}, {SDL_SCANCODE_RGUI, 0xDC},
    {SDL_SCANCODE_APPLICATION, 0xDD}, {SDL_SCANCODE_POWER, 0xDE}, {SDL_SCANCODE_SLEEP, 0xDF},
    {SDL_SCANCODE_AC_SEARCH, 0xE5}, {SDL_SCANCODE_AC_BOOKMARKS, 0xE6}, {SDL_SCANCODE_AC_REFRESH, 0xE7},
    {SDL_SCANCODE_AC_STOP, 0xE8}, {SDL_SCANCODE_AC_FORWARD, 0xE9}, {SDL_SCANCODE_AC_BACK, 0xEA},
    {SDL_SCANCODE_COMPUTER, 0xEB}, {SDL_SCANCODE_MAIL, 0xEC}, {SDL_SCANCODE_MEDIASELECT, 0xED},
};

// Game controllers stand in for the keys the game reads: the D-pad and the left stick for the arrows, A for Z
// and Enter, B for X, Start for Tab, Back for S, Y for R.
struct ButtonKeys {
  SDL_GameControllerButton button;
  uint8_t keys[2];  // 0: none
};
constexpr ButtonKeys ControllerTable[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, {KeyUp, 0}},       {SDL_CONTROLLER_BUTTON_DPAD_DOWN, {KeyDown, 0}},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, {KeyLeft, 0}},   {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, {KeyRight, 0}},
    {SDL_CONTROLLER_BUTTON_A, {KeyZ, KeyEnter}},       {SDL_CONTROLLER_BUTTON_B, {KeyX, 0}},
    {SDL_CONTROLLER_BUTTON_START, {KeyTab, 0}},        {SDL_CONTROLLER_BUTTON_BACK, {KeyS, 0}},
    {SDL_CONTROLLER_BUTTON_Y, {KeyR, 0}},
};
// Half the stick's travel counts as a push, so a stick resting slightly off centre walks nowhere.
constexpr Sint16 StickThreshold = 16384;

std::vector<SDL_GameController*> Controllers;

void AddControllerKeys(uint8_t state[256]) {
  for (SDL_GameController* controller : Controllers) {
    for (const ButtonKeys& entry : ControllerTable) {
      if (SDL_GameControllerGetButton(controller, entry.button) == 0) continue;
      for (uint8_t key : entry.keys) {
        if (key != 0) state[key] = 1;
      }
    }
    Sint16 x = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    Sint16 y = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
    if (x <= -StickThreshold) state[KeyLeft] = 1;
    if (x >= StickThreshold) state[KeyRight] = 1;
    if (y <= -StickThreshold) state[KeyUp] = 1;
    if (y >= StickThreshold) state[KeyDown] = 1;
  }
}

KeyFeed Feed = nullptr;
bool Sampled = false;
int SampleMs = 0;

// Keys that were down when a file chooser closed: hidden from KeyState until they are released.
uint8_t HeldKeys[256] = {};

bool MouseOverridden = false;
int OverrideX = 0, OverrideY = 0, OverrideButtons = 0;

}  // namespace

int DirectInputCodeOfScancode(int sdlScancode) {
  for (const KeyCode& key : KeyTable) {
    if (key.scancode == sdlScancode) return key.code;
  }
  return 0;
}

void SetKeyFeed(KeyFeed feed) {
  Feed = feed;
  Sampled = false;
}

void ReadKeyboard() {
  GuardActive();
  if (Feed != nullptr) {
    uint8_t state[256] = {};
    if (!Feed(state)) std::memset(state, 0, sizeof state);
    for (int k = 0; k < 256; ++k) KeyState[k] = state[k] != 0 ? 1 : 0;
    return;
  }
  if (Window == nullptr) return;  // no keyboard to read: the last sample stays
  int now = NowMs();
  if (Sampled && now == SampleMs) return;
  int count = 0;
  const Uint8* keys = SDL_GetKeyboardState(&count);
  if (keys == nullptr) return;
  uint8_t state[256] = {};
  for (const KeyCode& key : KeyTable) {
    if (key.scancode < count && keys[key.scancode] != 0) state[key.code] = 1;
  }
  for (int k = 0; k < 256; ++k) {
    if (state[k] == 0) HeldKeys[k] = 0;
    if (HeldKeys[k] != 0) state[k] = 0;
  }
  AddControllerKeys(state);
  // Alt+Enter switches fullscreen; it is no Enter for the game, also after Alt is let go first.
  if (EnterSwallowed && state[KeyEnter] == 0 && state[0x9C] == 0) EnterSwallowed = false;
  if (EnterSwallowed || state[0x38] != 0 || state[0xB8] != 0) state[KeyEnter] = state[0x9C] = 0;
  std::memcpy(KeyState, state, sizeof state);
  Sampled = true;
  SampleMs = now;
}

namespace media {
void ForgetKeyStates() {
  if (Window == nullptr) return;
  SDL_ResetKeyboard();
  Sampled = false;
}

void HoldKeysUntilReleased() {
  if (Window == nullptr) return;
  SDL_PumpEvents();
  int count = 0;
  const Uint8* keys = SDL_GetKeyboardState(&count);
  if (keys == nullptr) return;
  for (const KeyCode& key : KeyTable) {
    if (key.scancode < count && keys[key.scancode] != 0) HeldKeys[key.code] = 1;
  }
  Sampled = false;
}
}  // namespace media

void GetMousePosition(int* x, int* y) {
  int mx = 0, my = 0;
  if (MouseOverridden) {
    mx = OverrideX;
    my = OverrideY;
  } else if (Window != nullptr) {
    SDL_GetMouseState(&mx, &my);
    WindowPointToPicture(&mx, &my);
  }
  if (x != nullptr) *x = mx;
  if (y != nullptr) *y = my;
}

int GetMouseButtons() {
  if (MouseOverridden) return OverrideButtons;
  if (Window == nullptr) return 0;
  Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
  int mask = 0;
  if ((buttons & SDL_BUTTON_LMASK) != 0) mask |= 1;
  if ((buttons & SDL_BUTTON_RMASK) != 0) mask |= 2;
  if ((buttons & SDL_BUTTON_MMASK) != 0) mask |= 4;
  if ((buttons & SDL_BUTTON_X1MASK) != 0) mask |= 8;
  if ((buttons & SDL_BUTTON_X2MASK) != 0) mask |= 16;
  return mask;
}

void SetMouseOverride(int enabled, int x, int y, int buttons) {
  MouseOverridden = enabled != 0;
  OverrideX = x;
  OverrideY = y;
  OverrideButtons = buttons;
}

namespace media {

// Controllers come and go at any time: SDL reports each one present at start-up and every later plug-in as
// an added device.
void HandleControllerEvent(const SDL_Event& event) {
  if (event.type == SDL_CONTROLLERDEVICEADDED) {
    SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which);
    if (controller == nullptr) return;
    for (SDL_GameController* open : Controllers) {
      if (open == controller) {  // already open: SDL counted one more reference
        SDL_GameControllerClose(controller);
        return;
      }
    }
    Controllers.push_back(controller);
  } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
    for (size_t i = 0; i < Controllers.size(); ++i) {
      SDL_Joystick* joystick = SDL_GameControllerGetJoystick(Controllers[i]);
      if (joystick != nullptr && SDL_JoystickInstanceID(joystick) != event.cdevice.which) continue;
      SDL_GameControllerClose(Controllers[i]);
      Controllers.erase(Controllers.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

void CloseControllers() {
  for (SDL_GameController* controller : Controllers) SDL_GameControllerClose(controller);
  Controllers.clear();
}

}  // namespace media
