// A clean play state on an empty 20 x 15 built-in map (or custom slot 0) for the girl's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "play/play_map.h"
#include "play/playstate.h"
#include "shell/game.h"
#include "shell/scenes.h"
#include "stage/stagedata.h"

class GirlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Play = PlayState{};
    std::memset(StageMap, 0, sizeof StageMap);
    std::memset(CustomStageMap, 0, sizeof CustomStageMap);
    StageWidth = 20;
    StageHeight = 15;
    CustomStageIndex = 0;
    ObjectCount = 0;
    for (DebrisSlot& slot : DebrisSlots) slot = DebrisSlot{};
    FadeActive = 0;
    std::memset(KeyState, 0, sizeof KeyState);
    std::memset(PrevKeyState, 0, sizeof PrevKeyState);
  }
  static void Put(int c, int r, int id) { PlayMapAt(c, r) = static_cast<uint8_t>(id); }
  static int At(int c, int r) { return PlayMapAt(c, r); }
  static void Place(float px, float py, float vx = 0, float vy = 0) {
    Play.PlayerX = px;
    Play.PlayerY = py;
    Play.PlayerVX = vx;
    Play.PlayerVY = vy;
  }
};
