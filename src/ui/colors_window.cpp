#include "ui/colors_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
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

constexpr int kWidth = 300;
constexpr int kPanelHeight = 84;

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
    : ToolWindow(QStringLiteral("formQuorlColors"), QStringLiteral("Colors"), kWidth, kFullHeight, parent),
      state_(state),
      commands_(commands) {
  MakeFoldButton(this)->move(kWidth - 30, 4);

  // The three colours: a swatch on the left, red, green and blue bars with
  // their value labels on the right.
  int top = 28;
  for (int p = 0; p < 3; ++p) {
    const PanelLayout& layout = kPanels[p];
    auto* panel = new QFrame(this);
    panel->setObjectName(QString::fromUtf8(layout.object_name));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(4, top, kWidth - 8, kPanelHeight);
    const int swatch_height = p == 2 ? 50 : 72;
    swatches_[p] = MakeLabel(panel, layout.swatch_name, QString::fromUtf8(layout.swatch_caption),
                             QRect(6, 6, 54, swatch_height));
    swatches_[p]->setAlignment(Qt::AlignCenter);
    swatches_[p]->setCursor(Qt::PointingHandCursor);
    swatches_[p]->installEventFilter(this);
    for (int c = 0; c < 3; ++c) {
      const BarLayout& b = layout.bars[c];
      const QByteArray bar_name = QByteArray("tb") + b.key;
      const QByteArray label_name = QByteArray("label") + b.key;
      QSlider* bar = MakeTrackBar(panel, bar_name.constData(), b.key, QRect(66, 6 + 24 * c, 176, 22));
      QLabel* value = MakeLabel(panel, label_name.constData(), QString(), QRect(248, 7 + 24 * c, 36, 20));
      value->setAlignment(Qt::AlignCenter);
      Paint(value, kChannelColours[c], QColor(255, 255, 255));
      bars_.push_back({b.key, b.parameter, static_cast<Swatch>(p), bar, value});
    }
    top += kPanelHeight + 2;
  }
  for (std::size_t i = 0; i < bars_.size(); ++i)
    connect(bars_[i].bar, &QSlider::valueChanged, this, [this, i] { TakeBarPosition(bars_[i]); });

  auto* set = new QPushButton(QStringLiteral("Set"), findChild<QFrame*>(QStringLiteral("panelColorOptions")));
  set->setObjectName(QStringLiteral("Button2"));
  set->setGeometry(6, 58, 54, 22);
  connect(set, &QPushButton::clicked, this, &ColorsWindow::ResetCanvasCommand);

  // Multipliers and amounts.
  FieldRowBuilder rows(this, state.params, 8, 96, 48);
  top += 4;
  const struct {
    const char* name;
    const char* caption;
    const char* key;
  } kMultipliers[] = {{"editThetaColorMultiplier", "Theta Color", "ThetaColorMultiplier"},
                      {"editStepColorMultiplier", "Step Color", "StepColorMultiplier"}};
  for (const auto& m : kMultipliers) {
    fields_.emplace_back(m.key, rows.AddAt(m.name, m.caption, m.key, 8, 96, 48, top));
    MakeLabel(this, nullptr, RangeText(m.key), QRect(150, top, 80, FieldRowBuilder::kFieldHeight));
    top += FieldRowBuilder::kRowHeight;
  }
  fields_.emplace_back("StartAmount",
                       rows.AddAt("editStartAmount", "Start Amount", "StartAmount", 8, 96, 48, top));
  fields_.emplace_back("EndAmount",
                       rows.AddAt("editEndAmount", "End Amount", "EndAmount", 152, 232, 48, top));
  top += FieldRowBuilder::kRowHeight + 2;

  // How the colour combines with the canvas.
  auto make_box = [this](const char* name, const char* caption, int left, int top_at, int width) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), this);
    box->setObjectName(QString::fromUtf8(name));
    box->setGeometry(left, top_at, width, 20);
    return box;
  };
  cbNewColor_ = make_box("cbNewColor", "Alternative coloring?", 8, top, 150);
  cbOneOrTwo_ = make_box("cbOneOrTwo", "063 method?", 170, top, 120);
  cbOneOrTwo_->setEnabled(false);
  boxes_.push_back({cbNewColor_, &ParameterSet::NewColor});
  boxes_.push_back({cbOneOrTwo_, &ParameterSet::OneOrTwo});
  top += 22;

  auto* group = new QButtonGroup(this);
  auto make_radio = [this, group](const char* name, const char* caption, int left, int top_at, int width) {
    auto* radio = new QRadioButton(QString::fromUtf8(caption), this);
    radio->setObjectName(QString::fromUtf8(name));
    radio->setGeometry(left, top_at, width, 20);
    group->addButton(radio);
    return radio;
  };
  rbColorAdd_ = make_radio("rbColorAdd", "Add", 8, top, 60);
  rbColorSubtract_ = make_radio("rbColorSubtract", "Subtract", 72, top, 90);
  cbBestGuess_ = make_radio("cbBestGuess", "Best Guess", 170, top, 110);
  top += 22;

  QCheckBox* aba = make_box("cbABA", "A -> B -> A?", 8, top, 110);
  QCheckBox* limits = make_box("cbUseColorsAsLimits", "Use colors as limits?", 130, top, 160);
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
