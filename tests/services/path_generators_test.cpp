// The four path generators and "Make path".
#include "services/path_generators.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/curve_edit_test_support.h"

namespace quorl {
namespace {

PathFigure Figure(PathKind kind, std::vector<double> shape, bool clockwise = true, int steps = 500,
                  double rotatedBy = 0) {
  PathFigure f;
  f.kind = kind;
  f.shape = std::move(shape);
  f.clockwise = clockwise;
  f.steps = steps;
  f.rotatedBy = rotatedBy;
  return f;
}

TEST(PathGenerators, CircleStartsOnTheXAxisAndTurnsTheChosenWay) {
  CurvePoints curve;
  ASSERT_TRUE(GeneratePath(Figure(PathKind::Circle, {1.5, 3, 0}), curve));
  ASSERT_EQ(curve.GetLength(), 501);
  EXPECT_EQ(curve.Points[0], (Point{1.5, 0}));
  EXPECT_LT(curve.Points[1].Y, 0);
  for (const Point& p : curve.Points) EXPECT_NEAR(std::hypot(p.X, p.Y), 1.5, 1e-12);

  ASSERT_TRUE(GeneratePath(Figure(PathKind::Circle, {1.5, 0, 0.7}, false), curve));
  EXPECT_GT(curve.Points[1].Y, 0);
  EXPECT_NEAR(std::hypot(curve.Points[250].X, curve.Points[250].Y), 1.5, 1e-12);
}

TEST(PathGenerators, TrochoidsCloseAndNeedANonZeroB) {
  CurvePoints curve;
  ASSERT_TRUE(GeneratePath(Figure(PathKind::Hypotrochoid, {1.5, 0.5, 1.0}), curve));
  EXPECT_EQ(curve.Points[0], (Point{2, 0}));
  EXPECT_NEAR(curve.Points.back().X, curve.Points[0].X, 1e-12);
  EXPECT_NEAR(curve.Points.back().Y, curve.Points[0].Y, 1e-12);

  ASSERT_TRUE(GeneratePath(Figure(PathKind::Epitrochoid, {1.5, 0.5, 0.6}), curve));
  EXPECT_NEAR(curve.Points[0].X, 1.4, 1e-15);

  EXPECT_FALSE(GeneratePath(Figure(PathKind::Epitrochoid, {1.5, 0, 0.6}), curve));
  EXPECT_EQ(curve.GetLength(), 0);
}

class MakePathTest : public CurveEditFixture {};

TEST_F(MakePathTest, ReplacesTheSelectedSlotFromTheFieldTexts) {
  const std::vector<std::string> texts = {"1", "0", "0"};
  MakePath(*session_, 1, texts);
  ASSERT_EQ(Slot(3).Curve.GetLength(), 501);
  EXPECT_TRUE(Slot(3).Bezier.IsValid());
  EXPECT_TRUE(points_view_.marks[3]);
  EXPECT_NE(std::find(host_.status.begin(), host_.status.end(), "Made new circle path"), host_.status.end());

  // One step gives two points: too few for a curve, the slot reads 1.0.
  Params().NumberOfPathSteps = 1;
  MakePath(*session_, 1, texts);
  EXPECT_EQ(Slot(3).Curve.GetLength(), 2);
  state_->curves.ReadSlotMultipliers(Params(), 3, false);
  EXPECT_EQ(Slot(3).Multiplier, 1.0);
}

}  // namespace
}  // namespace quorl
