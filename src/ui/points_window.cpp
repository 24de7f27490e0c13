#include "ui/points_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <span>

#include "engine/program_state.h"
#include "services/curve_editing.h"
#include "settings/field_ranges.h"
#include "settings/parameter_set.h"
#include "settings/window_layout.h"
#include "ui/canvas_view.h"
#include "ui/cursors.h"
#include "ui/dialogs.h"
#include "ui/field_rows.h"
#include "ui/numeric_field.h"
#include "ui/track_bars.h"

namespace quorl {

namespace {

constexpr int kMinSmoothing = 1;
constexpr int kMaxSmoothing = 100;

// The mark of a slot whose curve is in use.
const QString kMark = QString(QChar(0x00BB)) + QLatin1Char(' ');

QString SlotText(int slot, bool marked) {
  const QString name = QString::fromUtf8(SlotDisplayName(slot));
  return marked ? kMark + name : name;
}

template <typename Control>
Control* Make(QWidget* parent, const char* name, const char* caption) {
  auto* control = new Control(QString::fromUtf8(caption), parent);
  control->setObjectName(QString::fromUtf8(name));
  return control;
}

struct RadioParameter {
  const char* name;
  const char* caption;
  bool ParameterSet::*parameter;
};
const RadioParameter kPathModes[] = {
    {"rbStraightPath", "Path goes from A to B", &ParameterSet::QuorlPointsStraightPath},
    {"rbUseBezier", "Use Path curve for path", &ParameterSet::QuorlPointsUseBezier},
    {"rbFollow", "Follow mouse pointer for path", &ParameterSet::QuorlPointsFollow},
};
const RadioParameter kRotateModes[] = {
    {"rbStraightRotate", "Rotate goes from A to B", &ParameterSet::QuorlPointsStraightRotate},
    {"rbUseBezierRotate", "Use Path curve for rotate", &ParameterSet::QuorlPointsUseBezierRotate},
    {"rbFollowRotate", "Follow mouse pointer for rotate", &ParameterSet::QuorlPointsFollowRotate},
};

}  // namespace

const StoredGeometry PointsWindow::kGeometry = {&WindowLayout::PointsHeight, &WindowLayout::PointsLeft,
                                                &WindowLayout::PointsTop, &WindowLayout::PointsVisible};

PointsWindow::PointsWindow(CurveEditSession& session, CurveCommands& commands, QWidget* parent)
    : ToolWindow(QStringLiteral("formQuorlPoints"), QStringLiteral("Points"), parent),
      session_(session),
      commands_(commands) {
  BuildCurvePanel();
  BuildPointRows();
  session_.SetPointsView(this);
  Init();
}

PointsWindow::~PointsWindow() {
  session_.SetPointsView(nullptr);
}

void PointsWindow::OnCore(std::function<void()> work) {
  session_.RunOnCore(std::move(work));
}

void PointsWindow::BuildCurvePanel() {
  auto* modes = new QButtonGroup(this);
  auto* rotation = Make<QRadioButton>(this, "rbSetRotationPoints", "Set rotate points");
  auto* path = Make<QRadioButton>(this, "rbSetPathPoints", "Set path points");
  auto* curve = Make<QRadioButton>(this, "rbDrawMultiplierBezier", "Set curve");
  auto* mode_column = new QVBoxLayout;
  mode_column->setSpacing(0);
  for (QRadioButton* r : {rotation, path, curve}) {
    modes->addButton(r);
    mode_column->addWidget(r);
  }
  // What the right button sets stays in view when the window is folded.
  Header()->addLayout(mode_column);
  rotation->setChecked(true);
  connect(rotation, &QRadioButton::clicked, this, &PointsWindow::SelectRotationPoints);
  connect(path, &QRadioButton::clicked, this, &PointsWindow::SelectPathPoints);
  connect(curve, &QRadioButton::clicked, this, &PointsWindow::SelectMultiplierCurves);

  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("panelActions"));
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  Body()->addWidget(panel);

  cbMultiplierBeziers_ = new QComboBox(panel);
  cbMultiplierBeziers_->setObjectName(QStringLiteral("cbMultiplierBeziers"));
  cbMultiplierBeziers_->setAccessibleName(QStringLiteral("Curve"));
  for (int i = 0; i < kCurveCount; ++i) cbMultiplierBeziers_->addItem(SlotText(i, false));
  connect(cbMultiplierBeziers_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0) OnCore([this, index] { commands_.SelectSlot(index); });
  });
  column->addWidget(cbMultiplierBeziers_);

  struct ButtonLayout {
    const char* name;
    const char* caption;
    std::function<void()> click;
  };
  const ButtonLayout buttons[] = {
      {"btnDrawMultiplier", "Show curve", [this] { session_.ShowSelectedCurve(); }},
      {"btnHideCurve", "Hide curve", [this] { commands_.HideCurve(); }},
      {"btnClearMultiplier", "Reset curve", [this] { commands_.ResetCurve(); }},
      {"btnReverseCurve", "Reverse", [this] { commands_.ReverseSelectedCurve(); }},
      {"btnLoadBezier", "Load curve", [this] { commands_.LoadCurveFromFile(); }},
      {"btnSaveBezier", "Save curve", [this] { commands_.SaveCurveFile(); }},
  };
  auto* button_grid = new QGridLayout;
  button_grid->setSpacing(2);
  column->addLayout(button_grid);
  for (int i = 0; i < 6; ++i) {
    auto* button = Make<QPushButton>(panel, buttons[i].name, buttons[i].caption);
    button_grid->addWidget(button, i / 3, i % 3);
    connect(button, &QPushButton::clicked, this, [this, click = buttons[i].click] { OnCore(click); });
    curve_buttons_.push_back(button);
  }
  SetCurveCommandsEnabled(false);

  auto* controls = Make<QCheckBox>(panel, "cbDrawControlPoints", "Show Control Points?");
  controls->setChecked(session_.ShowControlPoints);
  connect(controls, &QCheckBox::clicked, this, [this](bool on) {
    session_.ShowControlPoints = on;
    OnCore([this] { session_.SelectSlotCurve(); });
  });
  auto* both = Make<QCheckBox>(panel, "cbDrawWithStartAndEnd", "Draw with Start and End curves?");
  connect(both, &QCheckBox::clicked, this, [this](bool on) {
    session_.Params().QuorlPointsUseStartAndEndBezier = on;
    commands_.ToggleStartAndEndBeziers();
  });
  auto* same = Make<QCheckBox>(panel, "cbUseStartAsEnd", "Use Start curve as End curve?");
  connect(same, &QCheckBox::clicked, this, [this](bool on) {
    session_.Params().QuorlPointsUseStartAsEnd = on;
    commands_.ToggleStartAsEndBezier();
  });
  for (QCheckBox* box : {controls, both, same}) column->addWidget(box);

  auto* smoothing = new QHBoxLayout;
  column->addLayout(smoothing);
  tbBezierMouse_ = new QSlider(Qt::Horizontal, panel);
  tbBezierMouse_->setObjectName(QStringLiteral("tbBezierMouse"));
  tbBezierMouse_->setRange(kMinSmoothing, kMaxSmoothing);
  smoothing->addWidget(MakeCaption(QStringLiteral("Curve smoothing"), tbBezierMouse_));
  smoothing->addWidget(tbBezierMouse_, 1);
  labelBezierMouse_ = MakeValueLabel(panel, "labelBezierMouse", QStringLiteral("100"));
  smoothing->addWidget(labelBezierMouse_);
  connect(tbBezierMouse_, &QSlider::valueChanged, this, &PointsWindow::TakeBezierMouse);
  Body()->addWidget(MakeBevel());
}

void PointsWindow::BuildPointRows() {
  ParameterSet& params = session_.Params();
  struct PointRow {
    const char* radio;
    const char* caption;
    const char* x_field;
    const char* x_key;
    const char* y_field;
    const char* y_key;
  };
  // Radio, x and y of a point, and an optional button, as a grid row.
  auto* grid = new QGridLayout;
  Body()->addLayout(grid);
  auto add_row = [&](const PointRow& row, QButtonGroup* group) {
    auto* radio = Make<QRadioButton>(this, row.radio, row.caption);
    group->addButton(radio);
    const int at = grid->rowCount();
    grid->addWidget(radio, at, 0);
    int column = 1;
    for (auto [name, key] : {std::pair{row.x_field, row.x_key}, std::pair{row.y_field, row.y_key}}) {
      NumericField* field = MakeBoundField(params, name, key);
      field->setAccessibleName(QString::fromUtf8(row.caption) +
                               (column == 1 ? QStringLiteral(" x") : QStringLiteral(" y")));
      grid->addWidget(field, at, column++);
      point_fields_.push_back(field);
    }
    return radio;
  };
  auto add_modes = [&](std::span<const RadioParameter> modes, void (PointsWindow::*take)()) {
    auto* group = new QButtonGroup(this);
    for (const RadioParameter& mode : modes) {
      auto* radio = Make<QRadioButton>(this, mode.name, mode.caption);
      group->addButton(radio);
      connect(radio, &QRadioButton::clicked, this, take);
      grid->addWidget(radio, grid->rowCount(), 0, 1, 4);
    }
  };

  auto* path_group = new QButtonGroup(this);
  QRadioButton* path_a = add_row(
      {"rbPathStart", "Path A", "eXstart", "QuorlPointsXStart", "eYstart", "QuorlPointsYStart"}, path_group);
  grid->addWidget(Make<QPushButton>(this, "btnResetPath", "Reset"), grid->rowCount() - 1, 3);
  add_row({"rbPathEnd", "Path B", "eXend", "QuorlPointsXEnd", "eYend", "QuorlPointsYEnd"}, path_group);
  path_a->setChecked(true);
  connect(path_a, &QRadioButton::toggled, this, [this](bool on) { session_.NextPathPointIsA = on; });
  connect(Button("btnResetPath"), &QPushButton::clicked, this, &PointsWindow::ResetPath);
  add_modes(kPathModes, &PointsWindow::TakePathMode);
  grid->addWidget(MakeBevel(), grid->rowCount(), 0, 1, 4);

  auto* rotate_group = new QButtonGroup(this);
  QRadioButton* rotate_a = add_row({"rbRotateStart", "Rotate A", "editRotateXStart",
                                    "QuorlPointsRotateXStart", "editRotateYStart", "QuorlPointsRotateYStart"},
                                   rotate_group);
  add_row({"rbRotateEnd", "Rotate B", "editRotateXEnd", "QuorlPointsRotateXEnd", "editRotateYEnd",
           "QuorlPointsRotateYEnd"},
          rotate_group);
  grid->addWidget(Make<QPushButton>(this, "btnResetRotate", "Reset Rotate points"), grid->rowCount(), 1, 1,
                  3);
  rotate_a->setChecked(true);
  connect(rotate_a, &QRadioButton::toggled, this, [this](bool on) { session_.NextRotatePointIsA = on; });
  connect(Button("btnResetRotate"), &QPushButton::clicked, this, &PointsWindow::ResetRotation);
  add_modes(kRotateModes, &PointsWindow::TakeRotateMode);

  auto* move = Make<QCheckBox>(this, "cbMove", "Use A and B?");
  grid->addWidget(move, grid->rowCount(), 0, 1, 4);
  connect(move, &QCheckBox::clicked, this, [this](bool on) {
    // The box says what is wanted; flipping the stored value instead could
    // leave the two disagreeing.
    commands_.SetMoveRotation(on);
    emit MoveRotationChanged(on);
  });
}

void PointsWindow::Init() {
  ParameterSet& params = session_.Params();
  tbBezierMouse_->setValue(params.QuorlPointsBezierMouse);
  TakeBezierMouse(tbBezierMouse_->value());
  for (NumericField* field : point_fields_) field->Init();

  CheckBox("cbDrawWithStartAndEnd")->setChecked(params.QuorlPointsUseStartAndEndBezier);
  CheckBox("cbUseStartAsEnd")->setChecked(params.QuorlPointsUseStartAsEnd);
  // The last mode that is on wins; with none on the buttons keep theirs,
  // and with none checked yet the first one is. Either way the parameters
  // then follow the buttons, so exactly one of each group is on.
  auto take_modes = [&](const RadioParameter(&modes)[3]) {
    bool any = false;
    for (const RadioParameter& mode : modes) {
      if (params.*mode.parameter) Radio(mode.name)->setChecked(true);
      any = any || Radio(mode.name)->isChecked();
    }
    if (!any) Radio(modes[0].name)->setChecked(true);
  };
  take_modes(kRotateModes);
  TakeRotateMode();
  take_modes(kPathModes);
  TakePathMode();
  SyncMoveRotation();

  Radio(session_.NextPathPointIsA ? "rbPathStart" : "rbPathEnd")->setChecked(true);
  Radio(session_.NextRotatePointIsA ? "rbRotateStart" : "rbRotateEnd")->setChecked(true);
  for (int i = 0; i < kCurveCount; ++i)
    if (session_.Curves()[i].Curve.GetLength() >= kDefinedCurvePoints) session_.MarkCurve(i);
  session_.ShowStatus("");
}

void PointsWindow::SetCurveCommandsEnabled(bool enabled) {
  cbMultiplierBeziers_->setEnabled(enabled);
  for (QPushButton* button : curve_buttons_) button->setEnabled(enabled);
}

void PointsWindow::SelectRotationPoints() {
  SetCurveCommandsEnabled(false);
  commands_.SetRotationPoints();
  emit RightButtonModeChanged(RightButtonMode::RotationPoints);
}

void PointsWindow::SelectPathPoints() {
  SetCurveCommandsEnabled(false);
  commands_.SetPathPoints();
  emit RightButtonModeChanged(RightButtonMode::PathPoints);
}

void PointsWindow::SelectMultiplierCurves() {
  SetCurveCommandsEnabled(true);
  commands_.DrawMultiplierBezier();
  emit RightButtonModeChanged(RightButtonMode::Curve);
}

void PointsWindow::SelectRightButtonMode(RightButtonMode mode) {
  switch (mode) {
    case RightButtonMode::RotationPoints:
      Radio("rbSetRotationPoints")->setChecked(true);
      SelectRotationPoints();
      break;
    case RightButtonMode::PathPoints:
      Radio("rbSetPathPoints")->setChecked(true);
      SelectPathPoints();
      break;
    case RightButtonMode::Curve:
      Radio("rbDrawMultiplierBezier")->setChecked(true);
      SelectMultiplierCurves();
      break;
  }
}

void PointsWindow::SetAnimationPathMode(bool on) {
  session_.AnimationPathMode = on;
  for (const char* name : {"rbSetRotationPoints", "rbSetPathPoints", "rbDrawMultiplierBezier"})
    Radio(name)->setEnabled(!on);
  const bool curve_commands = !on && Radio("rbDrawMultiplierBezier")->isChecked();
  cbMultiplierBeziers_->setEnabled(curve_commands);
  Button("btnClearMultiplier")->setEnabled(curve_commands);
}

void PointsWindow::SyncMoveRotation() {
  CheckBox("cbMove")->setChecked(session_.Params().MoveRotation);
}

void PointsWindow::TakePathMode() {
  ParameterSet& params = session_.Params();
  for (const RadioParameter& mode : kPathModes) params.*mode.parameter = Radio(mode.name)->isChecked();
}

void PointsWindow::TakeRotateMode() {
  ParameterSet& params = session_.Params();
  for (const RadioParameter& mode : kRotateModes) params.*mode.parameter = Radio(mode.name)->isChecked();
}

void PointsWindow::TakeBezierMouse(int position) {
  labelBezierMouse_->setText(QString::number(position));
  session_.Params().QuorlPointsBezierMouse = position;
}

void PointsWindow::ResetPath() {
  for (const char* name : {"eXstart", "eYstart", "eXend", "eYend"}) Field(name)->setText(QStringLiteral("0"));
}

void PointsWindow::ResetRotation() {
  for (const char* name : {"editRotateXStart", "editRotateYStart", "editRotateXEnd", "editRotateYEnd"})
    Field(name)->setText(QStringLiteral("0"));
}

void PointsWindow::ShowSlotMark(int slot, bool marked, bool select) {
  if (slot < 0 || slot >= cbMultiplierBeziers_->count()) return;
  // Programmatic changes do not count as the user choosing a slot.
  const QSignalBlocker blocker(cbMultiplierBeziers_);
  cbMultiplierBeziers_->setItemText(slot, SlotText(slot, marked));
  if (select) cbMultiplierBeziers_->setCurrentIndex(slot);
}

void PointsWindow::ShowPlacedPoint(PointPair pair, bool pointA, const std::string& x, const std::string& y) {
  const bool path = pair == PointPair::Path;
  const char* x_name =
      path ? (pointA ? "eXstart" : "eXend") : (pointA ? "editRotateXStart" : "editRotateXEnd");
  const char* y_name =
      path ? (pointA ? "eYstart" : "eYend") : (pointA ? "editRotateYStart" : "editRotateYEnd");
  Field(x_name)->setText(QString::fromStdString(x));
  Field(y_name)->setText(QString::fromStdString(y));
  const char* next =
      path ? (pointA ? "rbPathEnd" : "rbPathStart") : (pointA ? "rbRotateEnd" : "rbRotateStart");
  Radio(next)->setChecked(true);
}

NumericField* PointsWindow::Field(const char* object_name) const {
  return findChild<NumericField*>(QString::fromUtf8(object_name));
}
QPushButton* PointsWindow::Button(const char* object_name) const {
  return findChild<QPushButton*>(QString::fromUtf8(object_name));
}
QRadioButton* PointsWindow::Radio(const char* object_name) const {
  return findChild<QRadioButton*>(QString::fromUtf8(object_name));
}
QCheckBox* PointsWindow::CheckBox(const char* object_name) const {
  return findChild<QCheckBox*>(QString::fromUtf8(object_name));
}

// --- canvas, dialogs and mouse

CurveCanvasAdapter::CurveCanvasAdapter(std::function<void(const QImage&)> show, CanvasView* canvas)
    : show_(std::move(show)), canvas_(canvas) {}

void CurveCanvasAdapter::ShowCanvasPicture(const Picture24& picture) {
  if (picture.Empty() || !show_) return;
  show_(QImage(picture.Bytes().data(), picture.Width(), picture.Height(),
               static_cast<qsizetype>(picture.Stride()), QImage::Format_BGR888)
            .copy());
}

void CurveCanvasAdapter::ShowControlSquares(const std::vector<ControlSquare>& squares) {
  if (canvas_) canvas_->SetControlSquares(squares);
}

void CurveCanvasAdapter::SetCanvasCursor(CanvasCursor cursor) {
  if (!canvas_) return;
  switch (cursor) {
    case CanvasCursor::Default:
      canvas_->setCursor(Qt::ArrowCursor);
      break;
    case CanvasCursor::HandPoint:
      canvas_->setCursor(Qt::PointingHandCursor);
      break;
    case CanvasCursor::Drag:
      canvas_->setCursor(Qt::DragMoveCursor);
      break;
    case CanvasCursor::SizeAll:
      canvas_->setCursor(Qt::SizeAllCursor);
      break;
    case CanvasCursor::CurveRotate:
      canvas_->setCursor(CursorNumber(kCurveRotateCursor));
      break;
    case CanvasCursor::CurveExpand:
      canvas_->setCursor(CursorNumber(kCurveExpandCursor));
      break;
  }
}

void CurveCanvasAdapter::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

std::string CurveFileDialogsAdapter::SaveFile(const std::string& title, const std::string& folder,
                                              const std::string& proposedName, const std::string& filterName,
                                              const std::string& pattern,
                                              const std::string& defaultExtension) {
  const QString filter = QString::fromStdString(filterName + " (" + pattern + ")");
  return CurrentDialogs()
      .SaveFile(parent_, QString::fromStdString(title), QString::fromStdString(folder),
                QString::fromStdString(proposedName), filter, QString::fromStdString(defaultExtension))
      .toStdString();
}

std::string CurveFileDialogsAdapter::OpenFile(const std::string& title, const std::string& folder,
                                              const std::string& filterName, const std::string& pattern) {
  const QString filter = QString::fromStdString(filterName + " (" + pattern + ")");
  return CurrentDialogs()
      .OpenFile(parent_, QString::fromStdString(title), QString::fromStdString(folder), filter)
      .toStdString();
}

bool CurveFileDialogsAdapter::AskYesNo(const std::string& text) {
  return CurrentDialogs().AskYesNo(parent_, QString::fromStdString(text));
}

namespace {

MouseButton ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return kLeftButton;
    case Qt::RightButton:
      return kRightButton;
    case Qt::MiddleButton:
      return kMiddleButton;
    default:
      return kNoButton;
  }
}

}  // namespace

void ForwardCanvasMouse(CurveMouseEditor& editor, const QMouseEvent& event, QPoint position) {
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  MouseKeys keys;
  keys.shift = modifiers.testFlag(Qt::ShiftModifier);
  keys.ctrl = modifiers.testFlag(Qt::ControlModifier);
  keys.alt = modifiers.testFlag(Qt::AltModifier);
  switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      editor.Image1MouseDown(position.x(), position.y(), ButtonOf(event.button()), keys);
      break;
    case QEvent::MouseMove: {
      unsigned held = kNoButton;
      if (event.buttons().testFlag(Qt::LeftButton)) held |= kLeftButton;
      if (event.buttons().testFlag(Qt::RightButton)) held |= kRightButton;
      if (event.buttons().testFlag(Qt::MiddleButton)) held |= kMiddleButton;
      editor.Image1MouseMove(position.x(), position.y(), held, keys);
      break;
    }
    case QEvent::MouseButtonRelease:
      editor.Image1MouseUp(position.x(), position.y(), ButtonOf(event.button()), keys);
      break;
    default:
      break;
  }
}

}  // namespace quorl
