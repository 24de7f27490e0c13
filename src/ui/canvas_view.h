// The canvas control: shows the rendered picture, stretched to its own size
// while zoomed, and reports mouse events in picture pixels.
#pragma once

#include <QImage>
#include <QWidget>

namespace quorl {

class CanvasView : public QWidget {
  Q_OBJECT

 public:
  explicit CanvasView(QWidget* parent = nullptr);

  void SetPicture(const QImage& picture);
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

  QImage picture_;
  double zoom_factor_ = 1.0;
  QPoint last_mouse_;
};

}  // namespace quorl
