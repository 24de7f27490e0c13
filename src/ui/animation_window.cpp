#include "ui/animation_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "animation/animated_rows.h"
#include "animation/animation_paths.h"
#include "base/angles.h"
#include "base/number_text.h"
#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "settings/window_layout.h"
#include "ui/animation_points_window.h"
#include "ui/dialogs.h"
#include "ui/field_rows.h"
#include "ui/numeric_field.h"
#include "ui/track_bars.h"

namespace quorl {

namespace {

// Columns of the rows grid: caption, change and repeat fields, the three
// wave-form buttons.
constexpr int kChangeColumn = 1;
constexpr int kRepeatColumn = 2;
constexpr int kWaveColumn = 3;
constexpr int kColumns = 4;

const QColor kRunningColour(0, 128, 128);

const char* const kWaveSuffixes[3] = {"Sine", "Linear", "LinearReturn"};
const char* const kWaveNames[3] = {"sine", "linear", "linear and back"};
const char* const kWaveHints[3] = {"Change as the sine of progress", "Change as proportion of progress",
                                   "Change as proportion of progress, but return to original value"};

// A small drawing of a wave form for the column headings.
QPixmap WavePicture(int form) {
  constexpr int w = 18, h = 12;
  QPixmap picture(w, h);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0, 0, 128), 1.5));
  QPolygonF line;
  for (int x = 0; x < w; ++x) {
    const double u = x / double(w - 1);
    double v = 0;  // 0 at the bottom, 1 at the top
    if (form == 0) v = 0.5 + 0.5 * std::sin(u * 2 * kPi);
    if (form == 1) v = u;
    if (form == 2) v = u < 0.5 ? 2 * u : 2 - 2 * u;
    line << QPointF(x, 1 + (h - 3) * (1 - v));
  }
  painter.drawPolyline(line);
  return picture;
}

QFrame* MakePanel(QWidget* parent, const QString& name) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::StyledPanel);
  return panel;
}

std::string NotANumber(const QString& text) {
  return "'" + text.toStdString() + "' is not a valid floating point value";
}

}  // namespace

const StoredGeometry AnimationWindow::kGeometry = {&WindowLayout::AnimationHeight,
                                                   &WindowLayout::AnimationLeft, &WindowLayout::AnimationTop,
                                                   &WindowLayout::AnimationVisible};

bool ReadRotationFields(const std::array<const QLineEdit*, 4>& fields, Point& a, Point& b,
                        std::string& error) {
  double values[4] = {};
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const QString text = fields[i] ? fields[i]->text() : QString();
    const std::optional<double> value = ParseFloat(text.toStdString());
    if (!value) {
      error = NotANumber(text);
      return false;
    }
    values[i] = *value;
  }
  a = {values[0], values[1]};
  b = {values[2], values[3]};
  return true;
}

AnimationWindow::AnimationWindow(ProgramState& state, DrawingRun& run, Host& host, QWidget* parent)
    : ToolWindow(QStringLiteral("formQuorlAnimation"), QStringLiteral("Animation"), parent),
      state_(state),
      run_(run),
      host_(host) {
  BuildFramesPanel();
  auto* rows = new QGridLayout;
  rows->setVerticalSpacing(1);
  Body()->addLayout(rows);
  BuildHeadings(rows);
  BuildRows(rows);
  BuildButtons();

  frame_timer_ = new QTimer(this);
  frame_timer_->setInterval(0);
  connect(frame_timer_, &QTimer::timeout, this, &AnimationWindow::RunFrameStep);

  Init();
}

AnimationWindow::~AnimationWindow() = default;

void AnimationWindow::BuildFramesPanel() {
  QFrame* panel = MakePanel(this, QStringLiteral("panelFrames"));
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(4, 2, 4, 2);
  grid->setVerticalSpacing(2);
  tbFrames_ = MakeTrackBar(panel, "tbFrames", "NumberOfFrames");
  labelFrames_ = MakeValueLabel(panel, "labelFrames", QStringLiteral("0000"));
  grid->addWidget(MakeCaption(QStringLiteral("Frames"), tbFrames_), 0, 0);
  grid->addWidget(tbFrames_, 0, 1);
  grid->addWidget(labelFrames_, 0, 2);

  cbTTTTOffset_ = new QCheckBox(QStringLiteral("Offset?"), panel);
  cbTTTTOffset_->setObjectName(QStringLiteral("cbTTTTOffset"));
  tbAnimationOffset_ = MakeTrackBar(panel, "tbAnimationOffset", "AnimationOffset");
  tbAnimationOffset_->setAccessibleName(QStringLiteral("Offset"));
  labelAnimationOffset_ = MakeValueLabel(panel, "labelAnimationOffset", QStringLiteral("00"));
  // Shown only with "Offset?" checked, and keeping their place meanwhile.
  for (QWidget* control :
       {static_cast<QWidget*>(tbAnimationOffset_), static_cast<QWidget*>(labelAnimationOffset_)}) {
    QSizePolicy policy = control->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    control->setSizePolicy(policy);
    control->hide();
  }
  grid->addWidget(cbTTTTOffset_, 1, 0);
  grid->addWidget(tbAnimationOffset_, 1, 1);
  grid->addWidget(labelAnimationOffset_, 1, 2);

  tbAnimationStartFrame_ = new QSlider(Qt::Horizontal, panel);
  tbAnimationStartFrame_->setObjectName(QStringLiteral("tbAnimationStartFrame"));
  tbAnimationStartFrame_->setRange(1, 1);
  labelAnimationStartFrame_ = MakeValueLabel(panel, "labelAnimationStartFrame", QStringLiteral("0000"));
  labelAnimationStartFrame_->setText(QStringLiteral("1"));
  grid->addWidget(MakeCaption(QStringLiteral("Start"), tbAnimationStartFrame_), 2, 0);
  grid->addWidget(tbAnimationStartFrame_, 2, 1);
  grid->addWidget(labelAnimationStartFrame_, 2, 2);
  tbAnimationStartFrame_->setAccessibleName(QStringLiteral("Start frame"));
  Header()->addWidget(panel);

  connect(tbFrames_, &QSlider::valueChanged, this, &AnimationWindow::TakeFrameCount);
  connect(tbAnimationOffset_, &QSlider::valueChanged, this, &AnimationWindow::TakeAnimationOffset);
  connect(tbAnimationStartFrame_, &QSlider::valueChanged, this, &AnimationWindow::ShowStartFrame);
  connect(cbTTTTOffset_, &QCheckBox::clicked, this, &AnimationWindow::UpdateOffsetRows);
}

void AnimationWindow::BuildHeadings(QGridLayout* grid) {
  for (const auto& [caption, column] :
       {std::pair{"Change", kChangeColumn}, std::pair{"Repeat", kRepeatColumn}}) {
    QLabel* heading = MakeLabel(this, nullptr, QString::fromUtf8(caption));
    QFont small = heading->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    heading->setFont(small);
    heading->setAlignment(Qt::AlignCenter);
    grid->addWidget(heading, 0, column);
  }
  auto* pictures = new QHBoxLayout;
  pictures->setContentsMargins(2, 0, 2, 0);
  for (int form = 0; form < 3; ++form) {
    QLabel* picture = MakeLabel(this, nullptr, QString());
    picture->setPixmap(WavePicture(form));
    picture->setToolTip(QString::fromUtf8(kWaveHints[form]));
    pictures->addWidget(picture, 1, Qt::AlignCenter);
  }
  grid->addLayout(pictures, 0, kWaveColumn);
}

QLineEdit* AnimationWindow::MakeField(QWidget* parent, const QString& name, const QString& text,
                                      double ParameterSet::*parameter) {
  // The first text is only a placeholder until Init: it is not a value.
  auto* field = new QLineEdit(text, parent);
  field->setObjectName(name);
  field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("-0000.0")) + 10);
  connect(field, &QLineEdit::textChanged, this,
          [this, field, parameter] { TakeFieldValue(field, state_.params.*parameter); });
  return field;
}

void AnimationWindow::BuildRows(QGridLayout* grid) {
  const std::span<const AnimatedRow> rows = AnimatedRows();
  rows_.reserve(rows.size());
  QString panel_title;
  for (const AnimatedRow& row : rows) {
    // A bold title above each group of consecutive rows sharing one.
    const QString title = QString::fromUtf8(row.panel);
    if (title != panel_title) {
      panel_title = title;
      QLabel* heading = MakeLabel(this, nullptr, title);
      heading->setObjectName(QStringLiteral("panel%1").arg(QString::fromUtf8(row.name)));
      QFont bold = heading->font();
      bold.setBold(true);
      heading->setFont(bold);
      grid->addWidget(heading, grid->rowCount(), 0, 1, kColumns);
    }
    const int at = grid->rowCount();
    const QString q = QString::fromUtf8(row.name);
    const QString spoken = title + QLatin1Char(' ') + QString::fromUtf8(row.caption);
    grid->addWidget(MakeLabel(this, nullptr, QString::fromUtf8(row.caption)), at, 0);
    RowControls controls{&row, nullptr, nullptr, nullptr, {}};
    controls.change =
        MakeField(this, QStringLiteral("editAnimationChange") + q, QStringLiteral("0"), row.change);
    controls.change->setAccessibleName(spoken + QStringLiteral(" change"));
    controls.repeat =
        MakeField(this, QStringLiteral("editAnimationRepeat") + q, QStringLiteral("1"), row.repeat);
    controls.repeat->setAccessibleName(spoken + QStringLiteral(" repeat"));
    grid->addWidget(controls.change, at, kChangeColumn);
    grid->addWidget(controls.repeat, at, kRepeatColumn);
    // The three buttons sit on a panel of their own: one choice per row.
    auto* choice = new QWidget(this);
    choice->setObjectName(QStringLiteral("panelWave") + q);
    auto* buttons = new QHBoxLayout(choice);
    buttons->setContentsMargins(2, 0, 2, 0);
    controls.group = new QButtonGroup(choice);
    for (int form = 0; form < 3; ++form) {
      auto* radio = new QRadioButton(choice);
      radio->setObjectName(QStringLiteral("rb") + q + QString::fromUtf8(kWaveSuffixes[form]));
      radio->setAccessibleName(spoken + QLatin1Char(' ') + QString::fromUtf8(kWaveNames[form]));
      buttons->addWidget(radio, 1, Qt::AlignCenter);
      controls.group->addButton(radio);
      controls.radios[static_cast<std::size_t>(form)] = radio;
      // Only the user's clicks copy the states; Init's settings do not.
      connect(radio, &QRadioButton::clicked, this, &AnimationWindow::UpdateRepeaterRows);
    }
    grid->addWidget(choice, at, kWaveColumn);
    rows_.push_back(controls);
  }
}

void AnimationWindow::BuildButtons() {
  auto* buttons = new QHBoxLayout;
  Body()->addLayout(buttons);
  btnSecretButton_ = new QPushButton(QStringLiteral("Make Frames"), this);
  btnSecretButton_->setObjectName(QStringLiteral("btnSecretButton"));
  buttons->addWidget(btnSecretButton_);
  connect(btnSecretButton_, &QPushButton::clicked, this, &AnimationWindow::RunHiddenCommand);
  cbStopMakingFrames_ = new QCheckBox(QStringLiteral("Stop"), this);
  cbStopMakingFrames_->setObjectName(QStringLiteral("cbStopMakingFrames"));
  buttons->addWidget(cbStopMakingFrames_);
  buttons->addStretch(1);

  auto* progress = new QHBoxLayout;
  Body()->addLayout(progress);
  panelAnimationNE_ = MakeLabel(this, "panelAnimationNE", QString());
  panelAnimationNE_->setAlignment(Qt::AlignCenter);
  panelAnimationNE_->setAutoFillBackground(true);
  panelAnimationNE_->setFrameShape(QFrame::Panel);
  QFont font = panelAnimationNE_->font();
  font.setBold(true);
  font.setPixelSize(16);
  panelAnimationNE_->setFont(font);
  panelAnimationNE_->setMinimumWidth(QFontMetrics(font).horizontalAdvance(QStringLiteral("0000")) + 16);
  ShowRunning(false);
  progress->addWidget(panelAnimationNE_);

  pbAnimationFrames_ = new QProgressBar(this);
  pbAnimationFrames_->setObjectName(QStringLiteral("pbAnimationFrames"));
  progress->addWidget(pbAnimationFrames_, 1);
  pbAnimationFrames_->setRange(0, 1);
  pbAnimationFrames_->setValue(0);
  pbAnimationFrames_->setTextVisible(false);
}

// --- controls

void AnimationWindow::Init() {
  ParameterSet& p = state_.params;
  // The bars keep their positions to their ranges, and their handlers store
  // the positions: a frame count of 0 becomes 1.
  SetPositionQuietly(tbFrames_, p.NumberOfFrames);
  TakeFrameCount();
  SetPositionQuietly(tbAnimationOffset_, p.AnimationOffset);
  TakeAnimationOffset();

  for (RowControls& controls : rows_) {
    const WaveForm form = WaveFormOf(p, *controls.row);
    if (form == WaveForm::None) {
      // Every button of the row off: only possible outside the group's rule.
      controls.group->setExclusive(false);
      for (QRadioButton* radio : controls.radios) radio->setChecked(false);
      controls.group->setExclusive(true);
    } else {
      controls.radios[static_cast<std::size_t>(form) - 1]->setChecked(true);
    }
    controls.change->setText(QString::fromStdString(FormatFloat(p.*controls.row->change)));
    controls.repeat->setText(QString::fromStdString(FormatFloat(p.*controls.row->repeat)));
  }
}

void AnimationWindow::UpdateRepeaterRows() {
  ParameterSet& p = state_.params;
  for (const RowControls& controls : rows_) {
    p.*controls.row->sine = controls.radios[0]->isChecked();
    p.*controls.row->linear = controls.radios[1]->isChecked();
    p.*controls.row->linearReturn = controls.radios[2]->isChecked();
  }
}

void AnimationWindow::TakeFieldValue(QLineEdit* field, double& parameter) {
  const QString text = field->text();
  if (text.isEmpty() || text == QLatin1String("-") || text == QLatin1String(".")) return;
  if (const std::optional<double> value = ParseFloat(text.toStdString())) {
    parameter = *value;
    return;
  }
  const QPalette original = field->palette();
  QPalette yellow = original;
  yellow.setColor(QPalette::Base, QColor(255, 255, 0));
  field->setPalette(yellow);
  // These fields share the wording of the hundredths fields.
  CurrentDialogs().ShowMessage(field, QString::fromUtf8(kHundredthsFieldMessage));
  field->setText(QString::fromStdString(FormatFloat(parameter)));
  field->setCursorPosition(static_cast<int>(field->text().size()));
  field->setPalette(original);
}

void AnimationWindow::TakeFrameCount() {
  const int frames = tbFrames_->value();
  state_.params.NumberOfFrames = frames;
  labelFrames_->setText(QString::number(frames));
  pbAnimationFrames_->setMaximum(frames);
  tbAnimationStartFrame_->setMaximum(frames);
}

void AnimationWindow::TakeAnimationOffset() {
  labelAnimationOffset_->setText(QString::number(tbAnimationOffset_->value()));
  state_.params.AnimationOffset = tbAnimationOffset_->value();
}

void AnimationWindow::ShowStartFrame() {
  labelAnimationStartFrame_->setText(QString::number(tbAnimationStartFrame_->value()));
}

void AnimationWindow::UpdateOffsetRows() {
  const bool on = cbTTTTOffset_->isChecked();
  tbAnimationOffset_->setVisible(on);
  labelAnimationOffset_->setVisible(on);
}

void AnimationWindow::SetRotationFields(const std::array<const QLineEdit*, 4>& fields) {
  rotation_fields_ = fields;
}

void AnimationWindow::SetAnimationPoints(const AnimationPointsWindow* window) {
  animation_points_ = window;
}

QSlider* AnimationWindow::Bar(const char* object_name) const {
  return findChild<QSlider*>(QString::fromUtf8(object_name));
}
QLabel* AnimationWindow::Label(const char* object_name) const {
  return findChild<QLabel*>(QString::fromUtf8(object_name));
}
QLineEdit* AnimationWindow::Field(const char* object_name) const {
  return findChild<QLineEdit*>(QString::fromUtf8(object_name));
}
QRadioButton* AnimationWindow::Radio(const char* object_name) const {
  return findChild<QRadioButton*>(QString::fromUtf8(object_name));
}
QCheckBox* AnimationWindow::CheckBox(const char* object_name) const {
  return findChild<QCheckBox*>(QString::fromUtf8(object_name));
}

// --- the series

void AnimationWindow::DisableThings() {
  btnSecretButton_->setEnabled(false);
  tbFrames_->setEnabled(false);
  labelFrames_->setEnabled(false);
  repaint();
}

void AnimationWindow::EnableThings() {
  btnSecretButton_->setEnabled(true);
  tbFrames_->setEnabled(true);
  labelFrames_->setEnabled(true);
  repaint();
}

void AnimationWindow::EnableStartButton(bool enabled) {
  btnSecretButton_->setEnabled(enabled && !MakingFrames());
}

void AnimationWindow::ShowRunning(bool running) {
  QPalette palette = panelAnimationNE_->palette();
  palette.setColor(QPalette::Window, running ? kRunningColour : this->palette().color(QPalette::Button));
  palette.setColor(QPalette::WindowText, QColor(255, 255, 255));
  panelAnimationNE_->setPalette(palette);
  if (!running) panelAnimationNE_->clear();
  panelAnimationNE_->repaint();
}

void AnimationWindow::RunHiddenCommand() {
  // Neither two series at once nor a series inside a Draw run.
  if (MakingFrames() || state_.flags.IsDrawing) return;
  SeriesControls controls;
  controls.frames = tbFrames_->value();
  ReadLiveControls(controls);
  series_error_.clear();
  series_.emplace(state_.params, controls, state_.flags, state_.anim);
  series_->Begin();
  DisableThings();
  ShowRunning(true);
  StartNextFrame();
}

void AnimationWindow::StartNextFrame() {
  if (!series_->NextFrame(*this)) {
    EndSeries();
    return;
  }
  // A frame is a drawing run: Draw and Stop now ask it to stop, and the
  // canvas takes no strokes.
  state_.flags.IsDrawing = true;
  if (SyncRunSwitches) SyncRunSwitches();
  run_.Begin();
  frame_timer_->start();
}

void AnimationWindow::RunFrameStep() {
  if (SyncRunSwitches) SyncRunSwitches();
  // A stop asked for between two steps ends the frame before the next one.
  if (!state_.flags.StopRequested && run_.RunStep()) return;
  FinishFrame();
}

void AnimationWindow::FinishFrame() {
  frame_timer_->stop();
  run_.Finish();
  // A frame cut short by a stop request is not one of the series' frames;
  // FrameMade then ends the drawing of the series.
  if (!state_.flags.StopRequested) {
    const SaveResult saved = SaveFrame ? SaveFrame() : SavePictureFiles(state_, host_);
    // The save reported why; later frames could not be kept either.
    if (!saved.ok) series_->StopDrawing();
  }
  run_.Clear();
  DisableThings();  // the run's end enabled "Make Frames"
  series_->FrameMade();
  StartNextFrame();
}

void AnimationWindow::EndSeries() {
  ShowRunning(false);
  series_->End();
  series_.reset();
  EnableThings();
  pbAnimationFrames_->setValue(0);
  if (!series_error_.empty()) {
    const std::string message = "RunHiddenCommand: " + series_error_;
    series_error_.clear();
    CurrentDialogs().ShowMessage(this, QString::fromStdString(message));
  }
  if (SeriesEnded) SeriesEnded();
}

void AnimationWindow::AbandonSeries() {
  if (!MakingFrames()) return;
  frame_timer_->stop();
  state_.flags.IsDrawing = false;
  series_error_.clear();
  EndSeries();
}

// --- what the series reads and shows

void AnimationWindow::ShowFrame(int f) {
  panelAnimationNE_->setText(QString::number(f));
  panelAnimationNE_->repaint();
  pbAnimationFrames_->setValue(f);
}

void AnimationWindow::Status(const std::string& text) {
  host_.ShowStatus(text);
}

bool AnimationWindow::ReadRotationPoints(Point& a, Point& b, std::string& error) {
  if (rotation_fields_) return ReadRotationFields(*rotation_fields_, a, b, error);
  const ParameterSet& p = state_.params;
  a = {p.QuorlPointsRotateXStart, p.QuorlPointsRotateYStart};
  b = {p.QuorlPointsRotateXEnd, p.QuorlPointsRotateYEnd};
  return true;
}

PathAt AnimationWindow::StartPath() {
  return AnimationPathOf(state_.curves.AnimStartPathCurve, state_.curves.AnimStartPathBezier);
}

PathAt AnimationWindow::EndPath() {
  return AnimationPathOf(state_.curves.AnimEndPathCurve, state_.curves.AnimEndPathBezier);
}

bool AnimationWindow::StopTicked() {
  return cbStopMakingFrames_->isChecked();
}

void AnimationWindow::ShowError(const std::string& text) {
  series_error_ = text;
}

void AnimationWindow::ReadLiveControls(SeriesControls& controls) {
  controls.startFrame = tbAnimationStartFrame_->value();
  controls.offsetTicked = cbTTTTOffset_->isChecked();
  controls.offsetPosition = tbAnimationOffset_->value();
  controls.moveStart = animation_points_ && animation_points_->MoveStart();
  controls.moveEnd = animation_points_ && animation_points_->MoveEnd();
}

}  // namespace quorl
