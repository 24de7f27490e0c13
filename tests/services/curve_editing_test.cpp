// Mouse gestures on the canvas and the curve display.
#include "services/curve_editing.h"

#include <gtest/gtest.h>

#include "support/curve_edit_test_support.h"

namespace quorl {
namespace {

class CurveEditingTest : public CurveEditFixture {
 protected:
  void SetUp() override {
    CurveEditFixture::SetUp();
    mouse_ = std::make_unique<CurveMouseEditor>(*session_);
  }
  // A right-button stroke through these pixels.
  void Stroke(const std::vector<std::pair<int, int>>& pixels) {
    mouse_->Image1MouseDown(pixels.front().first, pixels.front().second, kRightButton, {});
    for (auto [x, y] : pixels) mouse_->Image1MouseMove(x, y, kRightButton, {});
    mouse_->Image1MouseUp(pixels.back().first, pixels.back().second, kRightButton, {});
  }
  // Shows a five-point curve in slot 3 and drags point `index` by (dx, dy)
  // pixels with `keys`, grabbing it 2 pixels off its centre.
  std::vector<Point> Drag(int index, int dx, int dy, MouseKeys keys, Point* to = nullptr) {
    SetPixelCurve(3, {{20, 50}, {60, 30}, {100, 50}, {140, 70}, {180, 50}});
    session_->SelectSlotCurve();
    const std::vector<Point> before = Slot(3).Curve.Points;
    auto [px, py] = PixelOf(before[static_cast<size_t>(index)]);
    mouse_->Image1MouseDown(px + 2, py - 2, kLeftButton, keys);
    EXPECT_TRUE(mouse_->CurveDragging());
    mouse_->Image1MouseMove(px + 2 + dx, py - 2 + dy, kLeftButton, keys);
    EXPECT_EQ(Slot(3).Curve.Points, before) << "a drag changes nothing before the button is released";
    mouse_->Image1MouseUp(px + 2 + dx, py - 2 + dy, kLeftButton, keys);
    EXPECT_FALSE(mouse_->CurveDragging());
    EXPECT_EQ(Slot(3).UndoCurve.Points, before);
    if (to) *to = PlaneAt(px + 2 + dx, py - 2 + dy);
    return before;
  }

  std::unique_ptr<CurveMouseEditor> mouse_;
};

TEST_F(CurveEditingTest, StrokeReplacesTheCurveThinnedBySmoothingAndCountsFromFivePoints) {
  SetPixelCurve(3, {{20, 50}, {60, 30}, {100, 50}, {140, 70}, {180, 50}});
  const std::vector<Point> old = Slot(3).Curve.Points;

  // Moves no farther than the smoothing distance from the last point taken
  // give nothing after the first point.
  Stroke({{10, 25}, {20, 25}, {30, 25}, {35, 25}});
  EXPECT_EQ(Slot(3).Curve.GetLength(), 1);
  EXPECT_EQ(Slot(3).UndoCurve.Points, old);

  Stroke({{10, 25}, {40, 25}, {70, 25}, {100, 25}});
  EXPECT_EQ(Slot(3).Curve.GetLength(), 4);
  EXPECT_FALSE(Slot(3).Bezier.IsValid());
  state_->curves.ReadSlotMultipliers(Params(), 0, false);
  EXPECT_EQ(Slot(3).Multiplier, 1.0);

  Stroke({{10, 25}, {40, 25}, {70, 25}, {100, 25}, {130, 25}});
  ASSERT_EQ(Slot(3).Curve.GetLength(), 5);
  EXPECT_EQ(Slot(3).Curve.Points[0], PlaneAt(10, 25));
  ASSERT_TRUE(Slot(3).Bezier.IsValid());
  state_->curves.ReadSlotMultipliers(Params(), 0, false);
  EXPECT_NEAR(Slot(3).Multiplier, 2.0, 1e-12);  // row 25 is y = 1
  EXPECT_TRUE(points_view_.marks[3]);
  EXPECT_EQ(host_.LastStatus(), "Finished drawing \"Values - Radius\" bezier");
}

TEST_F(CurveEditingTest, DraggingOnePointMovesItToTheMouseAtRelease) {
  Point to;
  const std::vector<Point> before = Drag(2, 7, 20, {}, &to);
  EXPECT_EQ(Slot(3).Curve.Points[2], to);
  for (int i : {0, 1, 3, 4})
    EXPECT_EQ(Slot(3).Curve.Points[static_cast<size_t>(i)], before[static_cast<size_t>(i)]);
  EXPECT_TRUE(Slot(3).Bezier.IsValid());
  EXPECT_EQ(canvas_view_.cursor, CanvasCursor::Default);
}

}  // namespace
}  // namespace quorl
