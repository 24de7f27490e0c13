#include "ui/values_window.h"

#include <QPushButton>
#include <cstring>

#include "settings/parameter_set.h"
#include "settings/window_layout.h"
#include "ui/field_rows.h"

namespace quorl {

namespace {
constexpr FieldRow kRows[] = {
    {"editSteps", "Steps", "Steps", true, false},
    {"editPercentToComplete", "Draw (%)", "PercentToComplete", true, true},
    {"editStartRadius", "Start radius", "StartRadius", false, false},
    {"editEndRadius", "End radius", "EndRadius", false, true},
    {"editStartIota", "Start Angle", "StartIota", true, false},
    {"editEndIota", "End Angle", "EndIota", false, true},
    {"editStartBumps", "Start Bumps", "StartBumps", true, false},
    {"editEndBumps", "End Bumps", "EndBumps", false, true},
    {"editStartDepth", "Start smooth", "StartDepth", true, false},
    {"editEndDepth", "End smooth", "EndDepth", false, true},
    {"editStartScale", "Start Scale", "StartScale", false, false},
    {"editEndScale", "End Scale", "EndScale", false, true},
    {"editGrainStart", "Start Grain", "StartGrain", true, false},
    {"editGrainEnd", "End Grain", "EndGrain", false, false},
    {"editGrainMultiplier", "Multiplier", "GrainMultiplier", false, false},
};
constexpr int kWidth = 250;
}  // namespace

const StoredGeometry ValuesWindow::kGeometry = {&WindowLayout::ValuesHeight, &WindowLayout::ValuesLeft,
                                                &WindowLayout::ValuesTop, &WindowLayout::ValuesVisible};

ValuesWindow::ValuesWindow(ParameterSet& parameters, QWidget* parent)
    : ToolWindow(QStringLiteral("formQuorlValues"), QStringLiteral("Values"), kWidth, kFullHeight, parent),
      parameters_(parameters) {
  FieldRowBuilder rows(this, parameters, 6, 84, 50);
  int top = 4;
  for (const FieldRow& row : kRows) {
    fields_.emplace_back(row.key, rows.Add(row, top));
    top += FieldRowBuilder::kRowHeight + (row.bevel_after ? 4 : 0);
  }
  MakeFoldButton(this)->move(kWidth - 30, 4);
  Init();
}

void ValuesWindow::Init() {
  for (auto& [key, field] : fields_) field->Init();
}

NumericField* ValuesWindow::Field(const char* key) const {
  for (const auto& [name, field] : fields_)
    if (std::strcmp(name, key) == 0) return field;
  return nullptr;
}

}  // namespace quorl
