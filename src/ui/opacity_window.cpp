#include "ui/opacity_window.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "engine/program_state.h"
#include "settings/window_layout.h"
#include "ui/track_bars.h"

namespace quorl {

namespace {
constexpr int kWidth = 240;
}

const StoredGeometry OpacityWindow::kGeometry = {&WindowLayout::OpacityHeight, &WindowLayout::OpacityLeft,
                                                 &WindowLayout::OpacityTop, &WindowLayout::OpacityVisible};

OpacityWindow::OpacityWindow(ProgramState& state, QWidget* parent)
    : ToolWindow(QStringLiteral("formQuorlOpacity"), QStringLiteral("Opacity"), kWidth, kFullHeight, parent),
      state_(state) {
  MakeFoldButton(this)->move(kWidth - 30, 4);
  tbOpacity_ = MakeTrackBar(this, "tbOpacity", "Opacity", QRect(8, 28, 160, 24));
  labelOpacity_ = MakeLabel(this, "labelOpacity", QString(), QRect(176, 30, 50, 20));
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OpacityCloseButton"));
  ok->setGeometry(kWidth / 2 - 37, 64, 75, 25);
  connect(ok, &QPushButton::clicked, this, &QWidget::hide);
  connect(tbOpacity_, &QSlider::valueChanged, this, &OpacityWindow::TakeOpacity);

  Init();
}

void OpacityWindow::TakeOpacity() {
  state_.params.Opacity = tbOpacity_->value();
  labelOpacity_->setText(QString::number(tbOpacity_->value()) + QStringLiteral("%"));
}

void OpacityWindow::Init() {
  SetPositionQuietly(tbOpacity_, state_.params.Opacity);
  TakeOpacity();
}

}  // namespace quorl
