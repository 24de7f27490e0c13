// The main window's side of the recipe history: Undo and Redo, the History
// window, canvas state files, and the autosave between the steps of a run.
#include <QAction>
#include <QCheckBox>
#include <QDateTime>
#include <QFileInfo>

#include "canvas/picture_files.h"
#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "services/curve_edit_session.h"
#include "services/image_loading.h"
#include "ui/dialogs.h"
#include "ui/function_window.h"
#include "ui/history_controller.h"
#include "ui/history_window.h"
#include "ui/main_window.h"
#include "ui/main_window_host.h"

namespace quorl {

void MainWindow::StartHistory() {
  history_ = new HistoryController(*this);
  history_window_ = new HistoryWindow(*history_, this);
  // A menu command or its shortcut is an action of its own: what it changed
  // is a step as soon as it returns.
  for (QAction* action : actions_)
    connect(action, &QAction::triggered, history_, [this] { history_->RecordIfChanged(); });
  // Undo, Redo and History answer their shortcuts in every tool window too.
  for (QWidget* tool : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (tool->isWindow()) tool->addActions({Action("Undocurveedit1"), Action("Redo1"), Action("History1")});
  connect(history_, &HistoryController::HistoryChanged, this, &MainWindow::NameUndoSteps);
  history_->Start();
  NameUndoSteps();
}

void MainWindow::NameUndoSteps() {
  // "Undo Start radius 60 → 90", "Redo Steps 200 → 700": the menu says
  // what the command takes back or brings again.
  RecipeHistory& history = history_->History();
  const auto caption = [](const char* verb, const HistoryEntry* entry) {
    if (!entry) return QString::fromUtf8(verb);
    QString what = QString::fromStdString(entry->description);
    if (what.size() > kMaxUndoCaption) what = what.left(kMaxUndoCaption - 1) + QChar(0x2026);
    return QString::fromUtf8(verb) + QLatin1Char(' ') + what;
  };
  const HistoryEntry* current = history.Find(history.Current());
  Action("Undocurveedit1")->setText(caption("Undo", history.CanUndo() ? current : nullptr));
  Action("Redo1")->setText(caption("Redo", history.Find(history.RedoTarget())));
}

void MainWindow::RecipePutBack() {
  // As after a settings file was read: menu checks and every tool window.
  ApplyReadOutcome(ReadIniOutcome{});
  // A curve on display shows its restored points.
  if (state_->canvas.MultiplierMode && curve_session_->SlotSelected()) curve_session_->SelectSlotCurve();
}

void MainWindow::PicturesFollowRecipe(const std::string& source, const std::string& background) {
  const ParameterSet restored = params_;
  const std::string& wantSource = restored.SourceImageFileName;
  if (wantSource != source) {
    if (wantSource.empty())
      state_->source.Clear();
    else
      LoadSourceImage(*state_, wantSource, ExtensionOf(wantSource), *host_);
  }
  const std::string& wantBackground = restored.BackgroundImageFileName;
  if (wantBackground != background) {
    if (wantBackground.empty())
      state_->background.Clear();
    else
      LoadBackgroundImage(*state_, wantBackground, ExtensionOf(wantBackground), *host_);
  }
  // Loading sets switches of its own; the step's values are what counts.
  params_ = restored;
}

void MainWindow::UndoRecipe() {
  if (history_) BetweenSteps([this] { history_->Undo(); });
}

void MainWindow::RedoRecipe() {
  if (history_) BetweenSteps([this] { history_->Redo(); });
}

void MainWindow::ShowHistory() {
  if (!history_window_) return;
  history_window_->Refill();
  history_window_->show();
  history_window_->raise();
  ShowStatus(QStringLiteral("Showing the history"));
}

void MainWindow::SaveCanvasState() {
  if (!history_) return;
  const QString file =
      CurrentDialogs().SaveFile(this, QStringLiteral("Save canvas state"),
                                QString::fromStdString(layout_.SaveDir), QStringLiteral("canvas.qstate"),
                                QStringLiteral("Quorl canvas state (*.qstate)"), QStringLiteral("qstate"));
  if (file.isEmpty()) return;
  // Between two steps the run's position is whole; a run on its way goes on
  // from there when the file is opened.
  BetweenSteps([this, file] { history_->SaveCanvasState(file, run_->Position()); });
}

void MainWindow::OpenCanvasState() {
  if (!history_) return;
  if (RunInProgress()) {
    ShowMessage(QStringLiteral("Stop drawing before opening a canvas state."));
    return;
  }
  const QString file = CurrentDialogs().OpenFile(
      this, QStringLiteral("Open canvas state"), QString::fromStdString(layout_.LoadDir),
      QStringLiteral("Quorl canvas state (*.qstate);;All files (*)"));
  if (file.isEmpty()) return;
  OpenCanvasStateFile(file);
}

bool MainWindow::OpenCanvasStateFile(const QString& file) {
  if (!history_ || RunInProgress()) return false;
  if (!MaySetPictureAside()) return false;
  RunPosition position;
  if (!history_->OpenCanvasState(file, position)) return false;
  // The run goes on with the switches it was drawn with.
  Action("Draweachstep1")->setChecked(state_->flags.DrawEachStep);
  Action("Preview1")->setChecked(state_->flags.Preview);
  if (auto* arctan2 = function_ ? function_->findChild<QCheckBox*>(QStringLiteral("cbUseArctan2")) : nullptr)
    arctan2->setChecked(state_->UseArctan2);
  ShowStatus(QStringLiteral("Opened ") + QFileInfo(file).absoluteFilePath());
  if (!position.loopEnded) ContinueRun(position);
  return true;
}

void MainWindow::ContinueRun(const RunPosition& position) {
  if (ending_ || RunInProgress()) return;
  SyncRunSwitches();
  host_->BeginRun();
  picture_unsaved_ = true;
  run_->StartDrawing();
  run_->Resume(position);
  stepping_ = true;
  last_shown_ms_ = QDateTime::currentMSecsSinceEpoch();
  StartNextStep();
}

}  // namespace quorl
