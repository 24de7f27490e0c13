// A small program state with a rendered canvas, and views that record what
// curve editing shows, for the tests of the gestures and commands.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/plane_conversion.h"
#include "curves/plane_scale.h"
#include "engine/program_state.h"
#include "services/curve_edit_session.h"
#include "support/recording_host.h"

namespace quorl {

class StatusHost : public RecordingHost {
 public:
  void ShowStatus(const std::string& message) override { status.push_back(message); }
  std::string LastStatus() const { return status.empty() ? std::string() : status.back(); }
  std::vector<std::string> status;
};

class RecordingCanvasView : public CurveCanvasView {
 public:
  void SetCanvasCursor(CanvasCursor c) override { cursor = c; }
  CanvasCursor cursor = CanvasCursor::Default;
};

class RecordingPointsView : public CurvePointsView {
 public:
  void ShowSlotMark(int slot, bool marked, bool select) override {
    marks[static_cast<size_t>(slot)] = marked;
    if (select) selected = slot;
  }
  std::vector<bool> marks = std::vector<bool>(kCurveCount, false);
  int selected = -1;
};

// A 200 x 100 canvas at scale 2, rendered once in a mid grey, with the
// session in curve mode on slot 3.
class CurveEditFixture : public ::testing::Test {
 protected:
  static constexpr int kWidth = 200;
  static constexpr int kHeight = 100;

  void SetUp() override {
    state_ = std::make_unique<ProgramState>();
    ParameterSet& p = state_->params;
    p.ImageWidth = kWidth;
    p.ImageHeight = kHeight;
    p.BgMaxRed = 40;
    p.BgMaxGreen = 80;
    p.BgMaxBlue = 120;
    ASSERT_TRUE(state_->canvas.SetImageDimensions(p));
    state_->canvas.MakePictureBlack(p, state_->background);
    session_ = std::make_unique<CurveEditSession>(p, *state_, host_);
    session_->SetCanvasView(&canvas_view_);
    session_->SetPointsView(&points_view_);
    session_->IsDrawing = [this] { return drawing_; };
    session_->Mode = RightButtonMode::Curve;
    session_->SelectedSlot = kRadiusSlot;
  }

  ParameterSet& Params() { return state_->params; }
  CurveSlot& Slot(int i) { return state_->curves[i]; }
  Point PlaneAt(int px, int py) {
    return ConvertMouseToCoord(px, py, CurvePlaneScale(Params()), kWidth, kHeight);
  }
  // Gives slot i the points at these canvas pixels and sets it up.
  void SetPixelCurve(int i, const std::vector<std::pair<int, int>>& pixels) {
    Slot(i).Curve.Empty();
    for (auto [x, y] : pixels) Slot(i).Curve.AddCoordToCurve(PlaneAt(x, y));
    state_->curves.SetUpBezier(BezierKind::kSlot, i);
  }
  // Where a curve point shows on the canvas.
  std::pair<int, int> PixelOf(const Point& p) {
    int px = -1, py = -1;
    EXPECT_TRUE(session_->Geometry().ToPixel(p, px, py));
    return {px, py};
  }

  std::unique_ptr<ProgramState> state_;
  StatusHost host_;
  RecordingCanvasView canvas_view_;
  RecordingPointsView points_view_;
  std::unique_ptr<CurveEditSession> session_;
  bool drawing_ = false;
};

}  // namespace quorl
