#include <gtest/gtest.h>

#include <string>

#include "stage/scan.h"
#include "stage_files.h"

namespace {

class Scan : public StageFilesTest {
 protected:
  uint8_t& Cell(int c, int r) { return StageMap[c * 45 + r]; }
  std::string ScanFailure(int width, int height) {
    try {
      ScanStage(StageMap, width, height);
    } catch (const FatalExit& e) {
      return e.what();
    }
    return "";
  }
};

TEST_F(Scan, TheFirstStartPointInColumnOrderPlacesThePlayer) {
  GoalPlaced = 1;
  Cell(5, 2) = 1;
  Cell(3, 10) = 1;
  ScanStage(StageMap, 20, 15);
  EXPECT_EQ(Play.PlayerX, 104.0f);
  EXPECT_EQ(Play.PlayerY, 320.0f);
  EXPECT_EQ(Play.StartX, 104.0f);
  EXPECT_EQ(Play.StartY, 320.0f);
  EXPECT_EQ(Play.ScrollX, 0);
  EXPECT_EQ(Play.ScrollY, 0);
}

TEST_F(Scan, TheScreenHoldingTheStartIsShown) {
  GoalPlaced = 1;
  Cell(25, 20) = 1;
  ScanStage(StageMap, 60, 45);
  EXPECT_EQ(Play.PlayerX, 808.0f);
  EXPECT_EQ(Play.PlayerY, 640.0f);
  EXPECT_EQ(Play.ScrollX, -640);
  EXPECT_EQ(Play.ScrollY, -480);
}

TEST_F(Scan, ARestartKeepsThePlayerButRebuildsTheObjects) {
  GoalPlaced = 1;
  Cell(25, 20) = 1;
  Cell(4, 4) = 20;
  ScanStage(StageMap, 60, 45);
  StageObjects[0].State = 2;
  StageObjects[0].X = 999;
  Play.PlayerX = 50;
  Play.PlayerY = 60;
  Play.ScrollX = -1280;
  Play.ScrollY = 0;
  Play.PlayPhase = 2;
  ScanStage(StageMap, 60, 45);
  EXPECT_EQ(Play.PlayerX, 50.0f);
  EXPECT_EQ(Play.PlayerY, 60.0f);
  EXPECT_EQ(Play.ScrollX, -1280);
  EXPECT_EQ(Play.ScrollY, 0);
  ASSERT_EQ(ObjectCount, 1);
  EXPECT_EQ(StageObjects[0].State, 0);
  EXPECT_EQ(StageObjects[0].X, 128.0f);
}

TEST_F(Scan, ObjectsComeInColumnOrderWithTheirStartValues) {
  GoalPlaced = 1;
  Cell(0, 0) = 1;
  // 20 trap spikes: ids 20..39 spread over columns 10..14, bottom row first in each column to show the order.
  for (int i = 0; i < 20; ++i) Cell(10 + i / 4, 8 - i % 4) = static_cast<uint8_t>(20 + i);
  Cell(9, 3) = 189;
  Cell(2, 2) = 190;
  for (int id = 96; id <= 159; ++id) Cell(16 + (id - 96) / 15, (id - 96) % 15) = static_cast<uint8_t>(id);
  ScanStage(StageMap, 60, 45);
  ASSERT_EQ(ObjectCount, 21);
  const StageObject& bouncing = StageObjects[0];
  EXPECT_EQ(bouncing.Kind, 73);
  EXPECT_EQ(bouncing.Dir, 10);
  EXPECT_EQ(bouncing.State, 5);
  EXPECT_EQ(bouncing.X, 288.0f);
  EXPECT_EQ(bouncing.Y, 96.0f);
  EXPECT_EQ(bouncing.CellCol, 9);
  EXPECT_EQ(bouncing.CellRow, 3);
  EXPECT_EQ(bouncing.VX, -4.0f);
  EXPECT_EQ(bouncing.VY, -4.0f);
  // Within column 10 the rows run top to bottom: ids 23, 22, 21, 20.
  EXPECT_EQ(StageObjects[1].Kind, 4);
  EXPECT_EQ(StageObjects[4].Kind, 1);
  const StageObject& slowLeft = StageObjects[4];  // id 20
  EXPECT_EQ(slowLeft.Dir, 0);
  EXPECT_EQ(slowLeft.VX, -8.0f);
  EXPECT_EQ(slowLeft.VY, 0.0f);
  EXPECT_EQ(slowLeft.X, 320.0f);
  EXPECT_EQ(slowLeft.Y, 256.0f);
  EXPECT_EQ(slowLeft.State, 0);
  const StageObject& fastRight = StageObjects[7];  // id 25 at (11, 7)
  EXPECT_EQ(fastRight.Kind, 6);
  EXPECT_EQ(fastRight.Dir, 1);
  EXPECT_EQ(fastRight.VX, 12.0f);
}

TEST_F(Scan, TrapRovingAndBouncingKinds) {
  GoalPlaced = 1;
  Cell(0, 0) = 1;
  Cell(1, 0) = 83;
  Cell(2, 0) = 160;
  Cell(3, 0) = 167;
  ScanStage(StageMap, 20, 15);
  ASSERT_EQ(ObjectCount, 3);
  EXPECT_EQ(StageObjects[0].Kind, 64);
  EXPECT_EQ(StageObjects[0].VY, 12.0f);
  EXPECT_EQ(StageObjects[0].VX, 0.0f);
  EXPECT_EQ(StageObjects[1].Kind, 65);
  EXPECT_EQ(StageObjects[1].Dir, 0);
  EXPECT_EQ(StageObjects[1].State, 3);
  EXPECT_EQ(StageObjects[1].PixelX, 64);
  EXPECT_EQ(StageObjects[2].Kind, 72);
  EXPECT_EQ(StageObjects[2].Dir, 7);
}

TEST_F(Scan, RestartPointsAreRecordedAndLaterOnesWin) {
  GoalPlaced = 1;
  Cell(0, 0) = 1;
  Cell(4, 5) = 85;
  Cell(7, 1) = 85;
  Play.RestartPointX[5] = 77;  // left from an earlier stage
  ScanStage(StageMap, 20, 15);
  EXPECT_EQ(Play.RestartPointX[1], 224.0f);
  EXPECT_EQ(Play.RestartPointY[1], 32.0f);
  EXPECT_EQ(RestartPointInMap[1], 1);
  EXPECT_EQ(Play.RestartPointX[5], 77.0f);
  EXPECT_EQ(RestartPointInMap[5], 0);
}

TEST_F(Scan, TheStartPointIsCheckedBeforeTheGoal) {
  GoalPlaced = 0;
  EXPECT_EQ(ScanFailure(20, 15), "主人公が配置されていませんでした。");
  Cell(1, 1) = 1;
  EXPECT_EQ(ScanFailure(20, 15), "ゴールの旗が配置されていませんでした。");
  GoalPlaced = 1;
  EXPECT_EQ(ScanFailure(20, 15), "");
  // Cells outside the scanned width do not count.
  EXPECT_EQ(ScanFailure(1, 15), "主人公が配置されていませんでした。");
}

}  // namespace
