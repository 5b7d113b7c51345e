// The overlay's geometry against small maps: each line must join the cells the game would join.
#include <gtest/gtest.h>

#include "editor/trap_overlay.h"
#include "stage_sources.h"

namespace {

using C = OverlayCell;

TEST(TrapOverlay, TrapSpikesShootToTheCellBeforeTheFirstBlockAndListTheirTriggers) {
  // r: trap 1SR (21) shooting right into the wall, armed by two R (97); u: trap 2FU (34) shooting up off
  // the map, without a trigger.
  std::vector<uint8_t> cells = EditorStageFromRows({
                                                       "......",
                                                       ".u....",
                                                       "r..=.#",
                                                       "R...R.",
                                                   },
                                                   {{'r', 21}, {'u', 34}, {'R', 97}});
  TrapOverlay o = ComputeTrapOverlay(cells.data());
  ASSERT_EQ(o.Shots.size(), 2u);
  // Column by column: the right-shooting spike at (0, 2) first.
  EXPECT_EQ(o.Shots[0].Spike, (C{0, 2}));
  EXPECT_EQ(o.Shots[0].Dir, 1);
  EXPECT_EQ(o.Shots[0].End, (C{4, 2}));  // ice does not stop it; the Block at column 5 does
  EXPECT_FALSE(o.Shots[0].FliesOff);
  EXPECT_EQ(o.Shots[0].Triggers, (std::vector<C>{{0, 3}, {4, 3}}));
  EXPECT_EQ(o.Shots[1].Spike, (C{1, 1}));
  EXPECT_EQ(o.Shots[1].Dir, 2);
  EXPECT_EQ(o.Shots[1].End, (C{1, 0}));
  EXPECT_TRUE(o.Shots[1].FliesOff);
  EXPECT_TRUE(o.Shots[1].Triggers.empty());
}

TEST(TrapOverlay, RovingSpikesFollowTheirTurnersUntilTheyLoopOrMeetABlock) {
  // A circuit: the spike starts moving right (161) at (1, 1); turners down (171) at (4, 1), left (168) at
  // (4, 3), up (170) at (1, 3), right (169) at (1, 0) and down at (4, 0): it loops when it comes down
  // through (4, 1) again.
  std::vector<uint8_t> circuit = EditorStageFromRows({
                                                         ".>..d.",
                                                         ".o..d.",
                                                         "......",
                                                         ".u..l.",
                                                     },
                                                     {{'o', 161}, {'d', 171}, {'l', 168}, {'u', 170}, {'>', 169}});
  TrapOverlay o = ComputeTrapOverlay(circuit.data());
  ASSERT_EQ(o.Roving.size(), 1u);
  EXPECT_EQ(o.Roving[0].End, RovingLoops);
  EXPECT_EQ(o.Roving[0].Corners, (std::vector<C>{{1, 1}, {4, 1}, {4, 3}, {1, 3}, {1, 0}, {4, 0}, {4, 1}}));

  // A fast spike going left (164) turned down (175) into a Block: it halts in the cell above the block.
  std::vector<uint8_t> blocked = EditorStageFromRows({
                                                         ".t..o.",
                                                         "......",
                                                         ".#....",
                                                     },
                                                     {{'o', 164}, {'t', 175}});
  o = ComputeTrapOverlay(blocked.data());
  ASSERT_EQ(o.Roving.size(), 1u);
  EXPECT_EQ(o.Roving[0].End, RovingHaltsAtBlock);
  EXPECT_EQ(o.Roving[0].Corners, (std::vector<C>{{4, 0}, {1, 0}, {1, 1}}));

  // Nothing in its way: it leaves the map at the edge.
  std::vector<uint8_t> open = EditorStageFromRows({"..o"}, {{'o', 160}});
  o = ComputeTrapOverlay(open.data());
  EXPECT_EQ(o.Roving[0].End, RovingLeavesMap);
  EXPECT_EQ(o.Roving[0].Corners, (std::vector<C>{{2, 0}, {0, 0}}));
}

TEST(TrapOverlay, ABouncingSpikeSweepsTheRoomItIsShutIn) {
  // Invisible blocks count as walls for it; ice does not.
  std::vector<uint8_t> room = EditorStageFromRows({
      "#########",
      "#.......#",
      "#...O...#",
      "#.....=.#",
      "#.......#",
      "IIIIIIIII",
  });
  TrapOverlay o = ComputeTrapOverlay(room.data());
  ASSERT_EQ(o.Bouncing.size(), 1u);
  EXPECT_EQ(o.Bouncing[0].Spike, (C{4, 2}));
  EXPECT_EQ(o.Bouncing[0].TopLeft, (C{1, 1}));
  EXPECT_EQ(o.Bouncing[0].BottomRight, (C{7, 4}));
}

TEST(TrapOverlay, SaveBlocksJoinTheirRestartPointsTheLastOfANumberWinning) {
  std::vector<uint8_t> cells = EditorStageFromRows({
                                                       "1.a..a",
                                                       "..2.b.",
                                                       "3.....",
                                                   },
                                                   {{'a', 84}, {'b', 85}});
  TrapOverlay o = ComputeTrapOverlay(cells.data());
  // Save block 3 has no restart point: no line (the stage checks warn about it).
  ASSERT_EQ(o.Saves.size(), 2u);
  EXPECT_EQ(o.Saves[0].Block, (C{0, 0}));
  EXPECT_EQ(o.Saves[0].Restart, (C{5, 0}));
  EXPECT_EQ(o.Saves[1].Block, (C{2, 1}));
  EXPECT_EQ(o.Saves[1].Restart, (C{4, 1}));
}

}  // namespace
