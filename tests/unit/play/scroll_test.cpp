#include <gtest/gtest.h>

#include "girl_fixture.h"
#include "play/map_draw.h"
#include "play/scroll.h"

namespace {

class Scroll : public GirlTest {};

TEST_F(Scroll, LeavingToTheRightScrollsOneScreenIn80FramesWhileSheIsFrozen) {
  Place(632, 100, 2, 0);
  Play.PlayerAirborne = 1;
  ControlPlayer();
  EXPECT_EQ(Play.PlayerX, 633.6f);
  EXPECT_EQ(Play.ScrollState, 1);
  EXPECT_EQ(Play.ScrollX, -8);
  const float y = Play.PlayerY;
  for (int frame = 2; frame <= 80; ++frame) {
    ControlPlayer();
    ASSERT_EQ(Play.ScrollX, -8 * frame);
    ASSERT_EQ(Play.ScrollState, frame < 80 ? 1 : 0) << frame;
    ASSERT_EQ(Play.PlayerX, 633.6f);
    ASSERT_EQ(Play.PlayerY, y);
  }
  EXPECT_EQ(static_cast<int>(Play.PlayerX) + Play.ScrollX, -7);
  Play.PlayerVX = 0;
  Play.PlayerVY = 0;
  ControlPlayer();
  EXPECT_EQ(Play.ScrollState, 0);
  EXPECT_EQ(Play.ScrollX, -640);
}

TEST_F(Scroll, FallingOutOfTheBottomScrollsDownIn60Frames) {
  Play.ScrollY = -480;
  Place(100, 944, 0, 1);
  ControlPlayer();
  EXPECT_EQ(Play.ScrollState, 3);
  for (int frame = 2; frame <= 60; ++frame) ControlPlayer();
  EXPECT_EQ(Play.ScrollY, -960);
  EXPECT_EQ(Play.ScrollState, 0);
}

TEST_F(Scroll, StartTestsAndTheirOrder) {
  struct Case {
    float Px, Py;
    int ScrollX, ScrollY;
    int State;
  };
  const Case cases[] = {
      {632, 100, 0, 0, 0},      // exactly 632: not yet
      {100, -16, 0, 0, 0},      // top exactly at -16: the test is strict
      {100, -16.5f, 0, 0, 4},
      {-8, 100, 0, 0, 0},
      {-8.5f, 100, 0, 0, 2},
      {100, 464, 0, 0, 0},
      {100, 464.5f, 0, 0, 3},
      {700, 500, 0, 0, 3},      // right and down at once: the later test wins
      {1300, 100, -640, 0, 1},  // relative to the screen shown
      {-20, -20, 0, 0, 4},
  };
  for (const Case& c : cases) {
    SetUp();
    Place(c.Px, c.Py);
    Play.ScrollX = c.ScrollX;
    Play.ScrollY = c.ScrollY;
    ScrollView();
    EXPECT_EQ(Play.ScrollState == 0 ? 0 : Play.ScrollState, c.State) << c.Px << "," << c.Py;
  }
}

TEST_F(Scroll, ScrollingLeftAndUpEndOnTheScreenBoundary) {
  Play.ScrollX = -640;
  Place(630, 100);
  for (int i = 0; i < 80; ++i) ScrollView();
  EXPECT_EQ(Play.ScrollX, 0);
  EXPECT_EQ(Play.ScrollState, 0);
  Play.ScrollY = -480;
  Place(100, 400);
  for (int i = 0; i < 60; ++i) ScrollView();
  EXPECT_EQ(Play.ScrollY, 0);
  EXPECT_EQ(Play.ScrollState, 0);
}

TEST_F(Scroll, TheCellsDrawnCoverTheScreenAlsoMidScroll) {
  struct Case {
    int ScrollX, ScrollY, Columns, Rows;
    CellRange Expected;
  };
  const Case cases[] = {
      {0, 0, 200, 45, {0, 21, 0, 16}},
      {-40, 0, 200, 45, {1, 22, 0, 16}},  // columns 1 to 21, at screen x -8 to 632
      {-640, -480, 200, 45, {20, 41, 15, 31}},
      {0, 0, 20, 15, {0, 20, 0, 15}},     // never beyond the map
      {-1280, 0, 60, 45, {40, 60, 0, 16}},
      {-6400, 0, 200, 45, {200, 200, 0, 16}},  // beyond the stage's cells: nothing
  };
  for (const Case& c : cases) {
    const CellRange r = VisibleCells(c.ScrollX, c.ScrollY, c.Columns, c.Rows);
    EXPECT_EQ(r.C0, c.Expected.C0) << c.ScrollX;
    EXPECT_EQ(r.C1, c.Expected.C1) << c.ScrollX;
    EXPECT_EQ(r.R0, c.Expected.R0) << c.ScrollY;
    EXPECT_EQ(r.R1, c.Expected.R1) << c.ScrollY;
  }
  EXPECT_EQ(32 * 1 + -40, -8);
  EXPECT_EQ(32 * 21 + -40, 632);
}

}  // namespace
