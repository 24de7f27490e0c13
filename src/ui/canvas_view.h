// The canvas control: shows the rendered picture, stretched to its own size
// while zoomed, and reports mouse events in picture pixels.
#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "curves/curve_painter.h"

namespace quorl {

class CanvasView : public QWidget {
  Q_OBJECT

 public:
  explicit CanvasView(QWidget* parent = nullptr);

  // A new picture takes away the control squares painted over the last.
  void SetPicture(const QImage& picture);
  // The same picture with only rows rowBegin ... rowEnd - 1 changed: only
  // the part of the control that shows them is painted again.
  void SetPictureRows(const QImage& picture, int rowBegin, int rowEnd);
  // Drops the view's share of its picture, so that the caller can change
  // rows of its own copy without Qt copying the whole image, and paints
  // nothing: SetPictureRows follows at once.
  void LetGoOfPicture();
  // Squares of kControlSquareSide screen pixels over these picture pixels,
  // whatever the zoom.
  void SetControlSquares(std::vector<ControlSquare> squares);
  const std::vector<ControlSquare>& ControlSquares() const { return squares_; }
  static constexpr int kControlSquareSide = 9;
  const QImage& Picture() const { return picture_; }
  // Picture pixels per screen pixel is 1 / ZoomFactor.
  void SetZoomFactor(double zoom_factor) { zoom_factor_ = zoom_factor; }
  // The last pointer position over the canvas, in picture pixels.
  QPoint LastMousePicturePosition() const { return last_mouse_; }

 signals:
  void MouseDown(QMouseEvent* event, QPoint picture_position);
  void MouseMove(QMouseEvent* event, QPoint picture_position);
  void MouseUp(QMouseEvent* event, QPoint picture_position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QPoint ToPicture(QPointF position) const;

  void PaintControlSquares(QPainter& painter) const;

  QImage picture_;
  QSize let_go_size_;  // the picture's size when LetGoOfPicture dropped it
  std::vector<ControlSquare> squares_;
  double zoom_factor_ = 1.0;
  QPoint last_mouse_;
};

}  // namespace quorl
