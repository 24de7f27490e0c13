// "Points": what the right mouse button does on the canvas (rotation
// points, path points, or the selected curve), the slot to work on with its
// commands, the A and B points of the path and of the rotation centre with
// the modes that move them, and the smoothing of freehand strokes.
//
// Also here, the window-side pieces curve editing needs from the main
// window: the canvas view, the file dialogs and the mouse hand-over.
#pragma once

#include <QImage>
#include <functional>

#include "services/curve_commands.h"
#include "services/curve_edit_session.h"
#include "ui/tool_window.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QMouseEvent;
class QPushButton;
class QRadioButton;
class QSlider;

namespace quorl {

class CanvasView;
class CurveMouseEditor;
class NumericField;

class PointsWindow : public ToolWindow, public CurvePointsView {
  Q_OBJECT

 public:
  static const StoredGeometry kGeometry;

  // Takes its stored geometry, runs Init, and shows the slot marks of
  // curve editing from now on.
  PointsWindow(CurveEditSession& session, CurveCommands& commands, QWidget* parent = nullptr);
  ~PointsWindow() override;

  // Fills the controls from the parameters (at creation and after every
  // settings read) and marks every slot whose curve has five points or more.
  void Init();

  // The right button's mode: checks its radio button and runs its click
  // handling (the hidden menu items and Ctrl+4 come through here).
  void SelectRightButtonMode(RightButtonMode mode);
  // While the Animation Points window draws paths the mode buttons, the
  // slot list and "Reset curve" are disabled.
  void SetAnimationPathMode(bool on);
  // "Use A and B?" shows MoveRotation again (after the menu item changed it).
  void SyncMoveRotation();

  void SelectRotationPoints();
  void SelectPathPoints();
  void SelectMultiplierCurves();
  void TakePathMode();    // a path radio button
  void TakeRotateMode();  // a rotate radio button
  void TakeBezierMouse(int position);
  void ResetPath();
  void ResetRotation();

  // CurvePointsView
  void ShowSlotMark(int slot, bool marked, bool select) override;
  void ShowPlacedPoint(PointPair pair, bool pointA, const std::string& x, const std::string& y) override;

  QComboBox* SlotList() const { return cbMultiplierBeziers_; }
  NumericField* Field(const char* object_name) const;
  QPushButton* Button(const char* object_name) const;
  QRadioButton* Radio(const char* object_name) const;
  QCheckBox* CheckBox(const char* object_name) const;
  QSlider* Smoothing() const { return tbBezierMouse_; }

 signals:
  // For the main window's hidden menu items that mirror these switches.
  void RightButtonModeChanged(RightButtonMode mode);
  void MoveRotationChanged(bool on);

 private:
  void BuildCurvePanel();
  void BuildPointRows();
  void SetCurveCommandsEnabled(bool enabled);
  // Curve and canvas work waits for a drawing run's next step boundary.
  void OnCore(std::function<void()> work);

  CurveEditSession& session_;
  CurveCommands& commands_;
  QComboBox* cbMultiplierBeziers_ = nullptr;
  QSlider* tbBezierMouse_ = nullptr;
  QLabel* labelBezierMouse_ = nullptr;
  std::vector<QPushButton*> curve_buttons_;
  std::vector<NumericField*> point_fields_;
};

// The main window's canvas as curve editing sees it: pictures go to `show`,
// cursors to `canvas`.
class CurveCanvasAdapter : public CurveCanvasView {
 public:
  CurveCanvasAdapter(std::function<void(const QImage&)> show, CanvasView* canvas);
  void ShowCanvasPicture(const Picture24& picture) override;
  void ShowControlSquares(const std::vector<ControlSquare>& squares) override;
  void SetCanvasCursor(CanvasCursor cursor) override;
  void SetBusy(bool busy) override;

 private:
  std::function<void(const QImage&)> show_;
  CanvasView* canvas_;
  bool busy_ = false;
};

// The curve file commands' dialogs, through the program's dialogs layer.
class CurveFileDialogsAdapter : public CurveFileDialogs {
 public:
  explicit CurveFileDialogsAdapter(QWidget* parent) : parent_(parent) {}
  std::string SaveFile(const std::string& title, const std::string& folder, const std::string& proposedName,
                       const std::string& filterName, const std::string& pattern,
                       const std::string& defaultExtension) override;
  std::string OpenFile(const std::string& title, const std::string& folder, const std::string& filterName,
                       const std::string& pattern) override;
  bool AskYesNo(const std::string& text) override;

 private:
  QWidget* parent_;
};

// Hands a mouse press, move or release on the canvas to curve editing;
// `position` is in canvas pixels (zoom and scrolling taken out).
void ForwardCanvasMouse(CurveMouseEditor& editor, const QMouseEvent& event, QPoint position);

}  // namespace quorl
