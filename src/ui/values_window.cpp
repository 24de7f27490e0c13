#include "ui/values_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cstring>
#include <span>

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
}  // namespace

const StoredGeometry ValuesWindow::kGeometry = {&WindowLayout::ValuesHeight, &WindowLayout::ValuesLeft,
                                                &WindowLayout::ValuesTop, &WindowLayout::ValuesVisible};

ValuesWindow::ValuesWindow(ParameterSet& parameters, QWidget* parent)
    : ToolWindow(QStringLiteral("formQuorlValues"), QStringLiteral("Values"), parent),
      parameters_(parameters) {
  // Steps stays in view when the window is folded.
  auto* top_grid = new QGridLayout;
  Header()->addLayout(top_grid);
  FieldRowBuilder top_rows(top_grid, parameters);
  fields_.emplace_back(kRows[0].key, top_rows.Add(kRows[0]));
  auto* grid = new QGridLayout;
  Body()->addLayout(grid);
  FieldRowBuilder rows(grid, parameters);
  for (const FieldRow& row : std::span(kRows).subspan(1)) fields_.emplace_back(row.key, rows.Add(row));
  // Both grids share their column widths so the fields line up.
  const int caption_width =
      Field("StartRadius")->fontMetrics().horizontalAdvance(QStringLiteral("Start smooth_"));
  top_grid->setColumnMinimumWidth(0, caption_width);
  grid->setColumnMinimumWidth(0, caption_width);
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
