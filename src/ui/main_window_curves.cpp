// Curve editing in the main window: the canvas's mouse goes to the curve
// gestures, the curve commands of the File, Edit and Options menus, and the
// Points, Path, Animation and Animation Points windows tied to them and to
// each other.
#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QMouseEvent>
#include <QShortcut>
#include <QSignalBlocker>
#include <functional>

#include "engine/program_state.h"
#include "services/curve_commands.h"
#include "services/curve_editing.h"
#include "services/curve_set_files.h"
#include "services/picture_recipe.h"
#include "ui/animation_points_window.h"
#include "ui/animation_window.h"
#include "ui/canvas_view.h"
#include "ui/main_window.h"
#include "ui/main_window_host.h"
#include "ui/numeric_field.h"
#include "ui/path_window.h"
#include "ui/points_window.h"

namespace quorl {

namespace {

const char* ModeItem(RightButtonMode mode) {
  switch (mode) {
    case RightButtonMode::RotationPoints:
      return "Setrotationpoints1";
    case RightButtonMode::PathPoints:
      return "Setpathpoints1";
    case RightButtonMode::Curve:
      return "DrawMultiplierBezier1";
  }
  return "Setrotationpoints1";
}

}  // namespace

void MainWindow::CreateCurveEditing() {
  curve_session_ = std::make_unique<CurveEditSession>(params_, *state_, *host_);
  // Strokes and clicks are refused while Draw or an animation frame runs.
  curve_session_->IsDrawing = [this] { return RunInProgress(); };
  // Curve work that touches the canvas waits for the step being drawn.
  curve_session_->RunOnCore = [this](std::function<void()> work) { BetweenSteps(std::move(work)); };
  curve_canvas_ = std::make_unique<CurveCanvasAdapter>(
      [this](const QImage& picture) { ShowCanvasPicture(picture); }, Image1_);
  curve_session_->SetCanvasView(curve_canvas_.get());
  curve_mouse_ = std::make_unique<CurveMouseEditor>(*curve_session_);
  curve_dialogs_ = std::make_unique<CurveFileDialogsAdapter>(this);
  curve_commands_ = std::make_unique<CurveCommands>(*curve_session_, *curve_dialogs_);

  const auto forward = [this](QMouseEvent* event, QPoint position) {
    ForwardCanvasMouse(*curve_mouse_, *event, position);
  };
  connect(Image1_, &CanvasView::MouseDown, this, forward);
  connect(Image1_, &CanvasView::MouseMove, this, forward);
  connect(Image1_, &CanvasView::MouseUp, this, forward);
}

void MainWindow::ConnectCurveMenuItems() {
  const auto mode = [this](RightButtonMode wanted) {
    // While the right button draws animation paths the Points window's
    // modes are off limits, for the shortcut as for the window.
    if (curve_session_->AnimationPathMode) {
      Action(ModeItem(curve_session_->Mode))->setChecked(true);
      return;
    }
    points_->SelectRightButtonMode(wanted);
  };
  const struct {
    const char* name;
    std::function<void()> run;
  } items[] = {
      {"Opencurvefile1", [this] { curve_commands_->LoadCurveFromFile(); }},
      {"Savecurvefile1", [this] { curve_commands_->SaveCurveFile(); }},
      {"CutCurve1", [this] { curve_commands_->CutCurve(); }},
      {"CopyCurve1", [this] { curve_commands_->CopyCurveToClipboard(); }},
      {"PasteCurve1", [this] { curve_commands_->PasteCurve(); }},
      {"Resetallcurves1",
       [this] {
         if (MaySetPictureAside()) curve_commands_->ResetAllCurvesCommand();
       }},
      {"ShowCurve1", [this] { curve_commands_->ShowCurve(); }},
      {"Setrotationpoints1", [mode] { mode(RightButtonMode::RotationPoints); }},
      {"Setpathpoints1", [mode] { mode(RightButtonMode::PathPoints); }},
      {"DrawMultiplierBezier1", [mode] { mode(RightButtonMode::Curve); }},
      {"DrawwithStartandEndBeziers1", [this] { curve_commands_->ToggleStartAndEndBeziers(); }},
      {"UseStartBezierasEndBezier1", [this] { curve_commands_->ToggleStartAsEndBezier(); }},
      {"Moverotationcenterbetweenpoints1",
       [this] {
         curve_commands_->SetMoveRotation(Action("Moverotationcenterbetweenpoints1")->isChecked());
         points_->SyncMoveRotation();
       }},
  };
  // A curve command may redraw the canvas: never while a step colours it.
  for (const auto& item : items)
    connect(Action(item.name), &QAction::triggered, this, [this, run = item.run] { BetweenSteps(run); });
  AddHiddenShortcut("DrawMultiplierBezier1", QKeySequence(Qt::CTRL | Qt::Key_4));
  AddHiddenShortcut("UseStartBezierasEndBezier1", QKeySequence(Qt::Key_Equal));
}

void MainWindow::AddHiddenShortcut(const char* action, const QKeySequence& keys) {
  // A hidden menu item's own shortcut does not fire.
  auto* shortcut = new QShortcut(keys, this);
  shortcut->setContext(Qt::WindowShortcut);
  QAction* item = Action(action);
  connect(shortcut, &QShortcut::activated, item, &QAction::trigger);
}

void MainWindow::ConnectCurveWindows() {
  connect(points_, &PointsWindow::RightButtonModeChanged, this,
          [this](RightButtonMode mode) { Action(ModeItem(mode))->setChecked(true); });
  connect(points_, &PointsWindow::MoveRotationChanged, Action("Moverotationcenterbetweenpoints1"),
          &QAction::setChecked);
  connect(animation_points_, &AnimationPointsWindow::AnimationPathModeChanged, points_,
          &PointsWindow::SetAnimationPathMode);

  animation_->SetAnimationPoints(animation_points_);
  // Each frame reads the rotation points as the Points window shows them.
  animation_->SetRotationFields({points_->Field("editRotateXStart"), points_->Field("editRotateYStart"),
                                 points_->Field("editRotateXEnd"), points_->Field("editRotateYEnd")});
  animation_->SaveFrame = [this] {
    // The frame stays on show after the series, although the grids are
    // cleared for the next frame and the next Draw.
    last_frame_ = CanvasPictureCopy();
    const SaveResult saved = SavePictureSet();
    if (saved.ok) {
      ++frames_saved_;
      frames_folder_ = QFileInfo(QString::fromStdString(saved.pngPath)).absolutePath();
    }
    return saved;
  };
  animation_->SeriesEnded = [this] { ReportFramesSaved(); };
  animation_->SyncRunSwitches = [this] { SyncRunSwitches(); };
}

int MainWindow::SelectedCurveSlot() const {
  return curve_session_->SelectedSlot;
}

void MainWindow::SelectCurveSlot(int slot) {
  if (slot < 0 || slot >= kCurveCount) return;
  curve_session_->SelectedSlot = slot;
  if (!points_) return;
  // Not the user choosing a slot: nothing is shown for it.
  const QSignalBlocker blocker(points_->SlotList());
  points_->SlotList()->setCurrentIndex(slot);
}

void MainWindow::LoadCurvesOfSettings(const std::string& settingsPath) {
  const int slot = SelectedCurveSlot();
  // All curves are reset before the load: one on display leaves the canvas.
  if (state_->canvas.MultiplierMode) curve_session_->RestorePicture();
  // A saved set lists its curve files: exactly those are loaded.
  const std::vector<std::string> listed = SplitCurveList(params_.SavedCurves);
  const CurveFilesLoadReport report = LoadCurvesBesideSettings(
      state_->curves, settingsPath, *host_, params_.SavedCurves.empty() ? nullptr : &listed);
  for (const std::string& missing : report.Missing)
    ShowMessage(QStringLiteral("OpenSettingsFile: the curve file ") + QString::fromStdString(missing) +
                QStringLiteral(" listed in the settings is missing."));
  curve_session_->MarkLoadedSlots(report.FoundSlots);
  SelectCurveSlot(slot);
  if (!report.Error.empty())
    ShowMessage(QStringLiteral("OpenSettingsFile: ") + QString::fromStdString(report.Error));
}

}  // namespace quorl
