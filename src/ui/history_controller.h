// The window's side of the recipe history, the autosave and state files.
//
// One user action is one step: the recipe is compared with the history's
// current step when an action has ended (a mouse button released, Return or
// Tab in a field, a field left, a menu command or shortcut, a pause after
// the wheel), so a slider drag or a typed number becomes one step however
// many values it passed through. Undo and Redo put a step's recipe back and
// refill the tool windows.
//
// While drawing, the canvas is autosaved between steps at the interval the
// user set and at the end of every Draw. At start, the last autosave of a
// session that did not end cleanly is offered back.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/drawing_run.h"
#include "services/autosave.h"
#include "services/history_settings.h"
#include "services/recipe_history.h"

class QTimer;

namespace quorl {

class MainWindow;

class HistoryController : public QObject {
  Q_OBJECT

 public:
  explicit HistoryController(MainWindow& window);
  ~HistoryController() override;

  // Opens the history, offers the last autosave after an unclean exit, and
  // records the recipe the program starts with.
  void Start();
  // The program ends normally: no recovery is offered at the next start.
  void EndCleanly();

  // Records the recipe when it differs from the current step.
  void RecordIfChanged();
  void Undo();
  void Redo();
  void GoTo(std::uint64_t id);

  // From the drawing run, between two steps (the worker idle), and when a
  // run has ended.
  // Between two steps: an autosave when one is due, whose copy of the
  // canvas grids is the returned job, to run before the next step (empty
  // when none is due).
  std::function<void()> BetweenSteps(const RunPosition& position);
  void RunEnded(const RunPosition& position);

  // File > Save canvas state; opening one gives the position to go on from.
  bool SaveCanvasState(const QString& path, const RunPosition& position);
  bool OpenCanvasState(const QString& path, RunPosition& position);

  RecipeHistory& History() { return *history_; }
  const HistorySettings& Settings() const { return settings_; }
  // Applies and stores new limits.
  void SetSettings(const HistorySettings& settings);
  const std::string& StateFolder() const { return folder_; }

 signals:
  void HistoryChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ScheduleRecord();
  void PutBack(const HistoryRecipe& recipe, const QString& status);
  void OfferRecovery(const std::string& path);

  MainWindow& window_;
  std::string folder_;
  HistorySettings settings_;
  std::unique_ptr<RecipeHistory> history_;
  std::unique_ptr<Autosaver> autosaver_;
  QTimer* record_timer_ = nullptr;
  QTimer* wheel_timer_ = nullptr;
  bool started_ = false;
  bool pending_ = false;  // an action ended and is not recorded yet
  bool told_too_large_ = false;
  bool told_read_only_ = false;
};

}  // namespace quorl
