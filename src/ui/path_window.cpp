#include "ui/path_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "services/curve_edit_session.h"
#include "services/path_generators.h"
#include "settings/field_ranges.h"
#include "settings/parameter_set.h"
#include "settings/window_layout.h"
#include "ui/field_rows.h"
#include "ui/numeric_field.h"

namespace quorl {

namespace {

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
    : ToolWindow(QStringLiteral("formQuorlPath"), QStringLiteral("Path"), parent), session_(session) {
  ParameterSet& params = session_.Params();
  auto* top_panel = new QWidget(this);
  top_panel->setObjectName(QStringLiteral("panelPathTop"));
  auto* top_row = new QHBoxLayout(top_panel);
  top_row->setContentsMargins(0, 0, 0, 0);
  NumericField* steps = MakeBoundField(params, "editPathNumberOfPathSteps", "NumberOfPathSteps");
  top_row->addWidget(MakeCaption(QStringLiteral("Number of points"), steps));
  top_row->addWidget(steps);
  top_row->addStretch(1);
  fields_.push_back(steps);
  Header()->addWidget(top_panel);

  tabPath_ = new QTabBar(this);
  tabPath_->setObjectName(QStringLiteral("tabPath"));
  tabPath_->setExpanding(false);
  tabPath_->setAccessibleName(QStringLiteral("Path shape"));
  for (const PanelLayout& layout : Panels()) tabPath_->addTab(QString::fromUtf8(layout.tab));
  connect(tabPath_, &QTabBar::currentChanged, this, &PathWindow::SelectPathTab);
  Body()->addWidget(tabPath_);
  // The panels share one place, which keeps the size of the largest so the
  // window does not jump when the tab changes.
  auto* place = new QGridLayout;
  Body()->addLayout(place);
  for (int tab = 0; tab < kTabCount; ++tab) place->addWidget(BuildPanel(tab), 0, 0, Qt::AlignTop);

  Init();
}

QWidget* PathWindow::BuildPanel(int tab) {
  const PanelLayout& layout = Panels()[static_cast<size_t>(tab)];
  ParameterSet& params = session_.Params();
  auto* panel = new QWidget(this);
  panel->setObjectName(QString::fromUtf8(layout.panel));
  QSizePolicy policy = panel->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  panel->setSizePolicy(policy);
  panels_[static_cast<size_t>(tab)] = panel;
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(6, 4, 6, 4);

  auto add_field = [&](const ShapeField& field) {
    NumericField* edit = MakeBoundField(params, field.name, field.key);
    const int row = grid->rowCount();
    grid->addWidget(MakeCaption(QString::fromUtf8(field.caption), edit), row, 0);
    grid->addWidget(edit, row, 1);
    fields_.push_back(edit);
    return row;
  };

  for (const ShapeField& field : layout.shape) add_field(field);
  if (layout.kind == static_cast<int>(PathKind::Lissajous)) {
    for (const char* formula : {"x(t) = r1 * sin(omega1*t + delta1)", "y(t) = r2 * sin(omega2*t + delta2)"})
      grid->addWidget(new QLabel(QString::fromUtf8(formula)), grid->rowCount(), 0, 1, 3);
  }
  auto* box = new QCheckBox(QStringLiteral("Clockwise?"), panel);
  box->setObjectName(QString::fromUtf8(layout.clockwise_box));
  grid->addWidget(box, grid->rowCount(), 0, 1, 3);
  connect(box, &QCheckBox::clicked, this,
          [this, member = layout.clockwise](bool on) { session_.Params().*member = on; });
  boxes_.emplace_back(box, layout.clockwise);
  const int rotated_row = add_field(layout.rotated_by);
  grid->addWidget(new QLabel(QStringLiteral("degrees")), rotated_row, 2);
  auto* make = new QPushButton(QStringLiteral("Make path"), panel);
  make->setObjectName(QString::fromUtf8(layout.button));
  grid->addWidget(make, grid->rowCount(), 0, Qt::AlignLeft);
  grid->setColumnStretch(3, 1);
  connect(make, &QPushButton::clicked, this, [this, kind = layout.kind] { MakePath(kind); });
  panel->hide();
  return panel;
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
