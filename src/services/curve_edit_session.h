// What curve editing shares between the canvas gestures, the Edit menu, the
// Points and Path windows: the selected slot and the right-button mode, the
// picture on display with the curve painted over a copy of the canvas, the
// control-point map, and the marks of the slot list.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/picture24.h"
#include "curves/curve_painter.h"
#include "curves/curve_slots.h"

namespace quorl {

class Host;
struct ParameterSet;
struct ProgramState;

// What the right mouse button does on the canvas.
enum class RightButtonMode {
  RotationPoints,  // a click sets Rotate A or B
  PathPoints,      // a click sets Path A or B
  Curve,           // a stroke draws the selected slot's curve
};

enum class CanvasCursor { Default, HandPoint, Drag, SizeAll, CurveRotate, CurveExpand };

// The two pairs of points a right click can place.
enum class PointPair { Path, Rotate };

// The main window's canvas, as curve editing needs it.
class CurveCanvasView {
 public:
  virtual ~CurveCanvasView() = default;
  // Shows this picture in place of the canvas bitmap until the next render
  // or the next picture.
  virtual void ShowCanvasPicture(const Picture24& /*picture*/) {}
  // Control squares the view paints over the picture just shown (none
  // clears them), when the session leaves them out of the picture.
  virtual void ShowControlSquares(const std::vector<ControlSquare>& /*squares*/) {}
  virtual void SetCanvasCursor(CanvasCursor /*cursor*/) {}
  // An hourglass for the whole program while a path is generated.
  virtual void SetBusy(bool /*busy*/) {}
};

// The Points window, as curve editing needs it.
class CurvePointsView {
 public:
  virtual ~CurvePointsView() = default;
  // The slot's list item shows the mark or the bare name; with `select` the
  // item becomes the selected one (without running the selection handler).
  virtual void ShowSlotMark(int /*slot*/, bool /*marked*/, bool /*select*/) {}
  // A right click placed point A (or B) of a pair; the parameters are
  // already stored, the fields show these texts and the next click goes to
  // the other point.
  virtual void ShowPlacedPoint(PointPair /*pair*/, bool /*pointA*/, const std::string& /*x*/,
                               const std::string& /*y*/) {}
};

class CurveEditSession {
 public:
  // `params` are the parameters the windows edit; `state` holds the curve
  // slots and the canvas.
  CurveEditSession(ParameterSet& params, ProgramState& state, Host& host);

  // Either may be null (nothing is shown then).
  void SetCanvasView(CurveCanvasView* view) { canvas_view_ = view ? view : &quiet_canvas_; }
  void SetPointsView(CurvePointsView* view) { points_view_ = view ? view : &quiet_points_; }

  // Whether a drawing run is in progress; by default the run's flag.
  std::function<bool()> IsDrawing;
  // Runs work that changes curves or the canvas. A host whose run works on
  // another thread holds the work until the run is between steps; by
  // default it runs at once.
  std::function<void(std::function<void()>)> RunOnCore;

  // --- what the Points and Animation Points windows select
  RightButtonMode Mode = RightButtonMode::RotationPoints;
  // The slot chosen in the slot list; it counts as selected for the
  // commands only in curve mode.
  int SelectedSlot = 0;
  bool ShowControlPoints = true;
  // Half the side of a control point's square, in canvas pixels: the window
  // shrinks it as it zooms in so the square keeps its size on screen.
  int ControlPointHalf = 4;
  // Zoomed far in, the view paints the squares itself at their size on
  // screen: the displayed picture leaves them out, and ControlPointHalf then
  // sizes only the area a click picks a point in.
  bool ControlSquaresOnTop = false;
  // "Set up animation point paths?": the right button draws an animation
  // path instead, the start path or the end path.
  bool AnimationPathMode = false;
  bool AnimationPathIsStart = true;
  // Which point of each pair the next right click places.
  bool NextPathPointIsA = true;
  bool NextRotatePointIsA = true;

  bool CurveMode() const { return Mode == RightButtonMode::Curve; }
  bool SlotSelected() const { return CurveMode(); }
  bool Drawing() const { return IsDrawing(); }

  ParameterSet& Params() { return params_; }
  ProgramState& State() { return state_; }
  CurveSlots& Curves();
  CurveSlot& Selected();

  // --- slot operations with their messages
  // Rebuilds the Bezier of the selected slot (or of `kind`'s curve).
  void SetUpBezier(BezierKind kind);
  // The undo copy of a slot; reports an index outside the slots.
  void PutCurveToUndo(int slot);
  void MarkCurve(int slot);    // marked and selected
  void UnmarkCurve(int slot);  // bare name, selected
  void ShowSlotMark(int slot, bool marked, bool select);
  // After loading curve files beside a settings file: every slot unmarked,
  // the found ones marked; the selection stays.
  void MarkLoadedSlots(const std::vector<int>& found);

  // --- the canvas
  // Keeps the canvas aside (for Hide and Clear to bring back) when no curve
  // is on display yet.
  void SaveCanvasIfNoCurveShown();
  // Shows the selected slot's curve over the canvas, with its control points
  // when asked, and fills the control-point map.
  void SelectSlotCurve();
  // "Show curve": the canvas kept aside first, then the display.
  void ShowSelectedCurve();
  // Renders the pixel buffer again, which takes any curve off the canvas.
  void RedrawWithoutCurve();
  // Resets the picture the way Clear does: with a curve on display the
  // canvas kept aside comes back.
  void RestorePicture();

  // The picture on display (canvas plus curve). Taken afresh from the
  // canvas when the canvas was rendered since.
  const Picture24& DisplayPicture();
  // The canvas as rendered, under the curve.
  const Picture24& CanvasPicture() const;
  // A highlighted pixel on the displayed picture, kept until the next
  // display or render; shown at once.
  void PaintTrace(int px, int py);
  // Shows the displayed picture with `samples` of `bezier` painted over it
  // once; the displayed picture itself is not changed.
  void ShowPreview(const BezierPath& bezier, long long samples, const SampleTransform& transform);

  ControlPixelMap& ControlPixels() { return control_pixels_; }
  // Where plane points land on the canvas now.
  CanvasGeometry Geometry();
  int CanvasWidth() const;
  int CanvasHeight() const;

  void SetCursor(CanvasCursor cursor) { canvas_view_->SetCanvasCursor(cursor); }
  void SetBusy(bool busy) { canvas_view_->SetBusy(busy); }
  void ShowPlacedPoint(PointPair pair, bool pointA, const std::string& x, const std::string& y) {
    points_view_->ShowPlacedPoint(pair, pointA, x, y);
  }
  void ShowStatus(const std::string& message);
  void ShowMessage(const std::string& text);

 private:
  void RefreshDisplayIfStale();
  // Shows a picture with the squares the view paints over it.
  void ShowOnCanvas(const Picture24& picture);

  ParameterSet& params_;
  ProgramState& state_;
  Host& host_;
  CurveCanvasView quiet_canvas_;
  CurvePointsView quiet_points_;
  CurveCanvasView* canvas_view_ = &quiet_canvas_;
  CurvePointsView* points_view_ = &quiet_points_;

  ControlPixelMap control_pixels_;
  // The canvas bitmap the displayed picture was made from, and the displayed
  // picture; a preview is painted on a scratch copy.
  Picture24 display_base_;
  Picture24 display_;
  Picture24 scratch_;
  // The squares of the curve on display when the view paints them.
  std::vector<ControlSquare> control_squares_;
};

}  // namespace quorl
