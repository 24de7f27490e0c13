// The History window: every step of the recipe with what changed and when,
// a thumbnail for each finished Draw, branches as indented lists under the
// step they left from. Clicking a step returns the recipe to it. Below the
// list, the limits the history and the autosave keep to.
#pragma once

#include <QWidget>
#include <cstdint>

class QFormLayout;
class QLabel;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

namespace quorl {

class HistoryController;

class HistoryWindow : public QWidget {
  Q_OBJECT

 public:
  HistoryWindow(HistoryController& controller, QWidget* parent);

  // Lists the steps again (the controller says when they changed).
  void Refill();
  QTreeWidget* Steps() const { return steps_; }
  // The list item of a step, or nullptr.
  QTreeWidgetItem* ItemOf(std::uint64_t id) const;
  QSpinBox* KeepDays() const { return keep_days_; }
  QSpinBox* KeepMegabytes() const { return keep_megabytes_; }
  QSpinBox* AutosaveSeconds() const { return autosave_seconds_; }
  QSpinBox* AutosaveLimit() const { return autosave_limit_; }
  QLabel* Summary() const { return summary_; }

 private:
  void BuildSettings(QFormLayout* form);
  void ShowSettings();
  void StoreSettings();

  HistoryController& controller_;
  QTreeWidget* steps_ = nullptr;
  QSpinBox* keep_days_ = nullptr;
  QSpinBox* keep_megabytes_ = nullptr;
  QSpinBox* autosave_seconds_ = nullptr;
  QSpinBox* autosave_limit_ = nullptr;
  QLabel* summary_ = nullptr;
  bool filling_ = false;
};

}  // namespace quorl
