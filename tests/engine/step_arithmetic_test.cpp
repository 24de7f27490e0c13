#include "engine/step_arithmetic.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorl {
namespace {

TEST(Interpolate, StraightLineAndDegenerateSpan) {
  EXPECT_DOUBLE_EQ(Interpolate(10, 20, 0, 0, 100), 10);
  EXPECT_DOUBLE_EQ(Interpolate(10, 20, 0, 100, 100), 20);
  EXPECT_DOUBLE_EQ(Interpolate(10, 20, 0, 25, 100), 12.5);
  EXPECT_DOUBLE_EQ(Interpolate(10, 20, 0, 150, 100), 25);  // extrapolates
  EXPECT_DOUBLE_EQ(Interpolate(10, 20, 5, 7, 5), 15);      // x1 == x2: the mean
}

TEST(RotatePointByIota, QuarterTurnAboutACentre) {
  const double quarter = std::acos(-1.0) / 2;
  EXPECT_NEAR(rotatePointByIota(Axis::X, 2, 1, 1, 1, quarter), 1, 1e-15);
  EXPECT_NEAR(rotatePointByIota(Axis::Y, 2, 1, 1, 1, quarter), 2, 1e-15);
  EXPECT_DOUBLE_EQ(getDistanceOfPoint(3, 4), 5);
}

}  // namespace
}  // namespace quorl
