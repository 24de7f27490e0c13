#include "services/picture_scaling.h"

#include <gtest/gtest.h>

namespace quorl {
namespace {

TEST(ShrinkToFit, AveragesTheCoveredPixelsAndKeepsTheProportions) {
  Picture24 picture(4, 2);
  // Left half black, right half white, except one grey-blue pixel.
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) picture.SetPixel(x, y, x < 2 ? 0 : 255, x < 2 ? 0 : 255, x < 2 ? 0 : 255);
  picture.SetPixel(0, 0, 0, 0, 200);
  const Picture24 half = ShrinkToFit(picture, 2, 100);  // width limits: 2 x 1
  ASSERT_EQ(half.Width(), 2);
  ASSERT_EQ(half.Height(), 1);
  EXPECT_EQ(half.Row(0)[0], 50);  // blue: 200 over four pixels
  EXPECT_EQ(half.Row(0)[2], 0);
  EXPECT_EQ(half.Row(0)[3], 255);

  // Three columns into two: the middle one is shared half and half.
  Picture24 three(3, 1);
  three.SetPixel(0, 0, 0, 0, 0);
  three.SetPixel(1, 0, 90, 90, 90);
  three.SetPixel(2, 0, 180, 180, 180);
  const Picture24 two = ShrinkToFit(three, 2, 2);
  ASSERT_EQ(two.Width(), 2);
  EXPECT_EQ(two.Row(0)[0], 30);   // (0 * 1 + 90 * 0.5) / 1.5
  EXPECT_EQ(two.Row(0)[3], 150);  // (90 * 0.5 + 180 * 1) / 1.5
}

TEST(ShrinkToFit, LeavesSmallPicturesAloneAndRefusesEmptyOnes) {
  Picture24 small(3, 5);
  small.SetPixel(1, 4, 9, 8, 7);
  EXPECT_TRUE(ShrinkToFit(small, 3, 5) == small);
  EXPECT_TRUE(ShrinkToFit(Picture24(), 10, 10).Empty());
  EXPECT_TRUE(ShrinkToFit(small, 0, 10).Empty());
  const Picture24 tall = ShrinkToFit(Picture24(10, 1000), 50, 50);
  EXPECT_EQ(tall.Height(), 50);
  EXPECT_EQ(tall.Width(), 1);
}

}  // namespace
}  // namespace quorl
