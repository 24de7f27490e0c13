// "Path": makes the selected slot's curve from a formula, a circle with
// bumps, a hypotrochoid, a Lissajous figure or an epitrochoid, one tab each.
#pragma once

#include <array>
#include <vector>

#include "ui/tool_window.h"

class QCheckBox;
class QPushButton;
class QTabBar;

namespace quorl {

class CurveEditSession;
class NumericField;

class PathWindow : public ToolWindow {
  Q_OBJECT

 public:
  static constexpr int kTabCount = 4;
  static const StoredGeometry kGeometry;

  // Takes its stored geometry and runs Init.
  explicit PathWindow(CurveEditSession& session, QWidget* parent = nullptr);

  // Fills the fields, boxes and the tab from the parameters (at creation
  // and after every settings read).
  void Init();
  // The user chose tab `index`: its panel alone is shown.
  void SelectPathTab(int index);
  // "Make path" of a generator (1 circle, 2 hypotrochoid, 3 epitrochoid,
  // 4 Lissajous), with the texts of its panel's shape fields.
  void MakePath(int kind);

  QTabBar* Tabs() const { return tabPath_; }
  QWidget* Panel(int tab) const { return panels_[static_cast<size_t>(tab)]; }
  NumericField* Field(const char* object_name) const;
  QCheckBox* CheckBox(const char* object_name) const;
  QPushButton* MakeButton(int tab) const;

 private:
  QWidget* BuildPanel(int tab);
  void ShowPanel(int tab);

  CurveEditSession& session_;
  QTabBar* tabPath_ = nullptr;
  std::array<QWidget*, kTabCount> panels_{};
  std::vector<NumericField*> fields_;
  std::vector<std::pair<QCheckBox*, bool ParameterSet::*>> boxes_;
};

}  // namespace quorl
