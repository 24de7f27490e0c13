#include "services/curve_editing.h"

#include <charconv>
#include <cmath>
#include <string>

#include "base/number_text.h"
#include "base/plane_conversion.h"
#include "curves/plane_scale.h"
#include "engine/program_state.h"
#include "settings/parameter_set.h"

namespace quorl {

namespace {

// The angle of a vector measured from the +y axis towards +x.
double Heading(const Point& d) {
  return std::atan2(d.X, d.Y);
}

Point Minus(const Point& a, const Point& b) {
  return Point{a.X - b.X, a.Y - b.Y};
}

// Three decimals in a field of at least five characters, always with ".",
// whatever the desktop's locale.
std::string PointText(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
  std::string text = result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("0.000");
  if (text.size() < 5) text.insert(0, 5 - text.size(), ' ');
  return text;
}

}  // namespace

double DragRotation(const Point& centre, const Point& from, const Point& to) {
  return Heading(Minus(from, centre)) - Heading(Minus(to, centre));
}

double DragStretch(const Point& centre, const Point& from, const Point& to) {
  const double reach = Minus(from, centre).Length();
  // A point on the centroid cannot be pulled away from it; dividing by its
  // zero distance would turn every point into NaN.
  if (!(reach > 0)) return 1;
  return Minus(to, centre).Length() / reach;
}

CurveMouseEditor::CurveMouseEditor(CurveEditSession& session) : session_(session) {}

bool CurveMouseEditor::OnCanvas(int px, int py) const {
  return px >= 0 && py >= 0 && px < session_.CanvasWidth() && py < session_.CanvasHeight();
}

bool CurveMouseEditor::ValidPoint(int index) {
  return index >= 0 && index < session_.Selected().Curve.GetLength();
}

int CurveMouseEditor::ControlPointAt(int px, int py) {
  const ControlPixelMap& map = session_.ControlPixels();
  // A map of another size belongs to a canvas that has been resized since.
  if (map.Width() != session_.CanvasWidth() || map.Height() != session_.CanvasHeight())
    return kNoControlPoint;
  const int index = map.At(px, py);
  return ValidPoint(index) ? index : kNoControlPoint;
}

void CurveMouseEditor::Image1MouseDown(int px, int py, MouseButton button, MouseKeys keys) {
  if (session_.Drawing()) return;
  if (session_.CanvasWidth() <= 0 || session_.CanvasHeight() <= 0) return;

  if (button == kLeftButton) {
    if (!session_.CurveMode() || !OnCanvas(px, py)) return;
    selected_point_ = session_.ControlPixels().At(px, py);
    if (ControlPointAt(px, py) == kNoControlPoint) {
      dragging_ = false;
      session_.SetCursor(CanvasCursor::Default);
      return;
    }
    dragging_ = true;
    drag_mode_ = CurveDragMode::OnePoint;
    const bool only_alt = keys.alt && !keys.ctrl && !keys.shift;
    const bool only_ctrl = keys.ctrl && !keys.alt && !keys.shift;
    const bool only_shift = keys.shift && !keys.alt && !keys.ctrl;
    const bool none = !keys.shift && !keys.alt && !keys.ctrl;
    if (only_alt) {
      drag_mode_ = CurveDragMode::Stretch;
      session_.SetCursor(CanvasCursor::CurveExpand);
    } else if (only_ctrl) {
      drag_mode_ = CurveDragMode::Rotate;
      session_.SetCursor(CanvasCursor::CurveRotate);
    } else if (only_shift) {
      drag_mode_ = CurveDragMode::MoveAll;
      session_.SetCursor(CanvasCursor::SizeAll);
    } else if (none) {
      session_.SetCursor(CanvasCursor::Drag);
    }
    return;
  }

  if (button != kRightButton) return;
  if (!session_.CurveMode() && !session_.AnimationPathMode) return;
  session_.SaveCanvasIfNoCurveShown();
  last_stroke_x_ = -10;
  last_stroke_y_ = -10;
  CurveSlots& curves = session_.Curves();
  if (session_.AnimationPathMode) {
    (session_.AnimationPathIsStart ? curves.AnimStartPathCurve : curves.AnimEndPathCurve).Empty();
  } else {
    session_.ShowStatus("Mouse down to start bezier");
    session_.PutCurveToUndo(session_.SelectedSlot);
    session_.Selected().Curve.Empty();
  }
  // A click without a stroke has emptied the curve too; its release sets
  // up and shows the empty curve rather than leaving the old one on screen.
  curves.CurveChanged = true;
}

void CurveMouseEditor::Image1MouseMove(int px, int py, unsigned held, MouseKeys /*keys*/) {
  if (session_.CanvasWidth() <= 0 || session_.CanvasHeight() <= 0) return;
  if (!OnCanvas(px, py)) {
    session_.SetCursor(CanvasCursor::Default);
  } else if (dragging_) {
    ShowDragPreview(px, py);
  } else {
    const int index = ControlPointAt(px, py);
    if (index == kNoControlPoint) {
      session_.ShowStatus("");
      session_.SetCursor(CanvasCursor::Default);
    } else {
      session_.ShowStatus("Bezier point: " + std::to_string(index));
      session_.SetCursor(CanvasCursor::HandPoint);
    }
  }

  if ((held & kRightButton) && !session_.Drawing() && (session_.CurveMode() || session_.AnimationPathMode))
    TakeStrokePoint(px, py);
}

void CurveMouseEditor::ShowDragPreview(int px, int py) {
  // A run started during the drag owns the canvas until it ends; the drag
  // itself still applies at release.
  if (session_.Drawing() || !ValidPoint(selected_point_)) return;
  const int s = session_.SelectedSlot;
  CurveSlots& curves = session_.Curves();
  const CurveSlot& slot = curves[s];
  const ParameterSet& params = session_.Params();
  const Point m =
      ConvertMouseToCoord(px, py, CurvePlaneScale(params), session_.CanvasWidth(), session_.CanvasHeight());
  const Point p = slot.Curve.Points[static_cast<size_t>(selected_point_)];
  const Point c = slot.Curve.Centroid;
  const long long samples = CurveSampleCount(slot.Bezier.GetTotalLength());
  const bool outline = s == kStartCurveSlot || s == kEndCurveSlot;

  SampleTransform transform;
  switch (drag_mode_) {
    case CurveDragMode::OnePoint: {
      CurvePoints::CopyCurve(slot.Curve, curves.EditCurve);
      curves.EditCurve.SetXYofI(selected_point_, m);
      session_.SetUpBezier(BezierKind::kEdit);
      if (outline) transform.offset = curves.EditCurve.Centroid;
      session_.ShowPreview(curves.EditBezier, samples, transform);
      session_.SetCursor(CanvasCursor::Drag);
      break;
    }
    case CurveDragMode::MoveAll:
      if (outline) transform.offset = c;
      transform.move = Minus(m, p);
      session_.ShowPreview(slot.Bezier, samples, transform);
      session_.SetCursor(CanvasCursor::SizeAll);
      break;
    case CurveDragMode::Rotate:
    case CurveDragMode::Stretch: {
      const bool stretch = drag_mode_ == CurveDragMode::Stretch;
      if (outline) transform.offset = c;
      transform.turn = true;
      transform.centre = c;
      transform.angle = DragRotation(c, p, m);
      transform.stretch = stretch;
      transform.factor = DragStretch(c, p, m);
      session_.ShowPreview(slot.Bezier, samples, transform);
      session_.SetCursor(stretch ? CanvasCursor::CurveExpand : CanvasCursor::CurveRotate);
      break;
    }
  }
  session_.ShowStatus("Bezier point: " + std::to_string(selected_point_));
}

void CurveMouseEditor::TakeStrokePoint(int px, int py) {
  CurveSlots& curves = session_.Curves();
  curves.CurveChanged = true;
  const double dx = px - last_stroke_x_;
  const double dy = py - last_stroke_y_;
  if (std::sqrt(dx * dx + dy * dy) > session_.Params().QuorlPointsBezierMouse) {
    const Point m = ConvertMouseToCoord(px, py, CurvePlaneScale(session_.Params()), session_.CanvasWidth(),
                                        session_.CanvasHeight());
    if (session_.AnimationPathMode) {
      (session_.AnimationPathIsStart ? curves.AnimStartPathCurve : curves.AnimEndPathCurve)
          .AddCoordToCurve(m);
    } else if (session_.CurveMode()) {
      session_.Selected().Curve.AddCoordToCurve(m);
    }
    last_stroke_x_ = px;
    last_stroke_y_ = py;
  }
  if (OnCanvas(px, py)) session_.PaintTrace(px, py);
}

void CurveMouseEditor::Image1MouseUp(int px, int py, MouseButton button, MouseKeys /*keys*/) {
  session_.SetCursor(CanvasCursor::Default);
  if (!dragging_ && session_.Curves().CurveChanged) {
    EndStroke();
  } else if (dragging_) {
    if (selected_point_ != kNoControlPoint) EndDrag(px, py);
    dragging_ = false;
  }
  if (button == kRightButton && !session_.CurveMode() && !session_.AnimationPathMode)
    Image1ContextPopup(px, py);
}

void CurveMouseEditor::EndStroke() {
  CurveEditSession& session = session_;
  const bool anim = session.AnimationPathMode;
  const bool start = session.AnimationPathIsStart;
  if (!anim && !session.CurveMode()) {
    // The mode changed in the middle of the stroke: nothing to set up.
    session.Curves().CurveChanged = false;
    return;
  }
  session.RunOnCore([&session, anim, start] {
    if (anim) {
      session.SetUpBezier(start ? BezierKind::kAnimStart : BezierKind::kAnimEnd);
    } else {
      session.SetUpBezier(BezierKind::kSlot);
      session.SelectSlotCurve();
    }
  });
}

void CurveMouseEditor::EndDrag(int px, int py) {
  CurveEditSession& session = session_;
  const int index = selected_point_;
  const CurveDragMode mode = drag_mode_;
  const Point m = ConvertMouseToCoord(px, py, CurvePlaneScale(session.Params()), session.CanvasWidth(),
                                      session.CanvasHeight());
  session.RunOnCore([&session, index, mode, m] {
    CurvePoints& curve = session.Selected().Curve;
    if (index < 0 || index >= curve.GetLength()) return;
    session.PutCurveToUndo(session.SelectedSlot);
    const Point p = curve.Points[static_cast<size_t>(index)];
    const Point c = curve.Centroid;
    switch (mode) {
      case CurveDragMode::Rotate:
        curve.Rotate(DragRotation(c, p, m));
        break;
      case CurveDragMode::Stretch:
        curve.Rotate(DragRotation(c, p, m));
        curve.Expand(DragStretch(c, p, m));
        break;
      case CurveDragMode::MoveAll:
        curve.MoveBy(m.X - p.X, m.Y - p.Y);
        break;
      case CurveDragMode::OnePoint:
        curve.SetXYofI(index, m);
        break;
    }
    if (session.CurveMode()) {
      session.SetUpBezier(BezierKind::kSlot);
      session.SelectSlotCurve();
    }
  });
}

void CurveMouseEditor::Image1ContextPopup(int px, int py) {
  if (session_.Drawing()) return;
  const int w = session_.CanvasWidth();
  const int h = session_.CanvasHeight();
  if (w <= 0 || h <= 0) return;
  ParameterSet& params = session_.Params();
  const double s = CurvePlaneScale(params);
  // Both axes span -S ... S here, without the width-to-height factor of
  // curve points.
  const double x = px * 2 * s / w - s;
  const double y = s - py * 2 * s / h;
  const std::string xs = PointText(x);
  const std::string ys = PointText(y);
  // Stored as the fields would store the texts.
  const double xv = ParseFloat(xs).value_or(x);
  const double yv = ParseFloat(ys).value_or(y);

  if (session_.Mode == RightButtonMode::PathPoints) {
    const bool a = session_.NextPathPointIsA;
    (a ? params.QuorlPointsXStart : params.QuorlPointsXEnd) = xv;
    (a ? params.QuorlPointsYStart : params.QuorlPointsYEnd) = yv;
    session_.NextPathPointIsA = !a;
    session_.ShowPlacedPoint(PointPair::Path, a, xs, ys);
  } else {
    const bool a = session_.NextRotatePointIsA;
    (a ? params.QuorlPointsRotateXStart : params.QuorlPointsRotateXEnd) = xv;
    (a ? params.QuorlPointsRotateYStart : params.QuorlPointsRotateYEnd) = yv;
    session_.NextRotatePointIsA = !a;
    session_.ShowPlacedPoint(PointPair::Rotate, a, xs, ys);
  }
  if (OnCanvas(px, py)) session_.PaintTrace(px, py);
}

}  // namespace quorl
