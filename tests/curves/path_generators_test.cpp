// The four path generators and "Make path".
#include <gtest/gtest.h>

#include <cmath>

#include "curve_edit_test_support.h"
#include "curves/path_generators.h"

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
  kCurve curve;
  ASSERT_TRUE(GeneratePath(Figure(PathKind::Circle, {1.5, 3, 0}), curve));
  ASSERT_EQ(curve.GetLength(), 501);
  EXPECT_EQ(curve.Points[0], (kCoord{1.5, 0}));
  EXPECT_LT(curve.Points[1].Y, 0);
  for (const kCoord& p : curve.Points) EXPECT_NEAR(std::hypot(p.X, p.Y), 1.5, 1e-12);

  ASSERT_TRUE(GeneratePath(Figure(PathKind::Circle, {1.5, 0, 0.7}, false), curve));
  EXPECT_GT(curve.Points[1].Y, 0);
  EXPECT_NEAR(std::hypot(curve.Points[250].X, curve.Points[250].Y), 1.5, 1e-12);
}

TEST(PathGenerators, CircleWithFiveBumpsHasFiveBulges) {
  kCurve curve;
  ASSERT_TRUE(GeneratePath(Figure(PathKind::Circle, {1, 5, 0.2}), curve));
  int bulges = 0;
  for (int i = 0; i < 500; ++i) {
    auto radius = [&](int k) { return std::hypot(curve.Points[(k + 500) % 500].X, curve.Points[(k + 500) % 500].Y); };
    if (radius(i) > radius(i - 1) && radius(i) > radius(i + 1)) ++bulges;
  }
  EXPECT_EQ(bulges, 5);
}

TEST(PathGenerators, TrochoidsCloseAndNeedANonZeroB) {
  kCurve curve;
  ASSERT_TRUE(GeneratePath(Figure(PathKind::Hypotrochoid, {1.5, 0.5, 1.0}), curve));
  EXPECT_EQ(curve.Points[0], (kCoord{2, 0}));
  EXPECT_NEAR(curve.Points.back().X, curve.Points[0].X, 1e-12);
  EXPECT_NEAR(curve.Points.back().Y, curve.Points[0].Y, 1e-12);

  ASSERT_TRUE(GeneratePath(Figure(PathKind::Epitrochoid, {1.5, 0.5, 0.6}), curve));
  EXPECT_NEAR(curve.Points[0].X, 1.4, 1e-15);

  EXPECT_FALSE(GeneratePath(Figure(PathKind::Epitrochoid, {1.5, 0, 0.6}), curve));
  EXPECT_EQ(curve.GetLength(), 0);
}

TEST(PathGenerators, RotationTurnsTheLissajousFigureAboutTheOrigin) {
  kCurve curve;
  const std::vector<double> defaults = {1.5, 1.5, 2, 3, M_PI / 2, 0};
  ASSERT_TRUE(GeneratePath(Figure(PathKind::Lissajous, defaults), curve));
  EXPECT_NEAR(curve.Points[0].X, 1.5, 1e-15);
  EXPECT_NEAR(curve.Points[0].Y, 0, 1e-15);
  ASSERT_TRUE(GeneratePath(Figure(PathKind::Lissajous, defaults, true, 500, 90), curve));
  EXPECT_NEAR(curve.Points[0].X, 0, 1e-15);
  EXPECT_NEAR(curve.Points[0].Y, 1.5, 1e-15);
}

TEST(PathGenerators, StepCountsOutsideTheFieldRangeAreKeptInIt) {
  kCurve curve;
  ASSERT_TRUE(GeneratePath(Figure(PathKind::Circle, {1, 0, 0}, true, 0), curve));
  EXPECT_EQ(curve.GetLength(), 2);
  ASSERT_TRUE(GeneratePath(Figure(PathKind::Circle, {1, 0, 0}, true, 1 << 30), curve));
  EXPECT_EQ(curve.GetLength(), 3001);
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

TEST_F(MakePathTest, RefusalsLeaveTheCurveAsItWas) {
  SetPixelCurve(3, {{20, 50}, {60, 30}, {100, 50}, {140, 70}, {180, 50}});
  const std::vector<kCoord> before = Slot(3).Curve.Points;
  const std::vector<std::string> bad = {"1.5", "-", "1"};
  MakePath(*session_, 2, bad);
  EXPECT_EQ(host_.messages.back(), "Please fill in a, b and h with numbers. e.g 1, 0.5, -0.3");
  const std::vector<std::string> lissajous = {"1", "1", "x", "3", "0", "0"};
  MakePath(*session_, 4, lissajous);
  EXPECT_EQ(host_.messages.back(), "Please fill in alpha, beta, delta and omega with numbers. e.g 1, 0.5, -0.3");
  MakePath(*session_, 7, bad);
  EXPECT_EQ(host_.messages.back(), "Hmm, there seems to be a problem with the kind of path: 7");
  session_->Mode = RightButtonMode::RotationPoints;
  MakePath(*session_, 1, std::vector<std::string>{"1", "0", "0"});
  EXPECT_EQ(host_.messages.back(), "No target curve selected, please select \"Set curve\" in the points form");
  EXPECT_EQ(Slot(3).Curve.Points, before);

  // b = 0 empties the target and makes nothing.
  session_->Mode = RightButtonMode::Curve;
  MakePath(*session_, 3, std::vector<std::string>{"1.5", "0", "0.6"});
  EXPECT_EQ(Slot(3).Curve.GetLength(), 0);
  EXPECT_EQ(std::find(host_.status.begin(), host_.status.end(), "Made new epitrochoid path"), host_.status.end());
}

}  // namespace
}  // namespace quorl
