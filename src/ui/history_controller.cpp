#include "ui/history_controller.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>

#include "base/paths.h"
#include "engine/program_state.h"
#include "engine/run_state.h"
#include "services/picture_scaling.h"
#include "services/recovery_offer.h"
#include "settings/parameter_record.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/numeric_field.h"

namespace quorl {
namespace {

// A thumbnail of a finished Draw: no side longer than this.
constexpr int kThumbnailSide = 96;
// Wheel turns on a field or slider closer together than this are one step.
constexpr int kWheelPauseMs = 600;

bool IsTextEntry(QObject* object) {
  return qobject_cast<QLineEdit*>(object) || qobject_cast<QAbstractSpinBox*>(object) ||
         qobject_cast<QTextEdit*>(object) || qobject_cast<QPlainTextEdit*>(object);
}

QString FirstLine(const std::string& text) {
  return QString::fromStdString(text).split(QLatin1Char('\n')).front();
}

}  // namespace

HistoryController::HistoryController(MainWindow& window)
    : QObject(&window),
      window_(window),
      folder_(ProgramStateFolder()),
      settings_(ReadHistorySettings(ProgramSettingsFile())) {
  history_ = std::make_unique<RecipeHistory>(folder_ + "history", settings_.Limits());
  autosaver_ = std::make_unique<Autosaver>(settings_.Autosave(folder_));
  record_timer_ = new QTimer(this);
  record_timer_->setSingleShot(true);
  record_timer_->setInterval(0);
  connect(record_timer_, &QTimer::timeout, this, &HistoryController::RecordIfChanged);
  wheel_timer_ = new QTimer(this);
  wheel_timer_->setSingleShot(true);
  wheel_timer_->setInterval(kWheelPauseMs);
  connect(wheel_timer_, &QTimer::timeout, this, &HistoryController::RecordIfChanged);
}

HistoryController::~HistoryController() {
  if (started_ && qApp) qApp->removeEventFilter(this);
}

void HistoryController::Start() {
  std::string message;
  if (!history_->Open(message)) window_.ShowStatus(FirstLine(message));
  bool unclean = false;
  std::string error;
  if (!StartSession(folder_, unclean, error)) window_.ShowStatus(FirstLine(error));
  const std::string offer = RecoveryToOffer(folder_, unclean);
  if (!offer.empty()) OfferRecovery(offer);
  RecordIfChanged();
  qApp->installEventFilter(this);
  started_ = true;
}

void HistoryController::EndCleanly() {
  if (!started_) return;
  RecordIfChanged();
  autosaver_->Wait();
  EndSession(folder_);
}

void HistoryController::OfferRecovery(const std::string& path) {
  const Dialogs::RecoveryAnswer answer = CurrentDialogs().AskRecovery(
      &window_, QStringLiteral("Quorl did not close properly last time.\n\nRestore the canvas and recipe "
                               "it autosaved last?"));
  const RecoveryChoice choice = answer == Dialogs::RecoveryAnswer::Restore   ? RecoveryChoice::kRestore
                                : answer == Dialogs::RecoveryAnswer::Discard ? RecoveryChoice::kDiscard
                                                                             : RecoveryChoice::kLater;
  RunSnapshot snapshot;
  std::string error;
  if (!AnswerRecovery(folder_, path, choice, snapshot, error)) {
    window_.ShowMessage(QStringLiteral("Could not recover the autosaved canvas: ") +
                        QString::fromStdString(error));
    return;
  }
  if (choice == RecoveryChoice::kDiscard) {
    window_.ShowStatus(QStringLiteral("Discarded the autosaved canvas"));
    return;
  }
  if (choice == RecoveryChoice::kLater) {
    window_.ShowStatus(QStringLiteral("The autosaved canvas is kept; it is offered again at the next start"));
    return;
  }
  ProgramState& state = window_.State();
  // The recipe comes back; the style and the window's own switches stay.
  const ParameterSet own = state.params;
  if (!ApplyRunSnapshot(std::move(snapshot), state, error)) {
    window_.ShowMessage(QStringLiteral("Could not recover the autosaved canvas: ") +
                        QString::fromStdString(error));
    return;
  }
  ParameterSet recipe = state.params;
  state.params = own;
  CopyRecipeValues(recipe, state.params);
  window_.RecipePutBack();
  window_.RedrawCanvas();
  window_.ShowStatus(QStringLiteral("Recovered the last autosaved canvas"));
}

void HistoryController::ScheduleRecord() {
  if (!started_) return;
  pending_ = true;
  record_timer_->start();
}

bool HistoryController::eventFilter(QObject* watched, QEvent* event) {
  // The next action begins: the one before it is a step of its own, even
  // when the event loop has not come round to recording it yet.
  const QEvent::Type type = event->type();
  // Ctrl+Z in a number field is the program's Undo, not the field's own:
  // a number typed and not yet committed is a step, undone as a whole.
  if (type == QEvent::ShortcutOverride && qobject_cast<NumericField*>(watched)) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
        key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y)) {
      key->ignore();
      return true;
    }
  }
  const bool begins = type == QEvent::MouseButtonPress || type == QEvent::Wheel || type == QEvent::KeyPress;
  if (begins && pending_) RecordIfChanged();
  switch (type) {
    case QEvent::MouseButtonRelease:
    case QEvent::FocusOut:
    // Back from a file dialog (a source picture, a curve file): what it
    // loaded is a step at once, not at the next action.
    case QEvent::WindowActivate:
      ScheduleRecord();
      break;
    case QEvent::KeyRelease: {
      const int key = static_cast<QKeyEvent*>(event)->key();
      const bool commits =
          key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab || key == Qt::Key_Backtab;
      // A number being typed is one step when it is committed; other keys
      // (shortcuts, arrows on a slider) end an action each.
      if (!IsTextEntry(watched) || commits) ScheduleRecord();
      break;
    }
    case QEvent::Wheel:
      if (started_) wheel_timer_->start();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

void HistoryController::RecordIfChanged() {
  pending_ = false;
  ProgramState& state = window_.State();
  // A stroke still being drawn is not a step yet.
  if (state.curves.CurveChanged) return;
  if (history_->ReadOnly()) {
    if (!told_read_only_)
      window_.ShowStatus(QStringLiteral("The history is read-only; changes are not kept"));
    told_read_only_ = true;
    return;
  }
  std::string error;
  const std::uint64_t before = history_->Current();
  if (!history_->Record(RecipeOf(state.params, state.curves), error)) {
    if (!error.empty()) window_.ShowStatus(FirstLine(error));
    return;
  }
  if (history_->Current() != before) emit HistoryChanged();
}

void HistoryController::PutBack(const HistoryRecipe& recipe, const QString& status) {
  ProgramState& state = window_.State();
  const std::string source = state.params.SourceImageFileName;
  const std::string background = state.params.BackgroundImageFileName;
  PutRecipeBack(recipe, state.params, state.curves);
  window_.PicturesFollowRecipe(source, background);
  window_.RecipePutBack();
  window_.ShowStatus(status);
  emit HistoryChanged();
}

void HistoryController::Undo() {
  RecordIfChanged();
  const HistoryEntry* from = history_->Find(history_->Current());
  const QString undone = from ? QString::fromStdString(from->description) : QString();
  HistoryRecipe recipe;
  std::string error;
  if (!history_->Undo(recipe, error)) {
    window_.ShowStatus(error.empty() ? QStringLiteral("Nothing to undo") : FirstLine(error));
    return;
  }
  PutBack(recipe, QStringLiteral("Undone: ") + undone);
}

void HistoryController::Redo() {
  RecordIfChanged();
  HistoryRecipe recipe;
  std::string error;
  if (!history_->Redo(recipe, error)) {
    window_.ShowStatus(error.empty() ? QStringLiteral("Nothing to redo") : FirstLine(error));
    return;
  }
  const HistoryEntry* to = history_->Find(history_->Current());
  PutBack(recipe, QStringLiteral("Redone: ") + (to ? QString::fromStdString(to->description) : QString()));
}

void HistoryController::GoTo(std::uint64_t id) {
  RecordIfChanged();
  if (id == history_->Current()) return;
  HistoryRecipe recipe;
  std::string error;
  if (!history_->GoTo(id, recipe, error)) {
    window_.ShowMessage(QStringLiteral("Could not go back to that step: ") + QString::fromStdString(error));
    return;
  }
  const HistoryEntry* to = history_->Find(id);
  PutBack(recipe,
          QStringLiteral("Returned to: ") + (to ? QString::fromStdString(to->description) : QString()));
}

std::function<void()> HistoryController::BetweenSteps(const RunPosition& position) {
  AutosaveOffer offer = AutosaveOffer::kNotDue;
  std::function<void()> copy = autosaver_->OfferDeferred(window_.State(), position, offer);
  // The copy at the run's end is taken on this thread: its room is made
  // meanwhile, elsewhere.
  if (offer == AutosaveOffer::kNotDue)
    autosaver_->PrepareRoom(window_.State().canvas.CanvasWidth(), window_.State().canvas.CanvasHeight());
  if (offer == AutosaveOffer::kTooLarge && !told_too_large_) {
    told_too_large_ = true;
    window_.ShowStatus(QStringLiteral("This canvas is larger than the autosave limit and is not autosaved"));
  }
  return copy;
}

void HistoryController::RunEnded(const RunPosition& position) {
  told_too_large_ = false;
  if (autosaver_->Offer(window_.State(), position, true) == AutosaveOffer::kTooLarge)
    window_.ShowStatus(
        QStringLiteral("Finished; this canvas is larger than the autosave limit and is not "
                       "autosaved"));
  // The recipe drawn is a step of its own, with the picture it made.
  RecordIfChanged();
  if (history_->ReadOnly() || history_->Current() == 0) return;
  std::string error;
  const Picture24 thumbnail = ShrinkToFit(window_.State().canvas.Bitmap(), kThumbnailSide, kThumbnailSide);
  if (!thumbnail.Empty() && history_->SetThumbnail(history_->Current(), thumbnail, error))
    emit HistoryChanged();
}

void HistoryController::SetSettings(const HistorySettings& settings) {
  HistorySettings held = settings;
  held.KeepInRanges();
  settings_ = held;
  history_->SetLimits(settings_.Limits());
  history_->Prune();
  // The writer may be busy with a copy, and the step being drawn may be
  // about to hand it one; the new settings take over after both.
  window_.BetweenSteps([this] {
    autosaver_->Wait();
    autosaver_ = std::make_unique<Autosaver>(settings_.Autosave(folder_));
  });
  std::string error;
  if (!WriteHistorySettings(settings_, ProgramSettingsFile(), &error))
    window_.ShowStatus(QStringLiteral("The history settings could not be stored: ") + FirstLine(error));
  emit HistoryChanged();
}

bool HistoryController::SaveCanvasState(const QString& path, const RunPosition& position) {
  std::string error;
  if (!WriteRunStateFile(path.toStdString(), kStateFileKind, TakeRunSnapshot(window_.State(), position),
                         error)) {
    window_.ShowMessage(QStringLiteral("Could not save the canvas state: ") + QString::fromStdString(error));
    return false;
  }
  window_.ShowStatus(QStringLiteral("Saved the canvas state to ") + path);
  return true;
}

bool HistoryController::OpenCanvasState(const QString& path, RunPosition& position) {
  RecordIfChanged();
  RunSnapshot snapshot;
  std::string error;
  if (!ReadRunStateFile(path.toStdString(), kStateFileKind, snapshot, error)) {
    window_.ShowMessage(QStringLiteral("Could not open the canvas state: ") + QString::fromStdString(error));
    return false;
  }
  position = snapshot.position;
  ProgramState& state = window_.State();
  // The style and the window's own switches stay the user's.
  const ParameterSet own = state.params;
  if (!ApplyRunSnapshot(std::move(snapshot), state, error)) {
    window_.ShowMessage(QStringLiteral("Could not open the canvas state: ") + QString::fromStdString(error));
    return false;
  }
  ParameterSet recipe = state.params;
  state.params = own;
  CopyRecipeValues(recipe, state.params);
  window_.RecipePutBack();
  window_.RedrawCanvas();
  RecordIfChanged();
  return true;
}

}  // namespace quorl
