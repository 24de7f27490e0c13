// Draw, Stop and Clear, the commands that work on the run's state, and the
// hand-over between the window and the drawing worker.
#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QProgressBar>
#include <QThread>
#include <algorithm>
#include <cmath>

#include "canvas/picture_saving.h"
#include "curves/curve_set_files.h"
#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "ui/canvas_view.h"
#include "ui/dialogs.h"
#include "ui/function_window.h"
#include "ui/main_window.h"
#include "ui/run_worker.h"
#include "ui/status_panel.h"
#include "ui/window_host.h"

namespace quorl {

bool MainWindow::RunInProgress() const { return worker_->Running(); }

void MainWindow::SetDrawCommandsEnabled(bool drawEnabled) {
  Action("Draw1")->setEnabled(drawEnabled);
  Action("Stop1")->setEnabled(!drawEnabled);
  repaint();
}

void MainWindow::SyncParametersIntoCore() {
  state_->params = params_;
  state_->flags.DrawEachStep = Action("Draweachstep1")->isChecked();
  state_->flags.Preview = Action("Preview1")->isChecked();
  state_->UseArctan2 = function_ && function_->UseArctan2();
  const QPoint mouse = Image1_->mapFromGlobal(QCursor::pos());
  if (zoom_factor_ > 0) {
    host_->SetMousePosition(static_cast<int>(std::floor(mouse.x() / zoom_factor_)),
                            static_cast<int>(std::floor(mouse.y() / zoom_factor_)));
  }
}

void MainWindow::RunOnCore(std::function<void()> work) {
  if (RunInProgress()) {
    pending_core_.push_back(std::move(work));
  } else {
    work();
  }
}

void MainWindow::DrawOrStop() {
  if (ending_) return;
  if (RunInProgress()) {
    // Stop: the run ends after its current step.
    SetDrawCommandsEnabled(true);
    Spammer(QStringLiteral("Stopping drawing..."));
    pending_stop_ = true;
    return;
  }
  SyncParametersIntoCore();
  state_->canvas.MultiplierMode = false;
  run_->StartDrawing();
  WriteOwnSettings();
  host_->BeginRun();
  pending_stop_ = false;
  worker_->Start();
}

void MainWindow::StopRunQuietly() {
  if (!RunInProgress()) return;
  SetDrawCommandsEnabled(true);
  pending_stop_ = true;
}

void MainWindow::OnStepBoundary() {
  // The worker is parked: its state may be changed here.
  std::vector<std::function<void()>> work;
  work.swap(pending_core_);
  for (auto& item : work) item();
  SyncParametersIntoCore();
  if (pending_stop_) {
    pending_stop_ = false;
    run_->RequestStop();
  }
  ShowProgress(host_->ProgressPosition());
}

void MainWindow::OnRunFinished() {
  host_->EndRun();
  pending_stop_ = false;
  if (ending_) return;
  std::vector<std::function<void()>> work;
  work.swap(pending_core_);
  for (auto& item : work) item();
  Panel2_->ProgressBar()->setFormat(QString());
}

void MainWindow::ShowTimeLeft(int position) {
  QProgressBar* bar = Panel2_->ProgressBar();
  if (!RunInProgress() || position <= 0) {
    bar->setTextVisible(false);
    return;
  }
  // The run may end early at PercentToComplete.
  const double last = std::min<double>(progress_maximum_, std::ceil(params_.Steps / 100.0 * params_.PercentToComplete));
  const double elapsed_s = (QDateTime::currentMSecsSinceEpoch() - run_started_ms_) / 1000.0;
  const double left_s = std::max(0.0, elapsed_s * (last - position) / position);
  const long long seconds = std::llround(left_s);
  bar->setTextVisible(true);
  bar->setFormat(seconds >= 60 ? QStringLiteral("%1 min %2 s left").arg(seconds / 60).arg(seconds % 60)
                               : QStringLiteral("%1 s left").arg(seconds));
}

void MainWindow::btnClearClick() {
  if (ending_) return;
  RunOnCore([this] {
    SyncParametersIntoCore();
    run_->btnClearClick();
  });
}

void MainWindow::RedrawCanvas() {
  RunOnCore([this] {
    SyncParametersIntoCore();
    state_->canvas.drawArrayOnImage(state_->params, host_.get());
  });
}

void MainWindow::btnLoadIniFromFileClickClick() {
  const QString file =
      CurrentDialogs().OpenFile(this, QStringLiteral("Load an Quorl initialisation file"),
                                QString::fromStdString(params_.LoadDir), QStringLiteral("Quorl initialisation (*.ini)"));
  if (file.isEmpty()) return;
  const std::string path = file.toStdString();
  params_.CurrentStyle = ReadIniCurrentStyle(path);
  ApplyReadOutcome(ReadSettings(params_.CurrentStyle, path));
  Spammer(QStringLiteral("Loaded ") + QFileInfo(file).absoluteFilePath());
  params_.LoadDir = QFileInfo(file).absolutePath().toStdString() + "/";
  // The curves saved beside the settings file come in with it.
  RunOnCore([this, path] {
    const CurveFilesLoadReport report = LoadCurvesBesideSettings(state_->curves, path, *host_);
    if (!report.Error.empty()) ShowMessage(QStringLiteral("btnLoadIniFromFileClickClick: ") + QString::fromStdString(report.Error));
  });
}

void MainWindow::buttonSaveImageClick() {
  RunOnCore([this] {
    CollectGeometry();
    SyncParametersIntoCore();
    SaveOptions options;
    options.useTransparency = Action("Usetransparency1")->isChecked();
    quorl::buttonSaveImageClick(*state_, *host_, options);
    params_.SaveDir = state_->params.SaveDir;
  });
}

void MainWindow::buttonSaveImageToFolderClick() {
  const QString folder = CurrentDialogs().ChooseFolder(this, QStringLiteral("Change default save location"),
                                                       QString::fromStdString(params_.SaveDir));
  if (folder.isEmpty()) {
    Spammer(QStringLiteral("Save directory unchanged as ") + QString::fromStdString(params_.SaveDir));
    return;
  }
  QString stored = folder;
  if (!stored.endsWith(QLatin1Char('/'))) stored += QLatin1Char('/');
  params_.SaveDir = stored.toStdString();
  Spammer(QStringLiteral("Save directory changed to ") + stored);
}

}  // namespace quorl
