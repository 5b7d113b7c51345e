#include "flow_fixture.h"
#include "play/inplay_flow.h"

using DebrisTest = FlowTest;

TEST_F(DebrisTest, AFragmentRisesTwentyOneFramesAndTheSlotIsFreeAfter121) {
  DebrisSlot& slot = DebrisSlots[3];
  slot.Active = 1;
  for (int k = 0; k < 4; ++k) {
    slot.X[k] = 100;
    slot.Y[k] = 200;
    slot.VX[k] = k < 2 ? -2.0f : 2.0f;
    slot.VY[k] = k % 2 == 0 ? -6.5f : -4.5f;
  }
  float lastY = slot.Y[0];
  int risingFrames = 0;
  for (int frame = 1; frame <= 121; ++frame) {
    ASSERT_EQ(slot.Active, 1) << frame;
    UpdateDebris();
    if (slot.Y[0] < lastY) risingFrames = frame;
    lastY = slot.Y[0];
  }
  EXPECT_EQ(risingFrames, 21);
  EXPECT_EQ(slot.Active, 0);
  EXPECT_EQ(slot.Counter, 0);
  EXPECT_GT(slot.Y[0], 1000.0f);
  EXPECT_EQ(slot.X[2], 100.0f + 2 * 121);
}

TEST_F(DebrisTest, DebrisIsNeverFrozen) {
  DebrisSlots[0].Active = 1;
  DebrisSlots[0].VX[0] = 1;
  Play.Paused = 1;
  Play.PlayPhase = 1;
  Play.ScrollState = 2;
  Flow();
  EXPECT_EQ(DebrisSlots[0].X[0], 1.0f);
  EXPECT_EQ(DebrisSlots[0].Counter, 1);
}

TEST_F(DebrisTest, DebrisFliesOnAcrossARestart) {
  StartStage(PlayableMap());
  DebrisSlots[7].Active = 1;
  DebrisSlots[7].Counter = 50;
  Play.DeadState = 5;
  Flow();
  Flow({KeyR});
  EXPECT_EQ(Play.PlayPhase, 0);
  EXPECT_EQ(DebrisSlots[7].Active, 1);
  EXPECT_EQ(DebrisSlots[7].Counter, 52);
}
