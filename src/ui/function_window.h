// "Function": which of the eight shape functions draws (and so which
// style's parameters are loaded), and the function's own settings.
#pragma once

#include <QString>
#include <array>
#include <string>
#include <vector>

#include "ui/tool_window.h"

class QButtonGroup;
class QCheckBox;
class QLabel;

namespace quorl {

class NumericField;
class ToolWindowHost;

// Style keywords in the order of the radio items.
inline constexpr std::array<const char*, 8> kStyleNames = {"sine",     "tan",       "line", "circles",
                                                           "ellipses", "lissajous", "test", "zarvk9032"};

class FunctionWindow : public ToolWindow {
  Q_OBJECT

 public:
  static const StoredGeometry kGeometry;

  explicit FunctionWindow(ToolWindowHost& host, QWidget* parent = nullptr);

  void Init();
  // Selects the item of the current style without running the click
  // handling; an unknown style leaves the selection as it is.
  void SetFunctionRadio();
  // The user picked item `index`.
  void SelectFunction(int index);

  int LissaDeltaMin() const { return lissa_delta_min_; }
  int SelectedFunction() const;
  // "Use arctan2?" is read by the run straight from the box.
  bool UseArctan2() const;

  NumericField* Field(const char* key) const;
  QCheckBox* CheckBox(const char* object_name) const;
  QLabel* LissaDeltaRangeLabel() const { return labelLissaDeltaRange_; }

 private:
  void SetLissaDeltaMin(int minimum);

  ToolWindowHost& host_;
  int lissa_delta_min_ = 1;
  QButtonGroup* rgFunctions_ = nullptr;
  QLabel* labelLissaDeltaRange_ = nullptr;
  QCheckBox* cbUseArctan2_ = nullptr;
  std::vector<std::pair<const char*, NumericField*>> fields_;
  std::vector<std::pair<QCheckBox*, bool ParameterSet::*>> boxes_;
};

}  // namespace quorl
