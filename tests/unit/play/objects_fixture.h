// A small built-in map and an empty object table for driving the play-object pass directly.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "play/objects.h"
#include "play/playstate.h"
#include "shell/game.h"
#include "shell/scenes.h"
#include "stage/catalogue.h"
#include "stage/stagedata.h"

class ObjectPassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(StageMap, 0, sizeof StageMap);
    StageWidth = 20;
    StageHeight = 15;
    Play = PlayState{};
    // Far away from every spike unless a test puts her somewhere.
    Play.PlayerX = 600;
    Play.PlayerY = 440;
    ObjectCount = 0;
    KillerKind = 0;
    FadeActive = 0;
  }

  static void SetCell(int c, int r, int part) { StageMap[c * StageMapRows + r] = static_cast<uint8_t>(part); }

  // A trap spike as the scan makes it from TrapSpike part p at pixel (x, y).
  static StageObject& AddTrapSpike(int part, float x, float y, int state = TrapWaiting) {
    const int k = part - TrapSpikeFirst;
    const float speed = k % 8 < 4 ? 8.0f : 12.0f;
    StageObject& o = StageObjects[ObjectCount++];
    o = StageObject{};
    o.Kind = k + 1;
    o.Dir = k % 4;
    o.X = x;
    o.Y = y;
    o.VX = o.Dir == DirLeft ? -speed : o.Dir == DirRight ? speed : 0;
    o.VY = o.Dir == DirUp ? -speed : o.Dir == DirDown ? speed : 0;
    o.State = state;
    return o;
  }

  static StageObject& AddRovingSpike(int part, int x, int y) {
    StageObject& o = StageObjects[ObjectCount++];
    o = StageObject{};
    o.Kind = part - 95;
    o.Dir = part - RovingSpikeFirst;
    o.PixelX = x;
    o.PixelY = y;
    o.State = RovingMoving;
    return o;
  }

  static StageObject& AddBouncingSpike(float x, float y, float vx = -4, float vy = -4) {
    StageObject& o = StageObjects[ObjectCount++];
    o = StageObject{};
    o.Kind = BouncingSpikeKind;
    o.Dir = 10;
    o.X = x;
    o.Y = y;
    o.VX = vx;
    o.VY = vy;
    o.State = BouncingMoving;
    return o;
  }

  static void PutPlayer(float x, float y) {
    Play.PlayerX = x;
    Play.PlayerY = y;
  }
};

// Trap spike parts by group, speed and direction.
constexpr int TrapPart(int group, int fast, int dir) { return TrapSpikeFirst + 8 * (group - 1) + 4 * fast + dir; }
