#include "ui/tool_window.h"

#include <QPushButton>

#include "settings/parameter_set.h"

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

void ToolWindow::ApplyStoredGeometry(const ParameterSet& parameters, const StoredGeometry& geometry) {
  SetHeight(parameters.*geometry.height);
  move(parameters.*geometry.left, parameters.*geometry.top);
  setVisible(parameters.*geometry.visible);
}

void ToolWindow::StoreGeometry(ParameterSet& parameters, const StoredGeometry& geometry) const {
  parameters.*geometry.height = height();
  parameters.*geometry.left = pos().x();
  parameters.*geometry.top = pos().y();
  parameters.*geometry.visible = isVisible();
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
