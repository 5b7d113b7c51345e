// The in-play flow on a fixture stage read through the loader: frames driven through KeyState as the main
// loop drives them, a save file in the scratch folder, and Random replaceable by a fixed source.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "../stage/stage_files.h"
#include "media/testing.h"
#include "play/play_frame.h"
#include "play/play_map.h"
#include "play/stage_start.h"
#include "shell/game.h"
#include "shell/savedata.h"
#include "shell/scenes.h"
#include "stage/catalogue.h"

inline uint32_t RandomZero() { return 0; }

class FlowTest : public StageFilesTest {
 protected:
  void SetUp() override {
    StageFilesTest::SetUp();
    std::memset(KeyState, 0, sizeof KeyState);
    std::memset(PrevKeyState, 0, sizeof PrevKeyState);
    for (DebrisSlot& slot : DebrisSlots) slot = DebrisSlot{};
    for (BloodDrop& drop : BloodDrops) drop = BloodDrop{};
    BloodState = 0;
    KillerKind = 0;
    FadeActive = 0;
    SceneId = 100;
    AllStagesCleared = 0;
    BloodOn = 0;
    SelectedStage = 1;
    CustomStageIndex = 0;
    std::memset(StageUnlocked, 0, sizeof StageUnlocked);
    StageUnlocked[0] = 1;
    StageUnlocked[30] = StageUnlocked[31] = 0xFF;
    SavePath = (Dir / "save.dat").string();
    SaveDataPath = SavePath.c_str();
    StageWidth = 20;
    StageHeight = 15;
  }
  void TearDown() override {
    SetRandomOverride(nullptr);
    SaveDataPath = "save.dat";
    StageFilesTest::TearDown();
  }

  // Starts the built-in stage from a map, as scene 31 does.
  void StartStage(const FmfMap& map) {
    static std::string path;
    path = Write("stage.fmf", FmfBytes(map));
    StageFmfOverride = path.c_str();
    StartBuiltinStage();
    SceneId = 100;
  }

  static void Hold(std::initializer_list<int> keys) {
    std::memset(KeyState, 0, sizeof KeyState);
    for (int key : keys) KeyState[key] = 1;
  }
  // One whole play frame with these keys held.
  static void Frame(std::initializer_list<int> keys = {}) {
    Hold(keys);
    RunPlayRoutines();
    CopyKeyState();
  }
  // Only the in-play flow, with these keys held.
  static void Flow(std::initializer_list<int> keys = {}) {
    Hold(keys);
    InPlayFlow();
    CopyKeyState();
  }
  static void Put(int c, int r, int id) { PlayMapAt(c, r) = static_cast<uint8_t>(id); }

  std::string SavePath;
};
