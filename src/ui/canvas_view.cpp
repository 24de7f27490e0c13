#include "ui/canvas_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace quorl {

CanvasView::CanvasView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Image1"));
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasView::SetPicture(const QImage& picture) {
  picture_ = picture;
  update();
}

void CanvasView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (picture_.isNull()) {
    painter.fillRect(rect(), palette().window());
    return;
  }
  if (size() == picture_.size()) {
    painter.drawImage(0, 0, picture_);
  } else {
    // Stretched to the control, which keeps the picture's aspect ratio.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), picture_);
  }
}

QPoint CanvasView::ToPicture(QPointF position) const {
  if (!(zoom_factor_ > 0)) return position.toPoint();
  return QPoint(static_cast<int>(std::floor(position.x() / zoom_factor_)),
                static_cast<int>(std::floor(position.y() / zoom_factor_)));
}

void CanvasView::mousePressEvent(QMouseEvent* event) {
  emit MouseDown(event, ToPicture(event->position()));
}

void CanvasView::mouseMoveEvent(QMouseEvent* event) {
  last_mouse_ = ToPicture(event->position());
  emit MouseMove(event, last_mouse_);
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseUp(event, ToPicture(event->position()));
}

}  // namespace quorl
