// "Animation Points": puts the canvas's right button into drawing the two
// animation paths, chooses which path a stroke replaces, and which paths
// move the run's start and end point from frame to frame. Nothing here is
// stored; the window starts hidden where it was placed.
#pragma once

#include "ui/tool_window.h"

class QCheckBox;
class QFrame;
class QRadioButton;

namespace quorl {

class CurveEditSession;

class AnimationPointsWindow : public ToolWindow {
  Q_OBJECT

 public:
  // Writes the path-drawing mode and the chosen path into `session`, where
  // the canvas gestures read them.
  explicit AnimationPointsWindow(CurveEditSession& session, QWidget* parent = nullptr);

  // "Set up animation point paths?" ticked or unticked.
  void ToggleAnimationPoints();

  bool SettingUpPaths() const;
  bool StartPathChosen() const;
  // "Move start point in animation?" and "Move end point in animation?",
  // read by the series in every frame.
  bool MoveStart() const;
  bool MoveEnd() const;

  QCheckBox* CheckBox(const char* object_name) const;
  QRadioButton* Radio(const char* object_name) const;
  QFrame* SetupPanel() const { return panelSetupAnimationPoints_; }

 signals:
  // The Points window disables its right-button modes, slot list and
  // "Reset curve" while paths are drawn, and gives them back afterwards.
  void AnimationPathModeChanged(bool on);

 private:
  void ChoosePath();

  CurveEditSession& session_;
  QFrame* panelSetupAnimationPoints_ = nullptr;
  QCheckBox* cbSetupAnimationPoints_ = nullptr;
  QRadioButton* rbAnimationPointsSetStartPath_ = nullptr;
  QRadioButton* rbAnimationPointsSetEndPath_ = nullptr;
  QCheckBox* cbAnimationPointsMoveStart_ = nullptr;
  QCheckBox* cbAnimationPointsMoveEnd_ = nullptr;
};

}  // namespace quorl
