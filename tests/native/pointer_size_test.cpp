// The side cursors are made at, from the user's pointer size and the display scale.
#include "platform/pointer_size.h"

#include <gtest/gtest.h>

#include <algorithm>

using pointer_size::CursorSide;

namespace {

TEST(PointerSize, WithoutAStoredSizeThePlatformsSideStands) {
  EXPECT_EQ(CursorSide(false, 0, 96, 32), 32);
  EXPECT_EQ(CursorSide(false, 0, 144, 48), 48);
  EXPECT_EQ(CursorSide(false, 128, 192, 64), 64) << "a value read without success is not used";
  EXPECT_EQ(CursorSide(false, 0, 96, 0), 32) << "a platform that answers nothing";
  EXPECT_EQ(CursorSide(false, 0, 96, -5), 32);
}

TEST(PointerSize, TheStoredSizeIsScaledWithTheDisplay) {
  // The slider's steps: 32 at size 1, 16 more each step, up to 256 at size 15.
  for (uint32_t step = 1; step <= 15; ++step) {
    const int base = static_cast<int>(32 + 16 * (step - 1));
    EXPECT_EQ(CursorSide(true, base, 96, 32), base) << step;
    EXPECT_EQ(CursorSide(true, base, 192, 64), std::min(2 * base, 256)) << step;
    EXPECT_EQ(CursorSide(true, base, 144, 48), std::min(base * 3 / 2, 256)) << step;
  }
  EXPECT_EQ(CursorSide(true, 32, 144, 48), 48) << "size 1 is the platform's own side";
  EXPECT_EQ(CursorSide(true, 48, 120, 40), 60) << "125 %";
  EXPECT_EQ(CursorSide(true, 40, 120, 40), 50);
  EXPECT_EQ(CursorSide(true, 33, 120, 40), 41) << "41.25 rounds down";
  EXPECT_EQ(CursorSide(true, 38, 120, 40), 48) << "47.5 rounds up";
}

TEST(PointerSize, HandEditedSizesAndOddScalesFallBack) {
  EXPECT_EQ(CursorSide(true, 31, 96, 32), 32);
  EXPECT_EQ(CursorSide(true, 257, 96, 32), 32);
  EXPECT_EQ(CursorSide(true, 0, 96, 32), 32);
  EXPECT_EQ(CursorSide(true, 0xFFFFFFFFu, 192, 64), 64) << "no overflow";
  EXPECT_EQ(CursorSide(true, 256, 0, 32), 32);
  EXPECT_EQ(CursorSide(true, 256, -96, 32), 32);
  EXPECT_EQ(CursorSide(true, 256, 1 << 30, 32), 32) << "no overflow";
  EXPECT_EQ(CursorSide(true, 128, 192, 64), 256) << "the largest side";
  EXPECT_EQ(CursorSide(true, 144, 192, 64), 256) << "never more than a cursor file holds";
  EXPECT_EQ(CursorSide(true, 256, 960, 320), 256);
}

}  // namespace
