// Draw, Stop and Clear, the run stepped from the event loop, and the
// commands that load and save whole sets of files.
#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "base/atomic_file.h"
#include "canvas/png_recipe.h"
#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "services/picture_saving.h"
#include "ui/animation_window.h"
#include "ui/dialogs.h"
#include "ui/function_window.h"
#include "ui/main_window.h"
#include "ui/main_window_host.h"
#include "ui/status_panel.h"

namespace quorl {

bool MainWindow::RunInProgress() const {
  return stepping_ || (animation_ && animation_->MakingFrames());
}

void MainWindow::SetDrawCommandsEnabled(bool drawEnabled) {
  Action("Draw1")->setEnabled(drawEnabled);
  Action("Stop1")->setEnabled(!drawEnabled);
  repaint();
}

void MainWindow::EnableAnimationStart(bool enabled) {
  if (animation_) animation_->EnableStartButton(enabled);
}

void MainWindow::SyncRunSwitches() {
  state_->flags.DrawEachStep = Action("Draweachstep1")->isChecked();
  state_->flags.Preview = Action("Preview1")->isChecked();
  state_->UseArctan2 = function_ && function_->UseArctan2();
}

void MainWindow::DrawOrStop() {
  if (ending_) return;
  // Draw and Stop alike take a displayed curve out of play.
  state_->canvas.MultiplierMode = false;
  if (stepping_) {
    // Stop: the run ends before its next step.
    run_->DrawOrStop();
    return;
  }
  if (animation_ && animation_->MakingFrames()) {
    // Draw or Stop during a series asks the frame being drawn to stop; it
    // never starts a second run.
    if (state_->flags.IsDrawing) run_->DrawOrStop();
    return;
  }
  SyncRunSwitches();
  host_->BeginRun();
  run_->StartDrawing();
  run_->Begin();
  stepping_ = true;
  step_timer_->start();
}

void MainWindow::RunNextStep() {
  SyncRunSwitches();
  // A stop asked for between two steps ends the run before the next one.
  if (state_->flags.StopRequested || !run_->RunStep()) EndRun();
}

void MainWindow::EndRun() {
  step_timer_->stop();
  state_->flags.IsDrawing = false;
  run_->Finish();
  stepping_ = false;
  host_->EndRun();
  Panel2_->ProgressBar()->setTextVisible(false);
}

void MainWindow::StopRunQuietly() {
  if (RunInProgress()) run_->RequestStop();
}

void MainWindow::ShowTimeLeft(int position) {
  QProgressBar* bar = Panel2_->ProgressBar();
  if (!RunInProgress() || position <= 0) {
    bar->setTextVisible(false);
    return;
  }
  // The run may end early at PercentToComplete.
  const double last =
      std::min<double>(progress_maximum_, std::ceil(params_.Steps / 100.0 * params_.PercentToComplete));
  const double elapsed_s =
      static_cast<double>(QDateTime::currentMSecsSinceEpoch() - run_started_ms_) / 1000.0;
  const long long seconds = std::llround(std::max(0.0, elapsed_s * (last - position) / position));
  bar->setTextVisible(true);
  bar->setFormat(seconds >= 60 ? QStringLiteral("%1 min %2 s left").arg(seconds / 60).arg(seconds % 60)
                               : QStringLiteral("%1 s left").arg(seconds));
}

void MainWindow::Clear() {
  if (ending_) return;
  run_->Clear();
}

void MainWindow::RedrawCanvas() {
  state_->canvas.DrawGridsOnPicture(params_, host_.get());
}

void MainWindow::OpenSettingsFile() {
  const QString file = CurrentDialogs().OpenFile(
      this, QStringLiteral("Load an Quorl initialisation file"), QString::fromStdString(layout_.LoadDir),
      QStringLiteral("Quorl initialisation (*.ini);;Quorl pictures with their settings (*.png)"));
  if (file.isEmpty()) return;
  std::string path = file.toStdString();
  // A picture saved by Quorl carries its settings and curves: they are
  // opened as the settings file and curve files saved beside it would be.
  UnpackedRecipe recipe;
  std::string bytes, error;
  if (ReadWholeFile(path, bytes, &error) && LooksLikePng(bytes)) {
    if (!recipe.Unpack(bytes, error)) {
      ShowMessage(QStringLiteral("OpenSettingsFile: ") + QString::fromStdString(error));
      return;
    }
    path = recipe.SettingsPath();
  }
  params_.CurrentStyle = ReadIniCurrentStyle(path);
  ApplyReadOutcome(ReadSettings(params_.CurrentStyle, path));
  ShowStatus(QStringLiteral("Loaded ") + QFileInfo(file).absoluteFilePath());
  layout_.LoadDir = QFileInfo(file).absolutePath().toStdString() + "/";
  LoadCurvesOfSettings(path);
}

SaveResult MainWindow::SavePictureSet() {
  CollectGeometry();
  SaveOptions options;
  options.useTransparency = Action("Usetransparency1")->isChecked();
  options.keepRecipe = params_.KeepSettingsInPictures;
  return quorl::SavePictureFiles(*state_, *host_, options);
}

void MainWindow::SavePictureToFolder() {
  const QString folder = CurrentDialogs().ChooseFolder(this, QStringLiteral("Change default save location"),
                                                       QString::fromStdString(layout_.SaveDir));
  if (folder.isEmpty()) {
    ShowStatus(QStringLiteral("Save directory unchanged as ") + QString::fromStdString(layout_.SaveDir));
    return;
  }
  QString stored = folder;
  if (!stored.endsWith(QLatin1Char('/'))) stored += QLatin1Char('/');
  layout_.SaveDir = stored.toStdString();
  ShowStatus(QStringLiteral("Save directory changed to ") + stored);
}

}  // namespace quorl
