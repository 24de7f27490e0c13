#include <gtest/gtest.h>

#include <numbers>

#include "curves/k_bezier.h"
#include "curves/k_curve.h"

namespace quorl {
namespace {

constexpr double kEps = 1e-9;

kCurve CurveOf(std::initializer_list<kCoord> points) {
  kCurve c;
  for (const kCoord& p : points) c.AddPoint(p.X, p.Y);
  return c;
}

kBezier BezierOf(const kCurve& curve) {
  kBezier b;
  b.InitBezier(curve.GetLength(), 100);
  for (const kCoord& p : curve.Points) b.AddBezierPoint(p.X, p.Y);
  b.BuildBezier();
  return b;
}

TEST(kCurve, MoveByThenRotateTurnsAboutTheMovedCentroid) {
  kCurve c = CurveOf({{-1, 0}, {1, 0}});
  c.MoveBy(10, 5);
  EXPECT_EQ(c.Centroid, (kCoord{10, 5}));
  EXPECT_EQ(c.Sum, (kCoord{0, 0}));  // the running sum does not follow a move
  c.Rotate(std::numbers::pi / 2);
  EXPECT_NEAR(c.GetXofI(0), 10, kEps);
  EXPECT_NEAR(c.GetYofI(0), 4, kEps);
  c.Expand(3);
  EXPECT_NEAR(c.GetYofI(0), 2, kEps);
  EXPECT_NEAR(c.GetYofI(1), 8, kEps);
}

TEST(kCurve, ReverseTwiceRestoresAndCopiesAreIndependent) {
  const kCurve original = CurveOf({{1, 2}, {3, 4}, {5, 7}});
  kCurve reversed, back;
  kCurve::ReverseCurve(original, reversed);
  EXPECT_EQ(reversed.Points[0], (kCoord{5, 7}));
  kCurve::ReverseCurve(reversed, back);
  EXPECT_EQ(back.Points, original.Points);

  kCurve copy = CurveOf({{9, 9}});
  kCurve::CopyCurve(original, copy);
  EXPECT_EQ(copy.Points, original.Points);
  copy.SetXYofI(0, kCoord{-1, -1});
  EXPECT_EQ(original.Points[0], (kCoord{1, 2}));

  // Into itself: the points survive.
  kCurve self = original;
  kCurve::ReverseCurve(self, self);
  EXPECT_EQ(self.Points, reversed.Points);
}

TEST(kBezier, ReadsByFractionOfLengthClampedToTheEnds) {
  // Equal steps on a line: the reading is linear in u.
  const kBezier even = BezierOf(CurveOf({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}));
  EXPECT_NEAR(even.GetTotalLength(), 4, kEps);
  EXPECT_NEAR(even.EvalX(0.5), 2, kEps);  // the middle point
  EXPECT_NEAR(even.EvalX(0.3), 1.2, kEps);
  EXPECT_EQ(even.EvalX(-2), 0);
  EXPECT_EQ(even.EvalX(7), 4);
  EXPECT_EQ(even.Eval(1), (kCoord{4, 0}));

  // Spans of lengths 1, 1, 2 and 6 (cumulative 1, 2, 4, 10). 2.5 along lies
  // a quarter into the third span, whose controls are 2, 7/3, 8/3 and 4.
  const kBezier uneven = BezierOf(CurveOf({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {10, 0}}));
  EXPECT_NEAR(uneven.GetTotalLength(), 10, kEps);
  EXPECT_NEAR(uneven.EvalX(0.25), 2.265625, kEps);
  EXPECT_NEAR(uneven.EvalX(0.15), 1.5, kEps);
  // The joint of the last two spans lies between the thirds of its legs,
  // not on the inner point 3.
  EXPECT_NEAR(uneven.EvalX(0.4), 4, kEps);
}

TEST(kBezier, ZeroLengthSpansReadWithoutDividingByZero) {
  // The last span has no length at all and the end of the curve falls into it.
  const kBezier tail = BezierOf(CurveOf({{2, 1}, {1, 0}, {0, 0}, {0, 0}, {0, 0}}));
  EXPECT_GT(tail.GetTotalLength(), 0);
  EXPECT_EQ(tail.EvalX(1), 0);
  EXPECT_EQ(tail.EvalY(1), 0);
  const kBezier dot = BezierOf(CurveOf({{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}));
  ASSERT_TRUE(dot.IsValid());
  EXPECT_EQ(dot.EvalX(0.3), 0);
}

}  // namespace
}  // namespace quorl
