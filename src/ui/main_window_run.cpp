// Draw, Stop and Clear, the run stepped from the event loop, and the
// commands that load and save whole sets of files.
#include <QAction>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "base/atomic_file.h"
#include "base/paths.h"
#include "canvas/png_recipe.h"
#include "curves/curve_slots.h"
#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "services/picture_recipe.h"
#include "services/picture_saving.h"
#include "settings/settings_file.h"
#include "ui/animation_window.h"
#include "ui/dialogs.h"
#include "ui/function_window.h"
#include "ui/history_controller.h"
#include "ui/main_window.h"
#include "ui/main_window_host.h"
#include "ui/status_panel.h"
#include "ui/step_worker.h"

namespace quorl {

bool MainWindow::RunInProgress() const {
  return stepping_ || (animation_ && animation_->MakingFrames());
}

void MainWindow::BetweenSteps(std::function<void()> command) {
  if (worker_ && worker_->Busy()) {
    between_steps_.push_back(std::move(command));
    return;
  }
  command();
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
    // Stop: the run ends before its next step; the user hears at once.
    if (worker_->Busy()) ShowStatus(QStringLiteral("Stopping drawing..."));
    BetweenSteps([this] {
      if (stepping_ && state_->flags.IsDrawing) run_->DrawOrStop();
    });
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
  picture_unsaved_ = true;
  run_->StartDrawing();
  run_->Begin();
  stepping_ = true;
  last_shown_ms_ = QDateTime::currentMSecsSinceEpoch();
  StartNextStep();
}

void MainWindow::StartNextStep() {
  SyncRunSwitches();
  // The run shows the canvas itself only at its first step; "Draw each
  // step?" is shown from here, at most kShowIntervalMs apart.
  draw_each_step_ = state_->flags.DrawEachStep;
  state_->flags.DrawEachStep = false;
  *step_params_ = params_;
  *step_curves_ = state_->curves;
  host_->TakeMousePosition();
  run_->SetStepInputs(step_params_.get(), step_curves_.get());
  worker_->Start();
}

void MainWindow::AfterStep(bool more) {
  if (!stepping_) return;
  run_->SetStepInputs(nullptr, nullptr);
  // The step's Multiplier readings, as a step on this thread leaves them.
  for (int slot = 0; slot < kCurveCount; ++slot)
    state_->curves[slot].Multiplier = (*step_curves_)[slot].Multiplier;
  emit StepDrawn(static_cast<int>(run_->CurrentStep()) - 1);
  // Commands that arrived while the step was drawn, in their order; one may
  // queue another, which then runs here too.
  for (std::size_t i = 0; i < between_steps_.size(); ++i) {
    auto command = std::move(between_steps_[i]);
    command();
  }
  between_steps_.clear();
  const qint64 now = QDateTime::currentMSecsSinceEpoch();
  // Rendering a large canvas takes a while and the worker waits for it:
  // pictures are shown at most 30 times a second, and never so often that
  // showing them takes more than a quarter of the run.
  const qint64 interval = std::max<qint64>(kShowIntervalMs, 3 * show_cost_ms_);
  if (host_->TakeRenderedInStep() || (more && draw_each_step_ && now - last_shown_ms_ >= interval)) {
    QElapsedTimer cost;
    cost.start();
    if (draw_each_step_) state_->canvas.DrawWrittenRowsOnPicture(params_);
    ShowCanvas();
    show_cost_ms_ = cost.elapsed();
    last_shown_ms_ = QDateTime::currentMSecsSinceEpoch();
  }
  if (!more || state_->flags.StopRequested) {
    EndRun();
    return;
  }
  if (history_) before_step_ = history_->BetweenSteps(run_->Position());
  StartNextStep();
}

void MainWindow::EndRun() {
  state_->flags.DrawEachStep = draw_each_step_;
  state_->flags.IsDrawing = false;
  run_->Finish();
  stepping_ = false;
  if (history_) history_->RunEnded(run_->Position());
  host_->EndRun();
  Panel2_->ProgressBar()->setTextVisible(false);
}

void MainWindow::StopRunQuietly() {
  if (stepping_) {
    BetweenSteps([this] { run_->RequestStop(); });
  } else if (RunInProgress()) {
    run_->RequestStop();
  }
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
  BetweenSteps([this] {
    run_->Clear();
    picture_unsaved_ = false;
  });
}

void MainWindow::RedrawCanvas() {
  BetweenSteps([this] { state_->canvas.DrawGridsOnPicture(params_, host_.get()); });
}

void MainWindow::ReportFramesSaved() {
  const int saved = frames_saved_;
  frames_saved_ = 0;
  if (saved == 0) return;
  if (!last_frame_.isNull()) ShowCanvasPicture(last_frame_);
  last_frame_ = QImage();
  ShowStatus(
      QStringLiteral("Saved %1 frame%2 in %3").arg(saved).arg(saved == 1 ? "" : "s").arg(frames_folder_));
  Panel2_->OfferFolder(frames_folder_);
}

void MainWindow::OpenSettingsFile() {
  const QString file = CurrentDialogs().OpenFile(
      this, QStringLiteral("Load an Quorl initialisation file"), QString::fromStdString(layout_.LoadDir),
      QStringLiteral("Quorl settings and pictures (*.ini *.png);;Quorl initialisation (*.ini);;"
                     "Quorl pictures with their settings (*.png)"));
  if (file.isEmpty()) return;
  OpenFile(file);
}

bool MainWindow::OpenFile(const QString& file) {
  std::string path = file.toStdString();
  const QString name = QFileInfo(file).fileName();
  std::string bytes, error;
  if (!ReadWholeFile(path, bytes, &error)) {
    ShowMessage(QStringLiteral("OpenSettingsFile: ") + QString::fromStdString(error));
    return false;
  }
  // A picture saved by Quorl carries its settings and curves: they are
  // opened as the settings file and curve files saved beside it would be.
  UnpackedRecipe recipe;
  const bool isRecipe = LooksLikePng(bytes);
  if (isRecipe) {
    if (!recipe.Unpack(bytes, error)) {
      // A sound picture without a recipe is told plainly; a damaged one
      // with the reason.
      const bool noRecipe = error.find("carries no Quorl") != std::string::npos;
      ShowMessage(noRecipe ? name + QStringLiteral(" carries no Quorl recipe")
                           : QStringLiteral("OpenSettingsFile: ") + QString::fromStdString(error));
      return false;
    }
    path = recipe.SettingsPath();
  }
  if (!MaySetPictureAside()) return false;
  // What was changed before is a step of its own, apart from the file's.
  if (history_) history_->RecordIfChanged();
  params_.CurrentStyle = ReadIniCurrentStyle(path);
  // A recipe holds only the picture's keys: the window's layout and the
  // folders stay the user's own.
  ApplyReadOutcome(isRecipe
                       ? ReadPresentKeys(params_, params_.CurrentStyle, recipe.Contents().settings, Screen())
                       : ReadSettings(params_.CurrentStyle, path));
  ShowStatus(QStringLiteral("Loaded ") + QFileInfo(file).absoluteFilePath());
  layout_.LoadDir = QFileInfo(file).absolutePath().toStdString() + "/";
  LoadCurvesOfSettings(path);
  if (history_) history_->RecordIfChanged();
  window_state_.AddRecentFile(file);
  RebuildRecentMenu();
  RememberWindowState();
  return true;
}

bool MainWindow::MaySetPictureAside() {
  if (!picture_unsaved_ || !window_state_.askSaveFirst) return true;
  bool stop_asking = false;
  const Dialogs::SaveChoice choice = CurrentDialogs().AskSaveFirst(this, stop_asking);
  if (stop_asking && choice != Dialogs::SaveChoice::Cancel) {
    window_state_.askSaveFirst = false;
    RememberWindowState();
  }
  switch (choice) {
    case Dialogs::SaveChoice::Save:
      // A failed save has said why; the picture is kept.
      return SavePictureSet().ok;
    case Dialogs::SaveChoice::Discard:
      // Asked once per picture.
      picture_unsaved_ = false;
      return true;
    case Dialogs::SaveChoice::Cancel:
      break;
  }
  return false;
}

void MainWindow::RebuildRecentMenu() {
  if (!recent_menu_) return;
  window_state_.DropMissingFiles();
  recent_menu_->clear();
  int number = 1;
  for (const QString& file : window_state_.recentFiles) {
    QAction* item =
        recent_menu_->addAction(QStringLiteral("&%1 %2").arg(number % 10).arg(QFileInfo(file).fileName()));
    item->setToolTip(file);
    item->setData(file);
    connect(item, &QAction::triggered, this,
            [this, file] { BetweenSteps([this, file] { OpenFile(file); }); });
    ++number;
  }
  recent_menu_->setEnabled(!window_state_.recentFiles.isEmpty());
}

void MainWindow::RememberWindowState() {
  WriteWindowState(window_state_, ProgramSettingsFile());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls.first().isLocalFile()) {
    const QString suffix = QFileInfo(urls.first().toLocalFile()).suffix().toLower();
    if (suffix == QLatin1String("ini") || suffix == QLatin1String("png")) event->acceptProposedAction();
  }
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  const QString file = urls.first().toLocalFile();
  event->acceptProposedAction();
  BetweenSteps([this, file] { OpenFile(file); });
}

SaveResult MainWindow::SavePictureSet() {
  CollectGeometry();
  SaveOptions options;
  options.useTransparency = Action("Usetransparency1")->isChecked();
  options.keepRecipe = params_.KeepSettingsInPictures;
  SaveResult saved = quorl::SavePictureFiles(*state_, *host_, options);
  if (saved.ok) picture_unsaved_ = false;
  return saved;
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
