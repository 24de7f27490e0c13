#include "ui/animation_points_window.h"

#include <QCheckBox>
#include <QFrame>
#include <QPushButton>
#include <QRadioButton>

#include "services/curve_edit_session.h"

namespace quorl {

namespace {

QFrame* MakePanel(QWidget* parent, const char* name, const QRect& geometry) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QString::fromUtf8(name));
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setGeometry(geometry);
  panel->setAutoFillBackground(true);
  return panel;
}

template <typename Button>
Button* MakeButton(QWidget* parent, const char* name, const char* caption, int top) {
  auto* button = new Button(QString::fromUtf8(caption), parent);
  button->setObjectName(QString::fromUtf8(name));
  button->setGeometry(3, top, AnimationPointsWindow::kWidth - 7, 20);
  return button;
}

}  // namespace

AnimationPointsWindow::AnimationPointsWindow(CurveEditSession& session, QWidget* parent)
    : ToolWindow(QStringLiteral("formQuorlAnimationPoints"), QStringLiteral("Animation Points"), kWidth,
                 kFullHeight, parent),
      session_(session) {
  // The captions are long for the window's width: the panels take it all.
  panelSetupAnimationPoints_ = MakePanel(this, "panelSetupAnimationPoints", QRect(1, 1, kWidth - 2, 48));
  cbSetupAnimationPoints_ = MakeButton<QCheckBox>(panelSetupAnimationPoints_, "cbSetupAnimationPoints",
                                                  "Set up animation point paths?", 3);
  MakeFoldButton(panelSetupAnimationPoints_)->move(kWidth - 30, 24);

  QFrame* choice = MakePanel(this, "panelAnimationPointsSet", QRect(1, 51, kWidth - 2, 54));
  rbAnimationPointsSetStartPath_ =
      MakeButton<QRadioButton>(choice, "rbAnimationPointsSetStartPath", "Set start point path bezier", 5);
  rbAnimationPointsSetEndPath_ =
      MakeButton<QRadioButton>(choice, "rbAnimationPointsSetEndPath", "Set end point path bezier", 28);
  rbAnimationPointsSetStartPath_->setChecked(true);
  rbAnimationPointsSetStartPath_->setEnabled(false);
  rbAnimationPointsSetEndPath_->setEnabled(false);

  QFrame* use = MakePanel(this, "panelMoveWithPaths", QRect(1, 107, kWidth - 2, 54));
  cbAnimationPointsMoveStart_ =
      MakeButton<QCheckBox>(use, "cbAnimationPointsMoveStart", "Move start point in animation?", 5);
  cbAnimationPointsMoveEnd_ =
      MakeButton<QCheckBox>(use, "cbAnimationPointsMoveEnd", "Move end point in animation?", 28);

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
