#include "ui/status_panel.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/dialogs.h"

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
  open_folder_ = new QToolButton(StatusBar1_);
  open_folder_->setObjectName(QStringLiteral("OpenFolderButton"));
  open_folder_->setText(QStringLiteral("Open folder"));
  open_folder_->setToolTip(QStringLiteral("Show the saved frames in the file manager"));
  open_folder_->setAccessibleName(QStringLiteral("Open folder"));
  open_folder_->setAutoRaise(true);
  open_folder_->hide();
  connect(open_folder_, &QToolButton::clicked, this, [this] { CurrentDialogs().OpenFolder(folder_); });
  StatusBar1_->addPermanentWidget(open_folder_);
  layout->addWidget(StatusBar1_);
}

void StatusPanel::OfferFolder(const QString& folder) {
  folder_ = folder;
  open_folder_->show();
}

void StatusPanel::ShowStatus(const QString& message) {
  open_folder_->hide();
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
