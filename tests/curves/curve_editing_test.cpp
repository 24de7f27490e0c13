// Mouse gestures on the canvas and the curve display.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "curve_edit_test_support.h"
#include "curves/curve_editing.h"

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
  std::vector<kCoord> Drag(int index, int dx, int dy, MouseKeys keys, kCoord* to = nullptr) {
    SetPixelCurve(3, {{20, 50}, {60, 30}, {100, 50}, {140, 70}, {180, 50}});
    session_->btnDrawMultiplierClick();
    const std::vector<kCoord> before = Slot(3).Curve.Points;
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
  const std::vector<kCoord> old = Slot(3).Curve.Points;

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

TEST_F(CurveEditingTest, NothingIsTakenWhileARunIsDrawing) {
  SetPixelCurve(3, {{20, 50}, {60, 30}, {100, 50}, {140, 70}, {180, 50}});
  session_->btnDrawMultiplierClick();
  const std::vector<kCoord> before = Slot(3).Curve.Points;
  drawing_ = true;
  Stroke({{10, 25}, {40, 25}, {70, 25}});
  EXPECT_EQ(Slot(3).Curve.Points, before);
  auto [px, py] = PixelOf(before[1]);
  mouse_->Image1MouseDown(px, py, kLeftButton, {});
  EXPECT_FALSE(mouse_->CurveDragging());
  // Hovering still reports the point.
  mouse_->Image1MouseMove(px, py, kNoButton, {});
  EXPECT_EQ(host_.LastStatus(), "Bezier point: 1");
}

TEST_F(CurveEditingTest, AnimationPathModeStrokesThePathNotTheSlot) {
  session_->AnimationPathMode = true;
  Stroke({{10, 25}, {40, 25}, {70, 25}, {100, 25}, {130, 25}});
  EXPECT_EQ(state_->curves.AnimStartPathCurve.GetLength(), 5);
  EXPECT_TRUE(state_->curves.AnimStartPathBezier.IsValid());
  EXPECT_EQ(Slot(3).Curve.GetLength(), 0);
  session_->AnimationPathIsStart = false;
  Stroke({{10, 80}, {40, 80}});
  EXPECT_EQ(state_->curves.AnimEndPathCurve.GetLength(), 2);
  EXPECT_EQ(state_->curves.AnimStartPathCurve.GetLength(), 5);
}

TEST_F(CurveEditingTest, DraggingOnePointMovesItToTheMouseAtRelease) {
  kCoord to;
  const std::vector<kCoord> before = Drag(2, 7, 20, {}, &to);
  EXPECT_EQ(Slot(3).Curve.Points[2], to);
  for (int i : {0, 1, 3, 4}) EXPECT_EQ(Slot(3).Curve.Points[static_cast<size_t>(i)], before[static_cast<size_t>(i)]);
  EXPECT_TRUE(Slot(3).Bezier.IsValid());
  EXPECT_EQ(canvas_view_.cursor, CanvasCursor::Default);
}

TEST_F(CurveEditingTest, ShiftMovesCtrlRotatesAltStretchesTheWholeCurve) {
  kCoord m;
  std::vector<kCoord> before = Drag(0, 10, 5, {.shift = true}, &m);
  const kCoord shift{m.X - before[0].X, m.Y - before[0].Y};
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_NEAR(Slot(3).Curve.Points[i].X, before[i].X + shift.X, 1e-12);
    EXPECT_NEAR(Slot(3).Curve.Points[i].Y, before[i].Y + shift.Y, 1e-12);
  }

  // Rotation keeps every distance to the centroid and turns the grabbed
  // point towards the mouse.
  before = Drag(4, -10, -30, {.ctrl = true}, &m);
  kCoord c = Slot(3).Curve.Centroid;
  for (size_t i = 0; i < before.size(); ++i) {
    const kCoord was{before[i].X - c.X, before[i].Y - c.Y};
    const kCoord now{Slot(3).Curve.Points[i].X - c.X, Slot(3).Curve.Points[i].Y - c.Y};
    EXPECT_NEAR(now.Length(), was.Length(), 1e-12);
  }
  const kCoord grabbed{Slot(3).Curve.Points[4].X - c.X, Slot(3).Curve.Points[4].Y - c.Y};
  EXPECT_NEAR(std::atan2(grabbed.X, grabbed.Y), std::atan2(m.X - c.X, m.Y - c.Y), 1e-12);

  // Stretching also brings the grabbed point to the mouse's distance.
  before = Drag(4, 20, 0, {.alt = true}, &m);
  c = Slot(3).Curve.Centroid;
  EXPECT_NEAR(std::hypot(Slot(3).Curve.Points[4].X - c.X, Slot(3).Curve.Points[4].Y - c.Y),
              std::hypot(m.X - c.X, m.Y - c.Y), 1e-12);

  // Any other combination of keys moves the one point.
  before = Drag(1, 5, 5, {.ctrl = true, .alt = true}, &m);
  EXPECT_EQ(Slot(3).Curve.Points[1], m);
  EXPECT_EQ(Slot(3).Curve.Points[0], before[0]);
}

TEST_F(CurveEditingTest, DragStretchOfAPointOnTheCentroidChangesNothing) {
  const kCoord c{1, 1};
  EXPECT_EQ(DragStretch(c, c, kCoord{3, 4}), 1.0);
  EXPECT_DOUBLE_EQ(DragStretch(c, kCoord{2, 1}, kCoord{1, 4}), 3.0);
  EXPECT_NEAR(DragRotation(kCoord{}, kCoord{0, 1}, kCoord{1, 0}), -M_PI / 2, 1e-15);
}

TEST_F(CurveEditingTest, HoverReportsTheSquareUnderTheMouseAndLaterPointsWin) {
  SetPixelCurve(3, {{50, 50}, {55, 50}, {100, 50}, {140, 70}, {180, 50}});
  session_->btnDrawMultiplierClick();
  auto [x0, y0] = PixelOf(Slot(3).Curve.Points[0]);
  mouse_->Image1MouseMove(x0 - 4, y0, kNoButton, {});  // the white ring
  EXPECT_EQ(host_.LastStatus(), "Bezier point: 0");
  EXPECT_EQ(canvas_view_.cursor, CanvasCursor::HandPoint);
  mouse_->Image1MouseMove(x0 - 5, y0, kNoButton, {});  // just outside
  EXPECT_EQ(host_.LastStatus(), "");
  EXPECT_EQ(canvas_view_.cursor, CanvasCursor::Default);
  mouse_->Image1MouseMove(x0 + 2, y0, kNoButton, {});  // both squares
  EXPECT_EQ(host_.LastStatus(), "Bezier point: 1");

  // Once the curve is emptied its squares no longer count.
  Slot(3).Curve.Empty();
  mouse_->Image1MouseMove(x0, y0, kNoButton, {});
  EXPECT_EQ(host_.LastStatus(), "");
  mouse_->Image1MouseDown(x0, y0, kLeftButton, {});
  EXPECT_FALSE(mouse_->CurveDragging());
}

TEST_F(CurveEditingTest, RightClicksOutsideCurveModeAlternateBetweenAAndB) {
  session_->Mode = RightButtonMode::PathPoints;
  mouse_->Image1MouseUp(150, 25, kRightButton, {});
  mouse_->Image1MouseUp(50, 75, kRightButton, {});
  mouse_->Image1MouseUp(100, 50, kRightButton, {});
  EXPECT_EQ(points_view_.placed,
            (std::vector<std::string>{"path A 1.000 1.000", "path B -1.000 -1.000", "path A 0.000 0.000"}));
  EXPECT_EQ(Params().QuorlPointsXStart, 0.0);
  EXPECT_EQ(Params().QuorlPointsXEnd, -1.0);
  EXPECT_EQ(Params().QuorlPointsYEnd, -1.0);

  session_->Mode = RightButtonMode::RotationPoints;
  mouse_->Image1MouseUp(199, 0, kRightButton, {});
  EXPECT_EQ(points_view_.placed.back(), "rotate A 1.980 2.000");
  EXPECT_EQ(Params().QuorlPointsRotateXStart, 1.98);
  EXPECT_EQ(Params().QuorlPointsXEnd, -1.0);
}

TEST_F(CurveEditingTest, ShowingACurveLeavesTheCanvasAndPixelBufferAlone) {
  const std::vector<double> buffer(state_->canvas.PixelBuffer(),
                                   state_->canvas.PixelBuffer() + 3 * kWidth * kHeight);
  const Picture24 bitmap = state_->canvas.Bitmap();
  SetPixelCurve(3, {{20, 50}, {60, 30}, {100, 50}, {140, 70}, {180, 50}});
  session_->btnDrawMultiplierClick();

  EXPECT_EQ(std::vector<double>(state_->canvas.PixelBuffer(), state_->canvas.PixelBuffer() + 3 * kWidth * kHeight),
            buffer);
  EXPECT_EQ(state_->canvas.Bitmap(), bitmap);
  EXPECT_TRUE(state_->canvas.MultiplierMode);
  const Picture24& shown = canvas_view_.shown;
  ASSERT_EQ(shown.Width(), kWidth);

  // Point 0 of 5: blue centre in a white ring; point 4: r = 204.
  auto pixel = [&](int x, int y) {
    const std::uint8_t* p = shown.Row(y) + 3 * x;
    return std::array<int, 3>{p[2], p[1], p[0]};
  };
  auto [x0, y0] = PixelOf(Slot(3).Curve.Points[0]);
  EXPECT_EQ(pixel(x0, y0), (std::array<int, 3>{0, 0, 255}));
  EXPECT_EQ(pixel(x0 + 4, y0 + 4), (std::array<int, 3>{255, 255, 255}));
  auto [x4, y4] = PixelOf(Slot(3).Curve.Points[4]);
  EXPECT_EQ(pixel(x4, y4), (std::array<int, 3>{204, 0, 51}));

  // Without control points, the line is the background plus 127 per
  // channel, wrapping.
  session_->ShowControlPoints = false;
  session_->btnDrawMultiplierClick();
  int line = 0, other = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const auto c = pixel(x, y);
      if (c == std::array<int, 3>{167, 207, 247}) ++line;
      else if (c != std::array<int, 3>{40, 80, 120}) ++other;
    }
  EXPECT_GT(line, 100);
  EXPECT_EQ(other, 0);
}

TEST_F(CurveEditingTest, SampleCountsStayBounded) {
  EXPECT_EQ(CurveSampleCount(0.5), 10000);
  EXPECT_EQ(CurveSampleCount(0), 0);
  EXPECT_EQ(CurveSampleCount(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(CurveSampleCount(std::numeric_limits<double>::infinity()), 0);
  EXPECT_EQ(CurveSampleCount(1e12), kMaxCurveSamples);
}

}  // namespace
}  // namespace quorl
