#include "flow_fixture.h"

using BloodTest = FlowTest;

TEST_F(BloodTest, DeathFrameStartsTheGameOverAndRunsTheDropsOnce) {
  SetRandomOverride(RandomZero);
  Play.PlayerX = 200;
  Play.PlayerY = 160;
  Play.DeadState = 5;
  Flow();
  EXPECT_EQ(Play.PlayPhase, 1);
  EXPECT_EQ(BloodState, 2);
  for (const BloodDrop& drop : BloodDrops) {
    ASSERT_EQ(drop.Alive, 1);
    ASSERT_EQ(drop.X, 206.0f);
    ASSERT_EQ(drop.Y, 172.75f);
    ASSERT_EQ(drop.VX, -395.0f);
    ASSERT_EQ(drop.VY, -641.0f);
  }
}

TEST_F(BloodTest, SpawnTakesVxThenVyFromEachRandomValue) {
  static uint32_t next;
  next = 0;
  // 0x80000000 * 801 >> 32 = 400; 0xFFFFFFFF gives 800.
  SetRandomOverride([] { return (next++ % 2 == 0) ? 0x80000000u : 0xFFFFFFFFu; });
  Play.PlayerX = 200;
  Play.PlayerY = 160;
  Play.DeadState = 1;
  Flow();
  // vx 0, vy 150 before the first movement.
  EXPECT_EQ(BloodDrops[0].X, 208.0f);
  EXPECT_EQ(BloodDrops[0].Y, 176.75f);
  EXPECT_EQ(BloodDrops[0].VX, 0.0f);
  EXPECT_EQ(BloodDrops[0].VY, 159.0f);
  EXPECT_EQ(BloodDrops[511].VY, 159.0f);
}

TEST_F(BloodTest, SpawnsOnlyOnceAndOnlyFromAFreshDeath) {
  SetRandomOverride(RandomZero);
  Play.PlayerX = 200;
  Play.PlayerY = 160;
  Play.DeadState = 5;
  Flow();
  Flow();
  // A second frame moves the drops on instead of spawning them again.
  EXPECT_EQ(BloodDrops[0].X, 206.0f - 395.0f / 200);
  EXPECT_EQ(BloodDrops[0].VY, -632.0f);
}

// One drop running on a fixture map; the others dead.
static BloodDrop& OnlyDrop(float x, float y, float vx, float vy) {
  for (BloodDrop& drop : BloodDrops) drop = BloodDrop{};
  BloodState = 2;
  BloodDrops[0] = BloodDrop{1, x, y, vx, vy};
  return BloodDrops[0];
}

TEST_F(BloodTest, SettlesOnAFloorAndSlidesOnEverSlower) {
  for (int c = 0; c < 20; ++c) Put(c, 10, Block);  // top at y 320
  BloodDrop& drop = OnlyDrop(100, 300, 100, 200);
  for (int frame = 0; frame < 20; ++frame) Flow();
  EXPECT_EQ(drop.Y, 319.0f);
  EXPECT_EQ(drop.VY, 0.8f);
  float last = drop.X;
  for (int frame = 0; frame < 600; ++frame) {
    Flow();
    ASSERT_EQ(drop.Y, 319.0f);
    ASSERT_GE(drop.X, last);
    last = drop.X;
  }
  EXPECT_EQ(drop.Alive, 1);
  EXPECT_NEAR(drop.X, 140.0f, 1.0f);
}

TEST_F(BloodTest, PassesThroughInvisibleBlocksAndSettlesOnIce) {
  Put(3, 6, InvisibleBlock);
  Put(3, 10, IceBlock);
  BloodDrop& drop = OnlyDrop(100, 150, 0, 200);
  for (int frame = 0; frame < 200; ++frame) Flow();
  EXPECT_EQ(drop.Alive, 1);
  EXPECT_EQ(drop.Y, 319.0f);
  EXPECT_EQ(drop.X, 100.0f);
}

TEST_F(BloodTest, CreepsDownTheSideOfABlock) {
  Put(5, 5, Block);  // x 160..191
  BloodDrop& drop = OnlyDrop(156, 170, 800, -100);
  Flow();
  // Moved to (160, 169.5), into the block's left edge: it clings to that side.
  EXPECT_EQ(drop.X, 159.0f);
  EXPECT_EQ(drop.VX, -0.2f);
  EXPECT_EQ(drop.Y, 169.5f);
}

TEST_F(BloodTest, DropsLeavingTheMapDie) {
  BloodDrop& left = OnlyDrop(1, 100, -400, 0);
  Flow();
  EXPECT_EQ(left.Alive, 0);
  BloodDrop& below = OnlyDrop(100, 447, 0, 400);  // beyond 32 x 15 - 32
  Flow();
  EXPECT_EQ(below.Alive, 0);
  // A custom stage is 60 x 45 cells whatever StageWidth says.
  Play.PlaySource = 1;
  BloodDrop& wide = OnlyDrop(1000, 1000, 0, 0);
  Flow();
  EXPECT_EQ(wide.Alive, 1);
}

TEST_F(BloodTest, VelocitiesAreClampedAfterTheMove) {
  BloodDrop& drop = OnlyDrop(300, 200, 0, 795);
  Flow();
  EXPECT_EQ(drop.VY, 800.0f);
  EXPECT_EQ(drop.Y, 200.0f + 795.0f / 200);
}
