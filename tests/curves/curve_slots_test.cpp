#include "curves/curve_slots.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "base/plane_conversion.h"
#include "curves/plane_scale.h"
#include "settings/parameter_set.h"

namespace quorl {
namespace {

void AddHorizontal(CurvePoints& c, double y, int points) {
  for (int i = 0; i < points; ++i) c.AddPoint(i - 2.0, y);
}

class CurveSlotsTest : public ::testing::Test {
 protected:
  void SetUp(int slot) { ASSERT_TRUE(slots_.SetUpBezier(BezierKind::kSlot, slot)); }

  CurveSlots slots_;
  ParameterSet params_;
};

TEST_F(CurveSlotsTest, MultipliersAreOnePlusTheCurveHeight) {
  AddHorizontal(slots_[kRadiusSlot].Curve, 0.5, 7);
  AddHorizontal(slots_[kStartRedSlot].Curve, -1, 5);
  AddHorizontal(slots_[kBumpsSlot].Curve, 0.5, 4);  // four points: no effect
  for (int i = 0; i < 5; ++i) slots_[kSmoothSlot].Curve.AddPoint(i, 0.1 * i);
  for (int slot : {3, 16, 5, 6}) SetUp(slot);
  params_.Steps = 40;
  for (int step : {0, 1, 20, 40}) {
    slots_.ReadSlotMultipliers(params_, step, false);
    EXPECT_DOUBLE_EQ(slots_[kRadiusSlot].Multiplier, 1.5);
    EXPECT_DOUBLE_EQ(slots_[kStartRedSlot].Multiplier, 0);
    EXPECT_EQ(slots_[kBumpsSlot].Multiplier, 1.0);
    EXPECT_EQ(slots_[kAngleSlot].Multiplier, 1.0);  // no curve
  }
  // The first step reads the start of the curve, the last its end.
  slots_.ReadSlotMultipliers(params_, 0, false);
  EXPECT_DOUBLE_EQ(slots_[kSmoothSlot].Multiplier, 1.0);
  slots_.ReadSlotMultipliers(params_, 40, false);
  EXPECT_DOUBLE_EQ(slots_[kSmoothSlot].Multiplier, 1.4);

  // The fifth point takes effect with the next set-up.
  slots_[kBumpsSlot].Curve.AddPoint(2, 0.5);
  SetUp(5);
  slots_.ReadSlotMultipliers(params_, 3, false);
  EXPECT_DOUBLE_EQ(slots_[kBumpsSlot].Multiplier, 1.5);
}

TEST_F(CurveSlotsTest, Arctan2GivesTheAngleSeenFromTheOrigin) {
  for (int i = 0; i < 5; ++i) slots_[kStartXSlot].Curve.AddPoint(0, i - 1.0);  // on the y axis
  for (int i = 0; i < 5; ++i) slots_[kStartYSlot].Curve.AddPoint(-1, 0);       // at (-1, 0)
  for (int i = 0; i < 5; ++i) slots_[kEndXSlot].Curve.AddPoint(1 + i, 1 + i);  // the diagonal
  AddHorizontal(slots_[kEndYSlot].Curve, 0.5, 3);                              // too short
  for (int slot : {8, 9, 10, 11}) SetUp(slot);
  slots_.ReadSlotMultipliers(params_, 500, true);
  EXPECT_EQ(slots_[kStartXSlot].Multiplier, 1.0);
  EXPECT_DOUBLE_EQ(slots_[kStartYSlot].Multiplier, std::numbers::pi);
  EXPECT_DOUBLE_EQ(slots_[kEndXSlot].Multiplier, std::numbers::pi / 4);
  EXPECT_EQ(slots_[kEndYSlot].Multiplier, 1.0);
}

// A 400 x 200 canvas at StartScale 200 (S = 2) spans x -4 ... 4, y -2 ... 2.
constexpr int kW = 400;
constexpr int kH = 200;
constexpr double kS = 2.0;

TEST(CurvePlane, MouseAndPlaneAndPixelsAgree) {
  ParameterSet params;
  EXPECT_EQ(GetPixelFromReal(Axis::X, -kS * kW / kH, kS, kW, kH), 0);
  EXPECT_EQ(GetPixelFromReal(Axis::X, -4.0001, kS, kW, kH), -1);
  EXPECT_EQ(GetPixelFromReal(Axis::X, 3.999, kS, kW, kH), 399);
  EXPECT_EQ(GetPixelFromReal(Axis::Y, -2, kS, kW, kH), 0);  // row 0 is the bottom
  EXPECT_EQ(GetPixelFromReal(Axis::Y, 1.999, kS, kW, kH), 199);
  const Point m = ConvertMouseToCoord(123, 45, CurvePlaneScale(params), kW, kH);
  EXPECT_EQ(GetPixelFromReal(Axis::X, m.X + 1e-9, kS, kW, kH), 123);
  EXPECT_EQ(GetPixelFromReal(Axis::Y, m.Y - 1e-9, kS, kW, kH), kH - 1 - 45);
}

TEST(CurvePlane, PixelIndicesBeyondAnIntAreOffTheCanvasAndCounted) {
  PixelRangeFaults faults;
  EXPECT_EQ(GetPixelFromReal(Axis::X, 1e300, kS, kW, kH, &faults), -1);
  EXPECT_EQ(GetPixelFromReal(Axis::Y, std::numeric_limits<double>::infinity(), kS, kW, kH, &faults), -1);
  EXPECT_EQ(GetPixelFromReal(Axis::X, std::nan(""), kS, kW, kH, &faults), -1);
  EXPECT_EQ(faults.Count, 3);
  EXPECT_EQ(GetPixelFromReal(Axis::X, -1e300, kS, kW, kH, &faults), -1);  // left: off, not a fault
  EXPECT_EQ(GetPixelFromReal(Axis::X, 1e300, kS, kW, kH), -1);            // no counter given
  EXPECT_EQ(GetPixelFromReal(Axis::Y, 1e7, kS, kW, kH, &faults), 500000100);
  EXPECT_EQ(faults.Count, 3);
}

}  // namespace
}  // namespace quorl
