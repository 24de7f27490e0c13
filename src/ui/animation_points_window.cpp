#include "ui/animation_points_window.h"

#include <QCheckBox>
#include <QFrame>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "services/curve_edit_session.h"

namespace quorl {

namespace {

// A framed panel holding its controls one below the other.
QFrame* MakePanel(QWidget* parent, const char* name) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QString::fromUtf8(name));
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setAutoFillBackground(true);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(4, 3, 4, 3);
  column->setSpacing(2);
  return panel;
}

template <typename Button>
Button* MakeButton(QWidget* panel, const char* name, const char* caption) {
  auto* button = new Button(QString::fromUtf8(caption), panel);
  button->setObjectName(QString::fromUtf8(name));
  panel->layout()->addWidget(button);
  return button;
}

}  // namespace

AnimationPointsWindow::AnimationPointsWindow(CurveEditSession& session, QWidget* parent)
    : ToolWindow(QStringLiteral("formQuorlAnimationPoints"), QStringLiteral("Animation Points"), parent),
      session_(session) {
  panelSetupAnimationPoints_ = MakePanel(this, "panelSetupAnimationPoints");
  cbSetupAnimationPoints_ = MakeButton<QCheckBox>(panelSetupAnimationPoints_, "cbSetupAnimationPoints",
                                                  "Set up animation point paths?");
  Header()->addWidget(panelSetupAnimationPoints_);

  QFrame* choice = MakePanel(this, "panelAnimationPointsSet");
  rbAnimationPointsSetStartPath_ =
      MakeButton<QRadioButton>(choice, "rbAnimationPointsSetStartPath", "Set start point path bezier");
  rbAnimationPointsSetEndPath_ =
      MakeButton<QRadioButton>(choice, "rbAnimationPointsSetEndPath", "Set end point path bezier");
  rbAnimationPointsSetStartPath_->setChecked(true);
  rbAnimationPointsSetStartPath_->setEnabled(false);
  rbAnimationPointsSetEndPath_->setEnabled(false);
  Body()->addWidget(choice);

  QFrame* use = MakePanel(this, "panelMoveWithPaths");
  cbAnimationPointsMoveStart_ =
      MakeButton<QCheckBox>(use, "cbAnimationPointsMoveStart", "Move start point in animation?");
  cbAnimationPointsMoveEnd_ =
      MakeButton<QCheckBox>(use, "cbAnimationPointsMoveEnd", "Move end point in animation?");
  Body()->addWidget(use);

  connect(cbSetupAnimationPoints_, &QCheckBox::clicked, this, &AnimationPointsWindow::ToggleAnimationPoints);
  connect(rbAnimationPointsSetStartPath_, &QRadioButton::toggled, this, &AnimationPointsWindow::ChoosePath);
  session_.AnimationPathMode = false;
  session_.AnimationPathIsStart = true;
}

void AnimationPointsWindow::ToggleAnimationPoints() {
  const bool on = cbSetupAnimationPoints_->isChecked();
  QPalette palette = panelSetupAnimationPoints_->palette();
  palette.setColor(QPalette::Window, on ? QColor(0, 255, 0) : this->palette().color(QPalette::Button));
  panelSetupAnimationPoints_->setPalette(palette);
  rbAnimationPointsSetStartPath_->setEnabled(on);
  rbAnimationPointsSetEndPath_->setEnabled(on);
  session_.AnimationPathMode = on;
  emit AnimationPathModeChanged(on);
}

void AnimationPointsWindow::ChoosePath() {
  session_.AnimationPathIsStart = StartPathChosen();
}

bool AnimationPointsWindow::SettingUpPaths() const {
  return cbSetupAnimationPoints_->isChecked();
}
bool AnimationPointsWindow::StartPathChosen() const {
  return rbAnimationPointsSetStartPath_->isChecked();
}
bool AnimationPointsWindow::MoveStart() const {
  return cbAnimationPointsMoveStart_->isChecked();
}
bool AnimationPointsWindow::MoveEnd() const {
  return cbAnimationPointsMoveEnd_->isChecked();
}

QCheckBox* AnimationPointsWindow::CheckBox(const char* object_name) const {
  return findChild<QCheckBox*>(QString::fromUtf8(object_name));
}

QRadioButton* AnimationPointsWindow::Radio(const char* object_name) const {
  return findChild<QRadioButton*>(QString::fromUtf8(object_name));
}

}  // namespace quorl
