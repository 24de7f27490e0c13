#include "ui/tool_window.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
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

}  // namespace

ToolWindow::ToolWindow(const QString& object_name, const QString& caption, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(object_name);
  setWindowTitle(caption);

  auto* outer = new QVBoxLayout(this);
  // The window is exactly as large as its contents need: a fixed border that
  // grows with the font and shrinks when the window folds.
  outer->setSizeConstraint(QLayout::SetFixedSize);
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
  outer->addWidget(body_widget_);
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
  return QWidget::event(event);
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
  body_widget_->setVisible(!folded);
  if (layout()) layout()->activate();
}

}  // namespace quorl
