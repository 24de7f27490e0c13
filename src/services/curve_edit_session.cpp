#include "services/curve_edit_session.h"

#include "base/host.h"
#include "base/plane_conversion.h"
#include "curves/plane_scale.h"
#include "engine/program_state.h"

namespace quorl {

CurveEditSession::CurveEditSession(ParameterSet& params, ProgramState& state, Host& host)
    : params_(params), state_(state), host_(host) {
  IsDrawing = [this] { return state_.flags.IsDrawing; };
  RunOnCore = [](std::function<void()> work) { work(); };
}

CurveSlots& CurveEditSession::Curves() {
  return state_.curves;
}

CurveSlot& CurveEditSession::Selected() {
  return state_.curves[SelectedSlot];
}

void CurveEditSession::ShowStatus(const std::string& message) {
  host_.ShowStatus(message);
}

void CurveEditSession::ShowMessage(const std::string& text) {
  host_.ShowMessage(text);
}

void CurveEditSession::SetUpBezier(BezierKind kind) {
  state_.curves.SetUpBezier(kind, SelectedSlot);
}

void CurveEditSession::PutCurveToUndo(int slot) {
  if (!state_.curves.PutCurveToUndo(slot))
    ShowStatus("Trying to put a curve to undo... but no curve selected!");
}

void CurveEditSession::ShowSlotMark(int slot, bool marked, bool select) {
  if (slot < 0 || slot >= kCurveCount) return;
  if (select) SelectedSlot = slot;
  points_view_->ShowSlotMark(slot, marked, select);
}

void CurveEditSession::MarkCurve(int slot) {
  ShowSlotMark(slot, true, true);
}

void CurveEditSession::UnmarkCurve(int slot) {
  ShowSlotMark(slot, false, true);
}

void CurveEditSession::MarkLoadedSlots(const std::vector<int>& found) {
  for (int i = 0; i < kCurveCount; ++i) ShowSlotMark(i, false, false);
  for (int slot : found) ShowSlotMark(slot, true, false);
}

int CurveEditSession::CanvasWidth() const {
  return state_.canvas.CanvasWidth();
}

int CurveEditSession::CanvasHeight() const {
  return state_.canvas.CanvasHeight();
}

CanvasGeometry CurveEditSession::Geometry() {
  CanvasGeometry geometry;
  geometry.scale = CurrentPixelScale(params_, Drawing(), state_.step.StepScale);
  geometry.width = CanvasWidth();
  geometry.height = CanvasHeight();
  geometry.controlHalf = ControlPointHalf;
  return geometry;
}

void CurveEditSession::SaveCanvasIfNoCurveShown() {
  if (!state_.canvas.MultiplierMode) state_.canvas.CopyOutQuorlPicture();
}

const Picture24& CurveEditSession::CanvasPicture() const {
  return state_.canvas.Bitmap();
}

void CurveEditSession::RefreshDisplayIfStale() {
  // A render since the display replaced what was on screen; so does a
  // canvas of another size.
  const Picture24& bitmap = state_.canvas.Bitmap();
  if (display_base_ == bitmap && display_.Width() == bitmap.Width() && display_.Height() == bitmap.Height())
    return;
  display_base_ = bitmap;
  display_ = bitmap;
  control_squares_.clear();
}

const Picture24& CurveEditSession::DisplayPicture() {
  RefreshDisplayIfStale();
  return display_;
}

void CurveEditSession::ShowOnCanvas(const Picture24& picture) {
  canvas_view_->ShowCanvasPicture(picture);
  canvas_view_->ShowControlSquares(control_squares_);
}

void CurveEditSession::PaintTrace(int px, int py) {
  RefreshDisplayIfStale();
  PaintHighlightedPixel(display_, display_base_, px, py);
  ShowOnCanvas(display_);
}

void CurveEditSession::ShowPreview(const BezierPath& bezier, long long samples,
                                   const SampleTransform& transform) {
  RefreshDisplayIfStale();
  scratch_ = display_;
  // Highlighted against what is on screen, the curve included.
  PaintCurveSamples(scratch_, display_, bezier, samples, transform, Geometry());
  ShowOnCanvas(scratch_);
}

void CurveEditSession::RedrawWithoutCurve() {
  const bool keep = state_.canvas.KeepPicture;
  state_.canvas.KeepPicture = true;
  state_.canvas.MakePictureBlack(params_, state_.background, &host_);
  state_.canvas.KeepPicture = keep;
  display_base_ = state_.canvas.Bitmap();
  display_ = display_base_;
  control_squares_.clear();
}

void CurveEditSession::RestorePicture() {
  state_.canvas.MakePictureBlack(params_, state_.background, &host_);
  display_base_ = state_.canvas.Bitmap();
  display_ = display_base_;
  control_squares_.clear();
}

void CurveEditSession::SelectSlotCurve() {
  // Kept aside here as well as by "Show curve", so that whatever leads to a
  // display, Hide and Clear bring back the canvas as it was just before.
  SaveCanvasIfNoCurveShown();
  Canvas& canvas = state_.canvas;
  canvas.KeepPicture = true;
  control_pixels_.Initialise(CanvasWidth(), CanvasHeight());
  // Rendered without telling the window: the display below is shown instead.
  canvas.MakePictureBlack(params_, state_.background, nullptr);
  display_base_ = canvas.Bitmap();
  display_ = display_base_;
  control_squares_.clear();

  const int s = SelectedSlot;
  CurveSlot& slot = Selected();
  if (slot.Curve.GetLength() == 0) {
    ShowOnCanvas(display_);
    UnmarkCurve(s);
    ShowStatus("The " + slot.Name + " bezier is not set at present.");
    canvas.MultiplierMode = true;
    canvas.KeepPicture = false;
    return;
  }

  const long long samples = CurveSampleCount(slot.Bezier.GetTotalLength());
  ShowStatus("Drawing " + slot.Name + " bezier");
  SampleTransform transform;
  if (s == kStartCurveSlot || s == kEndCurveSlot) transform.offset = slot.Curve.Centroid;
  const CanvasGeometry geometry = Geometry();
  PaintCurveSamples(display_, display_base_, slot.Bezier, samples, transform, geometry);
  if (ShowControlPoints) {
    if (ControlSquaresOnTop) {
      control_squares_ = MapControlPoints(slot.Curve, geometry, control_pixels_);
    } else {
      PaintControlPoints(display_, slot.Curve, geometry, control_pixels_);
    }
  }

  ShowOnCanvas(display_);
  MarkCurve(s);
  ShowStatus("Finished drawing " + slot.Name + " bezier");
  canvas.MultiplierMode = true;
  canvas.KeepPicture = false;
}

void CurveEditSession::ShowSelectedCurve() {
  SaveCanvasIfNoCurveShown();
  SelectSlotCurve();
}

}  // namespace quorl
