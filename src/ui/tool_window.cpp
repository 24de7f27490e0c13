#include "ui/tool_window.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "settings/parameter_set.h"
#include "settings/window_layout.h"
#include "ui/control_help.h"

namespace quorl {

namespace {

// The ":)" button: as small as its two characters, not as wide as a
// button with a word on it.
class SmallButton : public QPushButton {
 public:
  using QPushButton::QPushButton;
  QSize sizeHint() const override {
    const QSize usual = QPushButton::sizeHint();
    return {std::min(usual.width(), fontMetrics().horizontalAdvance(text()) + fontMetrics().height()),
            usual.height()};
  }
  QSize minimumSizeHint() const override { return sizeHint(); }
};

// The body's frame: it asks for the whole body, and scrolls only when the
// screen is too low for it.
class ScrollingBody : public QScrollArea {
 public:
  using QScrollArea::QScrollArea;
  QSize sizeHint() const override { return widget() ? widget()->sizeHint() : QSize(); }
  QSize minimumSizeHint() const override {
    if (!widget()) return {};
    return {widget()->minimumSizeHint().width() + verticalScrollBar()->sizeHint().width(),
            std::min(widget()->minimumSizeHint().height(), 3 * fontMetrics().height())};
  }
};

}  // namespace

ToolWindow::ToolWindow(const QString& object_name, const QString& caption, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(object_name);
  setWindowTitle(caption);

  auto* outer = new QVBoxLayout(this);
  // The window is as large as its contents need (FitToScreen), with a
  // border that grows with the font.
  outer->setContentsMargins(6, 6, 6, 6);
  outer->setSpacing(4);

  auto* top_row = new QHBoxLayout;
  header_ = new QHBoxLayout;
  top_row->addLayout(header_, 1);
  fold_button_ = new SmallButton(QStringLiteral(":)"), this);
  fold_button_->setObjectName(QStringLiteral("Button1"));
  fold_button_->setAccessibleName(QStringLiteral("Fold"));
  connect(fold_button_, &QPushButton::clicked, this, &ToolWindow::ToggleFolded);
  top_row->addWidget(fold_button_, 0, Qt::AlignRight | Qt::AlignTop);
  outer->addLayout(top_row);

  body_widget_ = new QWidget(this);
  body_widget_->setObjectName(QStringLiteral("body"));
  body_ = new QVBoxLayout(body_widget_);
  body_->setContentsMargins(0, 0, 0, 0);
  body_->setSpacing(4);
  scroller_ = new ScrollingBody(this);
  scroller_->setObjectName(QStringLiteral("bodyScroller"));
  scroller_->setFrameShape(QFrame::NoFrame);
  scroller_->setWidgetResizable(true);
  scroller_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroller_->setWidget(body_widget_);
  outer->addWidget(scroller_, 1);
}

int ToolWindow::AvailableHeight() const {
  const QScreen* on = screen();
  if (!on) return QWIDGETSIZE_MAX;
  // Room for the title bar, which the window's own height leaves out.
  const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
  return std::max(kFoldedHeight + 1, on->availableGeometry().height() - title);
}

void ToolWindow::LimitHeight(int limit) {
  height_limit_ = std::max(0, limit);
  FitToScreen();
}

void ToolWindow::FitToScreen() {
  if (!layout()) return;
  const int available = height_limit_ > 0 ? std::min(height_limit_, AvailableHeight()) : AvailableHeight();
  layout()->activate();
  QSize wanted = layout()->totalSizeHint();
  const bool scrolls = !folded_ && wanted.height() > available;
  if (scrolls) {
    // The scroll bar takes its width beside the body, not out of it.
    wanted = QSize(wanted.width() + scroller_->verticalScrollBar()->sizeHint().width(), available);
  }
  setMaximumSize(wanted);
  resize(wanted);
}

void ToolWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FitToScreen();
}

void ToolWindow::ApplyStoredGeometry(const WindowLayout& layout, const StoredGeometry& geometry) {
  SetFolded(layout.*geometry.height <= kFoldedHeight);
  move(layout.*geometry.left, layout.*geometry.top);
  setVisible(layout.*geometry.visible);
}

void ToolWindow::StoreGeometry(WindowLayout& layout, const StoredGeometry& geometry) const {
  // A laid-out window is taller than a folded one at any font size; the
  // stored height only has to tell the two apart.
  layout.*geometry.height = folded_ ? kFoldedHeight : std::max(kFoldedHeight + 1, sizeHint().height());
  layout.*geometry.left = pos().x();
  layout.*geometry.top = pos().y();
  layout.*geometry.visible = isVisible();
}

bool ToolWindow::event(QEvent* event) {
  if (event->type() == QEvent::Polish) ApplyControlHelp(this);
  const bool handled = QWidget::event(event);
  // The contents changed their size (a tab, a font, a shown row).
  if (event->type() == QEvent::LayoutRequest && isVisible()) FitToScreen();
  return handled;
}

void ToolWindow::ShowAndRaise() {
  show();
  raise();
  activateWindow();
}

void ToolWindow::ToggleFolded() {
  SetFolded(!folded_);
}

void ToolWindow::SetFolded(bool folded) {
  folded_ = folded;
  scroller_->setVisible(!folded);
  FitToScreen();
}

}  // namespace quorl
