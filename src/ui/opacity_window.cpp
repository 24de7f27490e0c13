#include "ui/opacity_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "engine/program_state.h"
#include "settings/window_layout.h"
#include "ui/field_rows.h"
#include "ui/track_bars.h"

namespace quorl {

const StoredGeometry OpacityWindow::kGeometry = {&WindowLayout::OpacityHeight, &WindowLayout::OpacityLeft,
                                                 &WindowLayout::OpacityTop, &WindowLayout::OpacityVisible};

OpacityWindow::OpacityWindow(ProgramState& state, QWidget* parent)
    : ToolWindow(QStringLiteral("formQuorlOpacity"), QStringLiteral("Opacity"), parent), state_(state) {
  tbOpacity_ = MakeTrackBar(this, "tbOpacity", "Opacity");
  tbOpacity_->setMinimumWidth(160);
  labelOpacity_ = MakeValueLabel(this, "labelOpacity", QStringLiteral("100%"));
  auto* row = new QHBoxLayout;
  row->addWidget(MakeCaption(QStringLiteral("Opacity"), tbOpacity_));
  row->addWidget(tbOpacity_, 1);
  row->addWidget(labelOpacity_);
  Body()->addLayout(row);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OpacityCloseButton"));
  Body()->addWidget(ok, 0, Qt::AlignHCenter);
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
