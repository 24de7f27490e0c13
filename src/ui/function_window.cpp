#include "ui/function_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <cstring>

#include "settings/field_ranges.h"
#include "settings/parameter_set.h"
#include "settings/window_layout.h"
#include "ui/field_rows.h"
#include "ui/tool_window_host.h"

namespace quorl {

namespace {

constexpr int kWidth = 280;
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
    : ToolWindow(QStringLiteral("formQuorlFunction"), QStringLiteral("Function"), kWidth, kFullHeight,
                 parent),
      host_(host) {
  ParameterSet& parameters = host.Parameters();

  auto* group = new QGroupBox(QStringLiteral("Functions"), this);
  group->setObjectName(QStringLiteral("rgFunctions"));
  group->setGeometry(4, 4, kWidth - 8, 106);
  rgFunctions_ = new QButtonGroup(this);
  for (int i = 0; i < 8; ++i) {
    auto* item = new QRadioButton(QString::fromUtf8(kFunctionCaptions[i]), group);
    item->setGeometry(8 + (i / 4) * 130, 20 + (i % 4) * 21, 124, 20);
    rgFunctions_->addButton(item, i);
  }
  // A new window shows "Line" until the style says otherwise.
  rgFunctions_->button(2)->setChecked(true);
  connect(rgFunctions_, &QButtonGroup::idClicked, this, &FunctionWindow::SelectFunction);
  MakeFoldButton(group)->move(group->width() - 28, 0);

  FieldRowBuilder rows(this, parameters, 6, 84, 56);
  auto add = [&](const char* name, const char* caption, const char* key, int caption_left, int field_left,
                 int width, int top) {
    fields_.emplace_back(key, rows.AddAt(name, caption, key, caption_left, field_left, width, top));
  };
  int top = 116;
  add("editStartEllipseWidth", "Start x", "StartEllipseWidth", 6, 60, 56, top);
  add("editStartEllipseHeight", "Start y", "StartEllipseHeight", 140, 194, 56, top);
  top += FieldRowBuilder::kRowHeight;
  add("editEndEllipseWidth", "End x", "EndEllipseWidth", 6, 60, 56, top);
  add("editEndEllipseHeight", "End y", "EndEllipseHeight", 140, 194, 56, top);
  top += FieldRowBuilder::kRowHeight;
  add("editLissaDelta", "Lissa delta", "LissaDelta", 6, 84, 56, top);
  labelLissaDeltaRange_ = new QLabel(QStringLiteral("1 to 20"), this);
  labelLissaDeltaRange_->setObjectName(QStringLiteral("labelLissaDeltaRange"));
  labelLissaDeltaRange_->setGeometry(146, top, 80, FieldRowBuilder::kFieldHeight);
  top += FieldRowBuilder::kRowHeight;
  add("editNumberOfRocks", "Rocks", "NumberOfRocks", 6, 46, 44, top);
  add("editStartRockerAmount", "Start", "StartRockerAmount", 96, 130, 44, top);
  add("editEndRockerAmount", "End", "EndRockerAmount", 180, 208, 44, top);
  top += FieldRowBuilder::kRowHeight;
  rows.Caption(QStringLiteral("Smoothness"), 6, top, 76);
  add("editStartLimit", "Start", "StartLimit", 84, 118, 40, top);
  add("editEndLimit", "End", "EndLimit", 166, 194, 40, top);
  top += FieldRowBuilder::kRowHeight + 2;

  for (const Box& box : kBoxes) {
    auto* check = new QCheckBox(QString::fromUtf8(box.caption), this);
    check->setObjectName(QString::fromUtf8(box.object_name));
    check->setGeometry(8, top, kWidth - 16, 19);
    top += 20;
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
  redraw->setGeometry(8, top + 2, 80, 24);
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
