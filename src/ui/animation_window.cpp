#include "ui/animation_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
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
#include "ui/numeric_field.h"
#include "ui/track_bars.h"

namespace quorl {

namespace {

// Columns of a row: its caption, the change and repeat fields, the three
// wave-form buttons.
constexpr int kCaptionLeft = 4;
constexpr int kChangeLeft = 56;
constexpr int kRepeatLeft = 95;
constexpr int kFieldWidth = 36;
constexpr int kRadiosLeft = 136;
constexpr int kRadioPitch = 22;
constexpr int kRowHeight = 22;
constexpr int kPanelTitleHeight = 15;

const QColor kRunningColour(0, 128, 128);

const char* const kWaveSuffixes[3] = {"Sine", "Linear", "LinearReturn"};
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

QFrame* MakePanel(QWidget* parent, const QString& name, const QRect& geometry) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setGeometry(geometry);
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
    : ToolWindow(QStringLiteral("formQuorlAnimation"), QStringLiteral("Animation"), kWidth, kFullHeight,
                 parent),
      state_(state),
      run_(run),
      host_(host) {
  int top = BuildFramesPanel();
  top = BuildHeadings(top);
  top = BuildRows(top);
  BuildButtons(top);

  frame_timer_ = new QTimer(this);
  frame_timer_->setInterval(0);
  connect(frame_timer_, &QTimer::timeout, this, &AnimationWindow::RunFrameStep);

  Init();
}

AnimationWindow::~AnimationWindow() = default;

int AnimationWindow::BuildFramesPanel() {
  QFrame* panel = MakePanel(this, QStringLiteral("panelFrames"), QRect(2, 2, kWidth - 4, 78));
  MakeLabel(panel, nullptr, QStringLiteral("Frames"), QRect(4, 4, 40, 20));
  tbFrames_ = MakeTrackBar(panel, "tbFrames", "NumberOfFrames", QRect(44, 4, 120, 20));
  labelFrames_ = MakeLabel(panel, "labelFrames", QString(), QRect(168, 4, 36, 20));

  cbTTTTOffset_ = new QCheckBox(QStringLiteral("Offset?"), panel);
  cbTTTTOffset_->setObjectName(QStringLiteral("cbTTTTOffset"));
  cbTTTTOffset_->setGeometry(4, 28, 66, 20);
  tbAnimationOffset_ = MakeTrackBar(panel, "tbAnimationOffset", "AnimationOffset", QRect(70, 28, 90, 20));
  labelAnimationOffset_ = MakeLabel(panel, "labelAnimationOffset", QString(), QRect(162, 28, 18, 20));
  tbAnimationOffset_->hide();
  labelAnimationOffset_->hide();
  MakeFoldButton(panel)->move(kWidth - 32, 28);

  MakeLabel(panel, nullptr, QStringLiteral("Start"), QRect(4, 52, 40, 20));
  tbAnimationStartFrame_ = new QSlider(Qt::Horizontal, panel);
  tbAnimationStartFrame_->setObjectName(QStringLiteral("tbAnimationStartFrame"));
  tbAnimationStartFrame_->setGeometry(44, 52, 120, 20);
  tbAnimationStartFrame_->setRange(1, 1);
  labelAnimationStartFrame_ =
      MakeLabel(panel, "labelAnimationStartFrame", QStringLiteral("1"), QRect(168, 52, 36, 20));

  connect(tbFrames_, &QSlider::valueChanged, this, &AnimationWindow::TakeFrameCount);
  connect(tbAnimationOffset_, &QSlider::valueChanged, this, &AnimationWindow::TakeAnimationOffset);
  connect(tbAnimationStartFrame_, &QSlider::valueChanged, this, &AnimationWindow::ShowStartFrame);
  connect(cbTTTTOffset_, &QCheckBox::clicked, this, &AnimationWindow::UpdateOffsetRows);
  return 82;
}

int AnimationWindow::BuildHeadings(int top) {
  for (const auto& [caption, left] : {std::pair{"Change", kChangeLeft}, std::pair{"Repeat", kRepeatLeft}}) {
    QLabel* heading =
        MakeLabel(this, nullptr, QString::fromUtf8(caption), QRect(left - 2, top, kFieldWidth + 4, 16));
    QFont small = heading->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    heading->setFont(small);
    heading->setAlignment(Qt::AlignCenter);
  }
  for (int form = 0; form < 3; ++form) {
    QLabel* picture =
        MakeLabel(this, nullptr, QString(), QRect(kRadiosLeft + 2 + form * kRadioPitch, top, 18, 14));
    picture->setPixmap(WavePicture(form));
    picture->setToolTip(QString::fromUtf8(kWaveHints[form]));
  }
  return top + 18;
}

QLineEdit* AnimationWindow::MakeField(QWidget* parent, const QString& name, const QString& text, int left,
                                      int top, double ParameterSet::*parameter) {
  // The first text is only a placeholder until Init: it is not a value.
  auto* field = new QLineEdit(text, parent);
  field->setObjectName(name);
  field->setGeometry(left, top, kFieldWidth, kRowHeight - 2);
  connect(field, &QLineEdit::textChanged, this,
          [this, field, parameter] { TakeFieldValue(field, state_.params.*parameter); });
  return field;
}

int AnimationWindow::BuildRows(int top) {
  const std::span<const AnimatedRow> rows = AnimatedRows();
  rows_.reserve(rows.size());
  std::size_t i = 0;
  while (i < rows.size()) {
    // One panel per group of consecutive rows sharing a title.
    std::size_t end = i;
    while (end < rows.size() && QString::fromUtf8(rows[end].panel) == QString::fromUtf8(rows[i].panel)) ++end;
    const int height = kPanelTitleHeight + static_cast<int>(end - i) * kRowHeight + 2;
    QFrame* panel = MakePanel(this, QStringLiteral("panel%1").arg(QString::fromUtf8(rows[i].name)),
                              QRect(2, top, kWidth - 4, height));
    QLabel* title =
        MakeLabel(panel, nullptr, QString::fromUtf8(rows[i].panel), QRect(4, 1, 120, kPanelTitleHeight));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    int y = kPanelTitleHeight;
    for (; i < end; ++i, y += kRowHeight) {
      const AnimatedRow& row = rows[i];
      const QString q = QString::fromUtf8(row.name);
      MakeLabel(panel, nullptr, QString::fromUtf8(row.caption), QRect(kCaptionLeft, y, kChangeLeft - 6, 20));
      RowControls controls{&row, nullptr, nullptr, nullptr, {}};
      controls.change = MakeField(panel, QStringLiteral("editAnimationChange") + q, QStringLiteral("0"),
                                  kChangeLeft, y, row.change);
      controls.repeat = MakeField(panel, QStringLiteral("editAnimationRepeat") + q, QStringLiteral("1"),
                                  kRepeatLeft, y, row.repeat);
      // The three buttons sit on a panel of their own: one choice per row.
      QFrame* choice = new QFrame(panel);
      choice->setObjectName(QStringLiteral("panelWave") + q);
      choice->setGeometry(kRadiosLeft, y, 3 * kRadioPitch, 20);
      controls.group = new QButtonGroup(choice);
      for (int form = 0; form < 3; ++form) {
        auto* radio = new QRadioButton(choice);
        radio->setObjectName(QStringLiteral("rb") + q + QString::fromUtf8(kWaveSuffixes[form]));
        radio->setGeometry(2 + form * kRadioPitch, 1, 18, 18);
        radio->setToolTip(QString::fromUtf8(kWaveHints[form]));
        controls.group->addButton(radio);
        controls.radios[static_cast<std::size_t>(form)] = radio;
        // Only the user's clicks copy the states; Init's settings do not.
        connect(radio, &QRadioButton::clicked, this, &AnimationWindow::UpdateRepeaterRows);
      }
      rows_.push_back(controls);
    }
    top += height + 2;
  }
  return top;
}

void AnimationWindow::BuildButtons(int top) {
  btnSecretButton_ = new QPushButton(QStringLiteral("Make Frames"), this);
  btnSecretButton_->setObjectName(QStringLiteral("btnSecretButton"));
  btnSecretButton_->setGeometry(4, top + 2, 100, 24);
  connect(btnSecretButton_, &QPushButton::clicked, this, &AnimationWindow::RunHiddenCommand);
  cbStopMakingFrames_ = new QCheckBox(QStringLiteral("Stop"), this);
  cbStopMakingFrames_->setObjectName(QStringLiteral("cbStopMakingFrames"));
  cbStopMakingFrames_->setGeometry(112, top + 4, 80, 20);

  panelAnimationNE_ = MakeLabel(this, "panelAnimationNE", QString(), QRect(4, top + 30, 80, 26));
  panelAnimationNE_->setAlignment(Qt::AlignCenter);
  panelAnimationNE_->setAutoFillBackground(true);
  panelAnimationNE_->setFrameShape(QFrame::Panel);
  QFont font = panelAnimationNE_->font();
  font.setBold(true);
  font.setPixelSize(16);
  panelAnimationNE_->setFont(font);
  ShowRunning(false);

  pbAnimationFrames_ = new QProgressBar(this);
  pbAnimationFrames_->setObjectName(QStringLiteral("pbAnimationFrames"));
  pbAnimationFrames_->setGeometry(90, top + 33, kWidth - 96, 20);
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
