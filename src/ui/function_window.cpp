#include "ui/function_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstring>

#include "settings/field_ranges.h"
#include "settings/parameter_set.h"
#include "settings/window_layout.h"
#include "ui/field_rows.h"
#include "ui/tool_window_host.h"

namespace quorl {

namespace {

constexpr const char* kFunctionCaptions[] = {"Sine Wobble", "Tan Thing", "Line", "Circles",
                                             "Ellipses",    "Lissajous", "Test", "zarvk9032"};

struct Box {
  const char* object_name;
  const char* caption;
  bool ParameterSet::*parameter;  // null: read by the run from the box
};
const Box kBoxes[] = {
    {"cb31", "Use 031 style thing?", &ParameterSet::Style031},
    {"cbUseArctan2", "Use arctan2?", nullptr},
    {"cbEllipsesTwo", "Use alternate Ellipses?", &ParameterSet::EllipsesTwo},
    {"cbRockOffsetInAnimation", "Offset the rocks in animations?", &ParameterSet::RockOffsetInAnimation},
    {"cbGrainAdjuster", "Adjust grain?", &ParameterSet::AdjustGrain},
    {"cbDimmer", "Adjust dimmer?", &ParameterSet::UseDimmer},
    {"cbGrainByDepth", "Adjust grain by bump depth?", &ParameterSet::GrainByDepth},
    {"cbUseIotaExtra", "Use random scatter?", &ParameterSet::UseIotaExtra},
    {"cbInterpolateColors", "Normalise colors?", &ParameterSet::InterpolateColors},
};

}  // namespace

const StoredGeometry FunctionWindow::kGeometry = {&WindowLayout::FunctionHeight, &WindowLayout::FunctionLeft,
                                                  &WindowLayout::FunctionTop, &WindowLayout::FunctionVisible};

FunctionWindow::FunctionWindow(ToolWindowHost& host, QWidget* parent)
    : ToolWindow(QStringLiteral("formQuorlFunction"), QStringLiteral("Function"), parent), host_(host) {
  ParameterSet& parameters = host.Parameters();

  auto* group = new QGroupBox(QStringLiteral("Functions"), this);
  group->setObjectName(QStringLiteral("rgFunctions"));
  auto* choices = new QGridLayout(group);
  rgFunctions_ = new QButtonGroup(this);
  for (int i = 0; i < 8; ++i) {
    auto* item = new QRadioButton(QString::fromUtf8(kFunctionCaptions[i]), group);
    item->setObjectName(QStringLiteral("rbFunction%1").arg(i));
    choices->addWidget(item, i % 4, i / 4);
    rgFunctions_->addButton(item, i);
  }
  // A new window shows "Line" until the style says otherwise.
  rgFunctions_->button(2)->setChecked(true);
  connect(rgFunctions_, &QButtonGroup::idClicked, this, &FunctionWindow::SelectFunction);
  Header()->addWidget(group);

  // Shape fields: a caption and a field per cell, up to three cells a row.
  auto* grid = new QGridLayout;
  Body()->addLayout(grid);
  auto add = [&](const char* name, const char* caption, const char* key, int row, int cell,
                 const char* spoken = nullptr) {
    NumericField* field = MakeBoundField(parameters, name, key);
    if (spoken) field->setAccessibleName(QString::fromUtf8(spoken));
    grid->addWidget(MakeCaption(QString::fromUtf8(caption), field), row, 2 * cell);
    grid->addWidget(field, row, 2 * cell + 1);
    fields_.emplace_back(key, field);
  };
  add("editStartEllipseWidth", "Start x", "StartEllipseWidth", 0, 0);
  add("editStartEllipseHeight", "Start y", "StartEllipseHeight", 0, 1);
  add("editEndEllipseWidth", "End x", "EndEllipseWidth", 1, 0);
  add("editEndEllipseHeight", "End y", "EndEllipseHeight", 1, 1);
  add("editLissaDelta", "Lissa delta", "LissaDelta", 2, 0);
  labelLissaDeltaRange_ = new QLabel(QStringLiteral("1 to 20"), this);
  labelLissaDeltaRange_->setObjectName(QStringLiteral("labelLissaDeltaRange"));
  grid->addWidget(labelLissaDeltaRange_, 2, 2, 1, 2);
  add("editNumberOfRocks", "Rocks", "NumberOfRocks", 3, 0);
  add("editStartRockerAmount", "Start", "StartRockerAmount", 3, 1, "Rocks start");
  add("editEndRockerAmount", "End", "EndRockerAmount", 3, 2, "Rocks end");
  grid->addWidget(new QLabel(QStringLiteral("Smoothness")), 4, 0, 1, 2);
  add("editStartLimit", "Start", "StartLimit", 4, 1, "Smoothness start");
  add("editEndLimit", "End", "EndLimit", 4, 2, "Smoothness end");

  for (const Box& box : kBoxes) {
    auto* check = new QCheckBox(QString::fromUtf8(box.caption), this);
    check->setObjectName(QString::fromUtf8(box.object_name));
    Body()->addWidget(check);
    if (!box.parameter) {
      cbUseArctan2_ = check;
      continue;
    }
    boxes_.emplace_back(check, box.parameter);
    connect(check, &QCheckBox::clicked, this,
            [this, check, member = box.parameter] { host_.Parameters().*member = check->isChecked(); });
  }

  auto* redraw = new QPushButton(QStringLiteral("Redraw"), this);
  redraw->setObjectName(QStringLiteral("Button2"));
  Body()->addWidget(redraw, 0, Qt::AlignLeft);
  connect(redraw, &QPushButton::clicked, this, [this] { host_.RedrawCanvas(); });

  // Created with the lower limit 1 whatever the style.
  SetLissaDeltaMin(kLissaDeltaMinAtStart);
  SetFunctionRadio();
  Init();
}

void FunctionWindow::SetLissaDeltaMin(int minimum) {
  lissa_delta_min_ = minimum;
  const FieldRange* range = FindFieldRange("LissaDelta");
  const int high = range ? range->max : 20;
  NumericField* field = Field("LissaDelta");
  field->SetRange(minimum, high);
  field->SetDragRange(minimum, high);
  labelLissaDeltaRange_->setText(QStringLiteral("%1 to %2").arg(minimum).arg(high));
}

void FunctionWindow::SetFunctionRadio() {
  const std::string& style = host_.Parameters().CurrentStyle;
  for (int i = 0; i < static_cast<int>(kStyleNames.size()); ++i) {
    if (style == kStyleNames[static_cast<size_t>(i)]) {
      // setChecked raises no click, so the click handling stays out of it.
      rgFunctions_->button(i)->setChecked(true);
      return;
    }
  }
}

void FunctionWindow::Init() {
  for (auto& [key, field] : fields_) field->Init();
  for (auto& [box, member] : boxes_) box->setChecked(host_.Parameters().*member);
}

void FunctionWindow::SelectFunction(int index) {
  if (index < 0 || index >= static_cast<int>(kStyleNames.size())) return;
  if (host_.IsDrawing()) host_.StopRunQuietly();
  // Lowered before the new style's values come in, so a stored 0 survives.
  SetLissaDeltaMin(LissaDeltaMinFor(index));
  host_.StyleChanger(kStyleNames[static_cast<size_t>(index)]);
  host_.Parameters().FunctionNumber = index;
}

int FunctionWindow::SelectedFunction() const {
  return rgFunctions_->checkedId();
}

bool FunctionWindow::UseArctan2() const {
  return cbUseArctan2_->isChecked();
}

NumericField* FunctionWindow::Field(const char* key) const {
  for (const auto& [name, field] : fields_)
    if (std::strcmp(name, key) == 0) return field;
  return nullptr;
}

QCheckBox* FunctionWindow::CheckBox(const char* object_name) const {
  return findChild<QCheckBox*>(QString::fromUtf8(object_name));
}

}  // namespace quorl
