#include "ui/tool_window.h"

#include <QPushButton>

#include "settings/parameter_set.h"
#include "settings/window_layout.h"

namespace quorl {

ToolWindow::ToolWindow(const QString& object_name, const QString& caption, int width, int full_height,
                       QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      full_height_(full_height) {
  setObjectName(object_name);
  setWindowTitle(caption);
  setFixedWidth(width);
  SetHeight(full_height);
}

void ToolWindow::SetHeight(int height) {
  setMinimumHeight(height);
  setMaximumHeight(height);
  resize(width(), height);
}

void ToolWindow::ApplyStoredGeometry(const WindowLayout& layout, const StoredGeometry& geometry) {
  SetHeight(layout.*geometry.height);
  move(layout.*geometry.left, layout.*geometry.top);
  setVisible(layout.*geometry.visible);
}

void ToolWindow::StoreGeometry(WindowLayout& layout, const StoredGeometry& geometry) const {
  layout.*geometry.height = height();
  layout.*geometry.left = pos().x();
  layout.*geometry.top = pos().y();
  layout.*geometry.visible = isVisible();
}

void ToolWindow::ShowAndRaise() {
  show();
  raise();
  activateWindow();
}

void ToolWindow::ToggleFolded() {
  SetHeight(height() < 51 ? full_height_ : kFoldedHeight);
}

QPushButton* ToolWindow::MakeFoldButton(QWidget* row) {
  auto* button = new QPushButton(QStringLiteral(":)"), row);
  button->setObjectName(QStringLiteral("Button1"));
  button->setFixedSize(24, 20);
  connect(button, &QPushButton::clicked, this, &ToolWindow::ToggleFolded);
  return button;
}

}  // namespace quorl
