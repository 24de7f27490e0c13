#include "ui/status_panel.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QVBoxLayout>

namespace quorl {

StatusPanel::StatusPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Panel2"));
  setFixedHeight(kPanelHeight);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  pbSteps_ = new QProgressBar(this);
  pbSteps_->setObjectName(QStringLiteral("pbSteps"));
  pbSteps_->setFixedHeight(kProgressBarHeight);
  pbSteps_->setTextVisible(false);
  pbSteps_->setRange(0, 100);
  pbSteps_->setValue(0);
  layout->addWidget(pbSteps_);

  StatusBar1_ = new QStatusBar(this);
  StatusBar1_->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1_->setSizeGripEnabled(false);
  panel_ = new QLabel(StatusBar1_);
  panel_->setObjectName(QStringLiteral("StatusPanel0"));
  StatusBar1_->addWidget(panel_, 1);
  layout->addWidget(StatusBar1_);
}

void StatusPanel::ShowStatus(const QString& message) {
  panel_->setText(message);
  StatusBar1_->repaint();
}

QString StatusPanel::Message() const {
  return panel_->text();
}

void StatusPanel::SetupProgressBar(int maximum) {
  pbSteps_->setRange(0, maximum);
  pbSteps_->setValue(0);
}

void StatusPanel::SetProgressPosition(int position) {
  pbSteps_->setValue(position);
}

}  // namespace quorl
