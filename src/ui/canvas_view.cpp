#include "ui/canvas_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>
#include <utility>

namespace quorl {

CanvasView::CanvasView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Image1"));
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasView::SetPicture(const QImage& picture) {
  picture_ = picture;
  squares_.clear();
  update();
}

void CanvasView::LetGoOfPicture() {
  let_go_size_ = picture_.size();
  picture_ = QImage();
}

void CanvasView::SetPictureRows(const QImage& picture, int rowBegin, int rowEnd) {
  const bool same_size = picture.size() == (picture_.isNull() ? let_go_size_ : picture_.size());
  const bool had_squares = !squares_.empty();
  picture_ = picture;
  squares_.clear();
  if (!same_size || had_squares || picture_.isNull()) {
    update();
    return;
  }
  if (rowBegin >= rowEnd) return;
  const double sy = static_cast<double>(height()) / picture_.height();
  // Smooth stretching blends a row with its neighbours: a little more.
  const int top = static_cast<int>(std::floor(rowBegin * sy)) - 2;
  const int bottom = static_cast<int>(std::ceil(rowEnd * sy)) + 2;
  update(QRect(0, top, width(), bottom - top));
}

void CanvasView::SetControlSquares(std::vector<ControlSquare> squares) {
  squares_ = std::move(squares);
  update();
}

void CanvasView::PaintControlSquares(QPainter& painter) const {
  if (squares_.empty() || picture_.isNull()) return;
  const double sx = static_cast<double>(width()) / picture_.width();
  const double sy = static_cast<double>(height()) / picture_.height();
  const int half = kControlSquareSide / 2;
  painter.setRenderHint(QPainter::Antialiasing, false);
  // Later squares cover earlier ones, as in the painted picture.
  for (const ControlSquare& square : squares_) {
    const int cx = static_cast<int>(std::floor((square.x + 0.5) * sx));
    const int cy = static_cast<int>(std::floor((square.y + 0.5) * sy));
    const QRect outer(cx - half, cy - half, kControlSquareSide, kControlSquareSide);
    painter.fillRect(outer, Qt::white);
    painter.fillRect(outer.adjusted(1, 1, -1, -1), QColor(square.red, 0, square.blue));
  }
}

void CanvasView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (picture_.isNull()) {
    painter.fillRect(rect(), palette().window());
    return;
  }
  if (size() == picture_.size()) {
    // Only what was asked for: a few changed rows of a large canvas.
    const QRect part = event->rect() & rect();
    painter.drawImage(part.topLeft(), picture_, part);
  } else {
    // Stretched to the control, which keeps the picture's aspect ratio.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), picture_);
  }
  PaintControlSquares(painter);
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
