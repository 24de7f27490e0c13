#include "ui/colors_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>
#include <cstring>

#include "engine/program_state.h"
#include "settings/window_layout.h"
#include "ui/canvas_commands.h"
#include "ui/dialogs.h"
#include "ui/field_rows.h"
#include "ui/numeric_field.h"
#include "ui/track_bars.h"

namespace quorl {

namespace {

struct BarLayout {
  const char* key;
  int ParameterSet::*parameter;
};
struct PanelLayout {
  const char* object_name;
  const char* swatch_name;
  const char* swatch_caption;
  BarLayout bars[3];
};
const PanelLayout kPanels[] = {
    {"panelStartColor",
     "labelStartColorSwatch",
     "\nStart\nColor",
     {{"StartMaxRed", &ParameterSet::StartMaxRed},
      {"StartMaxGreen", &ParameterSet::StartMaxGreen},
      {"StartMaxBlue", &ParameterSet::StartMaxBlue}}},
    {"panelEndColour",
     "labelEndColorSwatch",
     "\nEnd\nColor",
     {{"EndMaxRed", &ParameterSet::EndMaxRed},
      {"EndMaxGreen", &ParameterSet::EndMaxGreen},
      {"EndMaxBlue", &ParameterSet::EndMaxBlue}}},
    {"panelColorOptions",
     "labelBgColorSwatch",
     "\nBack\nColor",
     {{"BgMaxRed", &ParameterSet::BgMaxRed},
      {"BgMaxGreen", &ParameterSet::BgMaxGreen},
      {"BgMaxBlue", &ParameterSet::BgMaxBlue}}},
};
const char* const kColourNames[3] = {"Start", "End", "Background"};
const char* const kChannelNames[3] = {"red", "green", "blue"};
const QColor kChannelColours[3] = {QColor(255, 0, 0), QColor(0, 160, 0), QColor(0, 0, 255)};

void Paint(QLabel* label, const QColor& background, const QColor& text) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, background);
  palette.setColor(QPalette::WindowText, text);
  label->setPalette(palette);
  label->setAutoFillBackground(true);
}

}  // namespace

const StoredGeometry ColorsWindow::kGeometry = {&WindowLayout::ColorsHeight, &WindowLayout::ColorsLeft,
                                                &WindowLayout::ColorsTop, &WindowLayout::ColorsVisible};

ColorsWindow::ColorsWindow(ProgramState& state, CanvasCommands& commands, QWidget* parent)
    : ToolWindow(QStringLiteral("formQuorlColors"), QStringLiteral("Colors"), parent),
      state_(state),
      commands_(commands) {
  // The three colours: a swatch on the left, red, green and blue bars with
  // their value labels on the right.
  for (int p = 0; p < 3; ++p) {
    const PanelLayout& layout = kPanels[p];
    auto* panel = new QFrame(this);
    panel->setObjectName(QString::fromUtf8(layout.object_name));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(2);
    swatches_[p] = MakeLabel(panel, layout.swatch_name, QString::fromUtf8(layout.swatch_caption));
    swatches_[p]->setAlignment(Qt::AlignCenter);
    swatches_[p]->setCursor(Qt::PointingHandCursor);
    swatches_[p]->setMinimumWidth(swatches_[p]->fontMetrics().horizontalAdvance(QStringLiteral("Color_")) +
                                  8);
    swatches_[p]->installEventFilter(this);
    // The background swatch shares its column with the "Set" button.
    grid->addWidget(swatches_[p], 0, 0, p == 2 ? 2 : 3, 1);
    for (int c = 0; c < 3; ++c) {
      const BarLayout& b = layout.bars[c];
      const QByteArray bar_name = QByteArray("tb") + b.key;
      const QByteArray label_name = QByteArray("label") + b.key;
      QSlider* bar = MakeTrackBar(panel, bar_name.constData(), b.key);
      bar->setAccessibleName(QString::fromUtf8(kColourNames[p]) + QLatin1Char(' ') +
                             QString::fromUtf8(kChannelNames[c]));
      bar->setMinimumWidth(150);
      QLabel* value = MakeValueLabel(panel, label_name.constData(), QStringLiteral("000"));
      value->setAlignment(Qt::AlignCenter);
      Paint(value, kChannelColours[c], QColor(255, 255, 255));
      grid->addWidget(bar, c, 1);
      grid->addWidget(value, c, 2);
      bars_.push_back({b.key, b.parameter, static_cast<Swatch>(p), bar, value});
    }
    if (p == 2) {
      auto* set = new QPushButton(QStringLiteral("Set"), panel);
      set->setObjectName(QStringLiteral("Button2"));
      grid->addWidget(set, 2, 0);
      connect(set, &QPushButton::clicked, this, &ColorsWindow::ResetCanvasCommand);
    }
    // The start colour stays in view when the window is folded.
    if (p == 0)
      Header()->addWidget(panel);
    else
      Body()->addWidget(panel);
  }
  for (std::size_t i = 0; i < bars_.size(); ++i)
    connect(bars_[i].bar, &QSlider::valueChanged, this, [this, i] { TakeBarPosition(bars_[i]); });

  // Multipliers and amounts.
  auto* grid = new QGridLayout;
  Body()->addLayout(grid);
  auto add = [&](const char* name, const char* caption, const char* key, int row, int column) {
    NumericField* field = MakeBoundField(state.params, name, key);
    grid->addWidget(MakeCaption(QString::fromUtf8(caption), field), row, column);
    grid->addWidget(field, row, column + 1);
    fields_.emplace_back(key, field);
  };
  add("editThetaColorMultiplier", "Theta Color", "ThetaColorMultiplier", 0, 0);
  grid->addWidget(new QLabel(RangeText("ThetaColorMultiplier")), 0, 2, 1, 2);
  add("editStepColorMultiplier", "Step Color", "StepColorMultiplier", 1, 0);
  grid->addWidget(new QLabel(RangeText("StepColorMultiplier")), 1, 2, 1, 2);
  add("editStartAmount", "Start Amount", "StartAmount", 2, 0);
  add("editEndAmount", "End Amount", "EndAmount", 2, 2);
  grid->setColumnStretch(4, 1);

  // How the colour combines with the canvas, two to a row.
  auto* options = new QGridLayout;
  Body()->addLayout(options);
  auto place = [options](QWidget* control, int row, int column) { options->addWidget(control, row, column); };
  auto make_box = [this](const char* name, const char* caption) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), this);
    box->setObjectName(QString::fromUtf8(name));
    return box;
  };
  cbNewColor_ = make_box("cbNewColor", "Alternative coloring?");
  cbOneOrTwo_ = make_box("cbOneOrTwo", "063 method?");
  place(cbNewColor_, 0, 0);
  place(cbOneOrTwo_, 0, 1);
  cbOneOrTwo_->setEnabled(false);
  boxes_.push_back({cbNewColor_, &ParameterSet::NewColor});
  boxes_.push_back({cbOneOrTwo_, &ParameterSet::OneOrTwo});

  auto* group = new QButtonGroup(this);
  auto make_radio = [this, group](const char* name, const char* caption) {
    auto* radio = new QRadioButton(QString::fromUtf8(caption), this);
    radio->setObjectName(QString::fromUtf8(name));
    group->addButton(radio);
    return radio;
  };
  auto* radios = new QHBoxLayout;
  rbColorAdd_ = make_radio("rbColorAdd", "Add");
  rbColorSubtract_ = make_radio("rbColorSubtract", "Subtract");
  cbBestGuess_ = make_radio("cbBestGuess", "Best Guess");
  for (QRadioButton* radio : {rbColorAdd_, rbColorSubtract_, cbBestGuess_}) radios->addWidget(radio);
  radios->addStretch(1);
  options->addLayout(radios, 1, 0, 1, 2);

  QCheckBox* aba = make_box("cbABA", "A -> B -> A?");
  QCheckBox* limits = make_box("cbUseColorsAsLimits", "Use colors as limits?");
  place(aba, 2, 0);
  place(limits, 2, 1);
  boxes_.push_back({aba, &ParameterSet::ABA});
  boxes_.push_back({limits, &ParameterSet::UseColorsAsLimits});

  for (const Box& b : boxes_)
    connect(b.box, &QCheckBox::clicked, this, [this, b] { Params().*b.parameter = b.box->isChecked(); });
  connect(cbNewColor_, &QCheckBox::clicked, this, &ColorsWindow::UpdateNewColor);
  connect(group, &QButtonGroup::buttonClicked, this, &ColorsWindow::UpdateWhite);

  Init();
}

ParameterSet& ColorsWindow::Params() const {
  return state_.params;
}

void ColorsWindow::TakeBarPosition(const ColourBar& bar) {
  const int position = bar.bar->value();
  bar.value->setText(QString::number(position));
  Params().*bar.parameter = position;
  UpdateSwatch(bar.swatch);
}

void ColorsWindow::UpdateSwatch(Swatch which) {
  const ParameterSet& p = Params();
  int r = p.EndMaxRed, g = p.EndMaxGreen, b = p.EndMaxBlue;
  if (which == Swatch::Start) {
    r = p.StartMaxRed;
    g = p.StartMaxGreen;
    b = p.StartMaxBlue;
  } else if (which == Swatch::Bg) {
    r = p.BgMaxRed;
    g = p.BgMaxGreen;
    b = p.BgMaxBlue;
  }
  // A light caption on a dark colour, a dark one on a light colour.
  const int q = 255 - static_cast<int>(std::lround((r + g + b) / 3.0));
  Paint(swatches_[static_cast<int>(which)], QColor(r, g, b), QColor(q, q, q));
}

bool ColorsWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    for (int p = 0; p < 3; ++p)
      if (watched == swatches_[p]) {
        ChooseSwatchColour(static_cast<Swatch>(p));
        return true;
      }
  }
  return ToolWindow::eventFilter(watched, event);
}

void ColorsWindow::ChooseSwatchColour(Swatch which) {
  QSlider* channel[3] = {};
  int n = 0;
  for (const ColourBar& bar : bars_)
    if (bar.swatch == which && n < 3) channel[n++] = bar.bar;
  if (n != 3) return;
  static const char* const kTitles[] = {"Start Color", "End Color", "Back Color"};
  const QColor initial(channel[0]->value(), channel[1]->value(), channel[2]->value());
  const QColor chosen =
      CurrentDialogs().ChooseColour(this, QString::fromLatin1(kTitles[static_cast<int>(which)]), initial);
  if (!chosen.isValid()) return;
  // Each bar stores its parameter and repaints the swatch, as a drag would.
  channel[0]->setValue(chosen.red());
  channel[1]->setValue(chosen.green());
  channel[2]->setValue(chosen.blue());
}

void ColorsWindow::UpdateWhite() {
  Params().White = rbColorSubtract_->isChecked();
  Params().BestGuess = cbBestGuess_->isChecked();
}

void ColorsWindow::UpdateNewColor() {
  cbOneOrTwo_->setEnabled(cbNewColor_->isChecked());
}

void ColorsWindow::ResetCanvasCommand() {
  commands_.ResetCanvas();
}

void ColorsWindow::Init() {
  const ParameterSet& p = Params();
  for (const ColourBar& bar : bars_) SetPositionQuietly(bar.bar, p.*bar.parameter);
  for (auto& [key, field] : fields_) field->Init();
  if (p.BestGuess)
    cbBestGuess_->setChecked(true);
  else if (p.White)
    rbColorSubtract_->setChecked(true);
  else
    rbColorAdd_->setChecked(true);
  for (const Box& b : boxes_) b.box->setChecked(p.*b.parameter);
  cbOneOrTwo_->setEnabled(p.NewColor);
  for (const ColourBar& bar : bars_) TakeBarPosition(bar);
}

QSlider* ColorsWindow::Bar(const char* key) const {
  for (const ColourBar& bar : bars_)
    if (std::strcmp(bar.key, key) == 0) return bar.bar;
  return nullptr;
}

QLabel* ColorsWindow::ValueLabel(const char* key) const {
  for (const ColourBar& bar : bars_)
    if (std::strcmp(bar.key, key) == 0) return bar.value;
  return nullptr;
}

QLabel* ColorsWindow::SwatchLabel(Swatch which) const {
  return swatches_[static_cast<int>(which)];
}

NumericField* ColorsWindow::Field(const char* key) const {
  for (const auto& [name, field] : fields_)
    if (std::strcmp(name, key) == 0) return field;
  return nullptr;
}

}  // namespace quorl
