#include <gtest/gtest.h>

#include <numbers>

#include "curves/bezier.h"
#include "curves/curve.h"

namespace quorl {
namespace {

constexpr double kEps = 1e-9;

CurvePoints CurveOf(std::initializer_list<Point> points) {
  CurvePoints c;
  for (const Point& p : points) c.AddPoint(p.X, p.Y);
  return c;
}

BezierPath BezierOf(const CurvePoints& curve) {
  BezierPath b;
  b.InitBezier(curve.GetLength(), 100);
  for (const Point& p : curve.Points) b.AddBezierPoint(p.X, p.Y);
  b.BuildBezier();
  return b;
}

TEST(CurvePoints, MoveByThenRotateTurnsAboutTheMovedCentroid) {
  CurvePoints c = CurveOf({{-1, 0}, {1, 0}});
  c.MoveBy(10, 5);
  EXPECT_EQ(c.Centroid, (Point{10, 5}));
  EXPECT_EQ(c.Sum, (Point{0, 0}));  // the running sum does not follow a move
  c.Rotate(std::numbers::pi / 2);
  EXPECT_NEAR(c.GetXofI(0), 10, kEps);
  EXPECT_NEAR(c.GetYofI(0), 4, kEps);
  c.Expand(3);
  EXPECT_NEAR(c.GetYofI(0), 2, kEps);
  EXPECT_NEAR(c.GetYofI(1), 8, kEps);
}

TEST(CurvePoints, ReverseTwiceRestoresAndCopiesAreIndependent) {
  const CurvePoints original = CurveOf({{1, 2}, {3, 4}, {5, 7}});
  CurvePoints reversed, back;
  CurvePoints::ReverseCurve(original, reversed);
  EXPECT_EQ(reversed.Points[0], (Point{5, 7}));
  CurvePoints::ReverseCurve(reversed, back);
  EXPECT_EQ(back.Points, original.Points);

  CurvePoints copy = CurveOf({{9, 9}});
  CurvePoints::CopyCurve(original, copy);
  EXPECT_EQ(copy.Points, original.Points);
  copy.SetXYofI(0, Point{-1, -1});
  EXPECT_EQ(original.Points[0], (Point{1, 2}));

  // Into itself: the points survive.
  CurvePoints self = original;
  CurvePoints::ReverseCurve(self, self);
  EXPECT_EQ(self.Points, reversed.Points);
}

TEST(BezierPath, ReadsByFractionOfLengthClampedToTheEnds) {
  // Equal steps on a line: the reading is linear in u.
  const BezierPath even = BezierOf(CurveOf({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}));
  EXPECT_NEAR(even.GetTotalLength(), 4, kEps);
  EXPECT_NEAR(even.EvalX(0.5), 2, kEps);  // the middle point
  EXPECT_NEAR(even.EvalX(0.3), 1.2, kEps);
  EXPECT_EQ(even.EvalX(-2), 0);
  EXPECT_EQ(even.EvalX(7), 4);
  EXPECT_EQ(even.Eval(1), (Point{4, 0}));

  // Spans of lengths 1, 1, 2 and 6 (cumulative 1, 2, 4, 10). 2.5 along lies
  // a quarter into the third span, whose controls are 2, 7/3, 8/3 and 4.
  const BezierPath uneven = BezierOf(CurveOf({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {10, 0}}));
  EXPECT_NEAR(uneven.GetTotalLength(), 10, kEps);
  EXPECT_NEAR(uneven.EvalX(0.25), 2.265625, kEps);
  EXPECT_NEAR(uneven.EvalX(0.15), 1.5, kEps);
  // The joint of the last two spans lies between the thirds of its legs,
  // not on the inner point 3.
  EXPECT_NEAR(uneven.EvalX(0.4), 4, kEps);
}

TEST(BezierPath, ZeroLengthSpansReadWithoutDividingByZero) {
  // The last span has no length at all and the end of the curve falls into it.
  const BezierPath tail = BezierOf(CurveOf({{2, 1}, {1, 0}, {0, 0}, {0, 0}, {0, 0}}));
  EXPECT_GT(tail.GetTotalLength(), 0);
  EXPECT_EQ(tail.EvalX(1), 0);
  EXPECT_EQ(tail.EvalY(1), 0);
  const BezierPath dot = BezierOf(CurveOf({{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}));
  ASSERT_TRUE(dot.IsValid());
  EXPECT_EQ(dot.EvalX(0.3), 0);
}

}  // namespace
}  // namespace quorl
