#include <gtest/gtest.h>

#include "shell/game.h"

TEST(CopyKeyState, CopiesEveryEntryAsSignedValue) {
  for (int k = 0; k < 256; ++k) KeyState[k] = static_cast<uint8_t>(k);
  CopyKeyState();
  EXPECT_EQ(PrevKeyState[1], 1);
  EXPECT_EQ(PrevKeyState[127], 127);
  EXPECT_EQ(PrevKeyState[128], -128);
  EXPECT_EQ(PrevKeyState[255], -1);
}
