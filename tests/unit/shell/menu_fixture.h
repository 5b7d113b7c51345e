// Drives the menu scenes and the credits frame by frame through KeyState, the way the main loop does, without
// a window: drawing and sound calls find no pictures, fonts or sounds and do nothing.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "play/playstate.h"
#include "shell/game.h"
#include "shell/menus.h"
#include "shell/savedata.h"
#include "shell/scenes.h"
#include "temp_folder.h"

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(KeyState, 0, sizeof KeyState);
    std::memset(PrevKeyState, 0, sizeof PrevKeyState);
    FadeActive = 0;
    ResetGameState();
    std::memset(StageUnlocked, 0, sizeof StageUnlocked);
    StageUnlocked[0] = 1;
    StageUnlocked[30] = StageUnlocked[31] = 0xFF;
    MusicOn = SoundEffectsOn = 1;
    ShowFps = BloodOn = 0;
    SaveDataPath = folder_.File("save.dat");
  }
  void TearDown() override { SaveDataPath = "save.dat"; }

  // One frame with exactly these keys held: the routine, then the copy that ends every frame.
  static void Frame(std::initializer_list<int> held, void (*routine)() = UpdateMenuScenes) {
    std::memset(KeyState, 0, sizeof KeyState);
    for (int key : held) KeyState[key] = 1;
    routine();
    CopyKeyState();
  }
  // A press: the key goes down for one frame, then every key is up for one frame.
  static void Press(std::initializer_list<int> held) {
    Frame(held);
    Frame({});
  }

  TempFolder folder_;
};
