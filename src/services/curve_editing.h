// The mouse on the canvas: freehand strokes with the right button draw the
// selected curve (or an animation path); with the left button a control
// point of the displayed curve is dragged, or the whole curve is moved
// (Shift), rotated (Ctrl) or rotated and stretched (Alt) about its centroid,
// with a live preview; a curve changes only when the button is released. A
// right click outside the curve modes places the A and B points of the path
// or of the rotation centre.
//
// Positions are canvas pixels, origin top left, with the zoom and the scroll
// position already taken out; they may lie outside the canvas.
#pragma once

#include "services/curve_edit_session.h"

namespace quorl {

enum MouseButton : unsigned {
  kNoButton = 0,
  kLeftButton = 1,
  kRightButton = 2,
  kMiddleButton = 4,
};

struct MouseKeys {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// What a left-button drag does to the curve.
enum class CurveDragMode { OnePoint, MoveAll, Rotate, Stretch };

class CurveMouseEditor {
 public:
  explicit CurveMouseEditor(CurveEditSession& session);

  // `button` is the button that went down or up; `held` the buttons held
  // during a move (a MouseButton mask).
  void Image1MouseDown(int px, int py, MouseButton button, MouseKeys keys);
  void Image1MouseMove(int px, int py, unsigned held, MouseKeys keys);
  void Image1MouseUp(int px, int py, MouseButton button, MouseKeys keys);
  // The right click outside the curve modes; Image1MouseUp calls it.
  void Image1ContextPopup(int px, int py);

  bool CurveDragging() const { return dragging_; }
  CurveDragMode DragMode() const { return drag_mode_; }
  int SelectedControlPoint() const { return selected_point_; }
  int LastStrokeX() const { return last_stroke_x_; }
  int LastStrokeY() const { return last_stroke_y_; }

 private:
  bool OnCanvas(int px, int py) const;
  // The control point drawn at the pixel, if it still is a point of the
  // selected slot's curve.
  int ControlPointAt(int px, int py);
  bool ValidPoint(int index);
  void ShowDragPreview(int px, int py);
  void TakeStrokePoint(int px, int py);
  void EndDrag(int px, int py);
  void EndStroke();

  CurveEditSession& session_;
  bool dragging_ = false;
  CurveDragMode drag_mode_ = CurveDragMode::OnePoint;
  int selected_point_ = kNoControlPoint;
  int last_stroke_x_ = -10;
  int last_stroke_y_ = -10;
};

// The angle by which turning `from` about `centre` brings it in line with
// `to` (radians, counter-clockwise), as the rotate and stretch drags use it.
double DragRotation(const Point& centre, const Point& from, const Point& to);
// |to - centre| / |from - centre|; 1 when `from` is the centre itself, which
// has no distance to stretch.
double DragStretch(const Point& centre, const Point& from, const Point& to);

}  // namespace quorl
