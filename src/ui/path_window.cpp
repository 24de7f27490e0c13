#include "ui/path_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <string>
#include <vector>

#include "services/curve_edit_session.h"
#include "services/path_generators.h"
#include "settings/field_ranges.h"
#include "settings/parameter_set.h"
#include "settings/window_layout.h"
#include "ui/numeric_field.h"

namespace quorl {

namespace {

constexpr int kRow = 24;
constexpr int kFieldHeight = 21;

struct ShapeField {
  const char* name;
  const char* caption;
  const char* key;
};

// One generator's tab: its panel, shape fields in the generator's order,
// direction, turn and button.
struct PanelLayout {
  const char* panel;
  const char* tab;
  int kind;
  std::vector<ShapeField> shape;
  const char* clockwise_box;
  bool ParameterSet::*clockwise;
  ShapeField rotated_by;
  const char* button;
};

const std::vector<PanelLayout>& Panels() {
  static const std::vector<PanelLayout> panels = {
      {"panelPathHypotrochoid",
       "Hypotrochoid",
       2,
       {{"editPathHypotrochoidA", "a", "PathHypotrochoidA"},
        {"editPathHypotrochoidB", "b", "PathHypotrochoidB"},
        {"editPathHypotrochoidH", "h", "PathHypotrochoidH"}},
       "cbPathHypotrochoidClockwise",
       &ParameterSet::PathHypotrochoidClockwise,
       {"editPathHypotrochoidRotatedBy", "Rotated by", "PathHypotrochoidRotatedBy"},
       "btnPathMakeHypotrochoid"},
      {"panelPathCircle",
       "Circle",
       1,
       {{"editPathCircleRadius", "Radius", "PathCircleRadius"},
        {"editPathCircleBumps", "Bumps", "PathCircleBumps"},
        {"editPathCircleAmplitude", "Amplitude", "PathCircleAmplitude"}},
       "cbPathCircleClockwise",
       &ParameterSet::PathCircleClockwise,
       {"editPathCircleRotatedBy", "Rotated by", "PathCircleRotatedBy"},
       "btnPathMakeCircle"},
      {"panelPathLissajous",
       "Lissajous",
       4,
       {{"editPathLissajousRadius1", "r1", "PathLissajousRadius1"},
        {"editPathLissajousRadius2", "r2", "PathLissajousRadius2"},
        {"editPathLissajousOmega1", "omega1", "PathLissajousOmega1"},
        {"editPathLissajousOmega2", "omega2", "PathLissajousOmega2"},
        {"editPathLissajousDelta1", "delta1", "PathLissajousDelta1"},
        {"editPathLissajousDelta2", "delta2", "PathLissajousDelta2"}},
       "cbPathLissajousClockwise",
       &ParameterSet::PathLissajousClockwise,
       {"editPathLissajousRotatedBy", "Rotated by", "PathLissajousRotatedBy"},
       "btnPathMakeLissajous"},
      {"panelPathEpitrochoid",
       "Epitrochoid",
       3,
       {{"editPathEpitrochoidA", "a", "PathEpitrochoidA"},
        {"editPathEpitrochoidB", "b", "PathEpitrochoidB"},
        {"editPathEpitrochoidH", "h", "PathEpitrochoidH"}},
       "cbPathEpitrochoidClockwise",
       &ParameterSet::PathEpitrochoidClockwise,
       {"editPathEpitrochoidRotatedBy", "Rotated by", "PathEpitrochoidRotatedBy"},
       "btnMakePathEpitrochoid"},
  };
  return panels;
}

}  // namespace

const StoredGeometry PathWindow::kGeometry = {&WindowLayout::PathHeight, &WindowLayout::PathLeft,
                                              &WindowLayout::PathTop, &WindowLayout::PathVisible};

PathWindow::PathWindow(CurveEditSession& session, QWidget* parent)
    : ToolWindow(QStringLiteral("formQuorlPath"), QStringLiteral("Path"), kWidth, kFullHeight, parent),
      session_(session) {
  ParameterSet& params = session_.Params();
  auto* top_panel = new QWidget(this);
  top_panel->setObjectName(QStringLiteral("panelPathTop"));
  top_panel->setGeometry(0, 0, kWidth, 30);
  auto* caption = new QLabel(QStringLiteral("Number of points"), top_panel);
  caption->setGeometry(8, 5, 110, kFieldHeight);
  auto* steps = new NumericField(top_panel);
  steps->setObjectName(QStringLiteral("editPathNumberOfPathSteps"));
  steps->setGeometry(120, 5, 56, kFieldHeight);
  if (const FieldRange* range = FindFieldRange("NumberOfPathSteps")) steps->Bind(params, *range);
  fields_.push_back(steps);
  MakeFoldButton(top_panel)->move(kWidth - 32, 5);

  tabPath_ = new QTabBar(this);
  tabPath_->setObjectName(QStringLiteral("tabPath"));
  tabPath_->setGeometry(4, 32, kWidth - 8, 26);
  tabPath_->setExpanding(false);
  for (const PanelLayout& layout : Panels()) tabPath_->addTab(QString::fromUtf8(layout.tab));
  connect(tabPath_, &QTabBar::currentChanged, this, &PathWindow::SelectPathTab);
  for (int tab = 0; tab < kTabCount; ++tab) BuildPanel(tab, 60);

  Init();
}

void PathWindow::BuildPanel(int tab, int top) {
  const PanelLayout& layout = Panels()[static_cast<size_t>(tab)];
  ParameterSet& params = session_.Params();
  auto* panel = new QWidget(this);
  panel->setObjectName(QString::fromUtf8(layout.panel));
  panel->setGeometry(0, top, kWidth, kFullHeight - top);
  panels_[static_cast<size_t>(tab)] = panel;

  auto add_field = [&](const ShapeField& field, int left, int y, int caption_width) {
    auto* caption = new QLabel(QString::fromUtf8(field.caption), panel);
    caption->setGeometry(left, y, caption_width, kFieldHeight);
    auto* edit = new NumericField(panel);
    edit->setObjectName(QString::fromUtf8(field.name));
    edit->setGeometry(left + caption_width + 4, y, 64, kFieldHeight);
    if (const FieldRange* range = FindFieldRange(field.key)) edit->Bind(params, *range);
    fields_.push_back(edit);
  };

  int y = 8;
  for (const ShapeField& field : layout.shape) {
    add_field(field, 12, y, 70);
    y += kRow;
  }
  if (layout.kind == static_cast<int>(PathKind::Lissajous)) {
    for (const char* formula : {"x(t) = r1 * sin(omega1*t + delta1)", "y(t) = r2 * sin(omega2*t + delta2)"}) {
      auto* label = new QLabel(QString::fromUtf8(formula), panel);
      label->setGeometry(12, y, kWidth - 24, kFieldHeight);
      y += 20;
    }
  }
  y += 4;
  auto* box = new QCheckBox(QStringLiteral("Clockwise?"), panel);
  box->setObjectName(QString::fromUtf8(layout.clockwise_box));
  box->setGeometry(12, y, 160, 20);
  connect(box, &QCheckBox::clicked, this,
          [this, member = layout.clockwise](bool on) { session_.Params().*member = on; });
  boxes_.emplace_back(box, layout.clockwise);
  y += kRow;
  add_field(layout.rotated_by, 12, y, 70);
  auto* degrees = new QLabel(QStringLiteral("degrees"), panel);
  degrees->setGeometry(12 + 70 + 4 + 64 + 6, y, 60, kFieldHeight);
  y += kRow + 6;
  auto* make = new QPushButton(QStringLiteral("Make path"), panel);
  make->setObjectName(QString::fromUtf8(layout.button));
  make->setGeometry(12, y, 100, 26);
  connect(make, &QPushButton::clicked, this, [this, kind = layout.kind] { MakePath(kind); });
  panel->hide();
}

void PathWindow::Init() {
  ParameterSet& params = session_.Params();
  for (NumericField* field : fields_) field->Init();
  for (auto& [box, member] : boxes_) box->setChecked(params.*member);
  const int tab = params.PathTabIndex;
  if (tab >= 0 && tab < kTabCount) {
    const QSignalBlocker blocker(tabPath_);
    tabPath_->setCurrentIndex(tab);
  }
  // An index out of range shows no panel.
  ShowPanel(tab);
}

void PathWindow::ShowPanel(int tab) {
  for (QWidget* panel : panels_) panel->hide();
  if (tab >= 0 && tab < kTabCount) panels_[static_cast<size_t>(tab)]->show();
}

void PathWindow::SelectPathTab(int index) {
  session_.Params().PathTabIndex = index;
  ShowPanel(index);
}

void PathWindow::MakePath(int kind) {
  std::vector<std::string> texts;
  for (const PanelLayout& layout : Panels()) {
    if (layout.kind != kind) continue;
    for (const ShapeField& field : layout.shape) texts.push_back(Field(field.name)->text().toStdString());
  }
  session_.RunOnCore([this, kind, texts] { quorl::MakePath(session_, kind, texts); });
}

NumericField* PathWindow::Field(const char* object_name) const {
  return findChild<NumericField*>(QString::fromUtf8(object_name));
}

QCheckBox* PathWindow::CheckBox(const char* object_name) const {
  return findChild<QCheckBox*>(QString::fromUtf8(object_name));
}

QPushButton* PathWindow::MakeButton(int tab) const {
  return findChild<QPushButton*>(QString::fromUtf8(Panels()[static_cast<size_t>(tab)].button));
}

}  // namespace quorl
