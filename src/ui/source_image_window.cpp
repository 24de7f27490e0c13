#include "ui/source_image_window.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <cstring>

#include "canvas/picture_files.h"
#include "engine/program_state.h"
#include "services/image_loading.h"
#include "settings/window_layout.h"
#include "ui/canvas_commands.h"
#include "ui/field_rows.h"
#include "ui/numeric_field.h"
#include "ui/picture_preview.h"
#include "ui/track_bars.h"

namespace quorl {

namespace {

struct BarLayout {
  const char* bar;
  const char* label;
  const char* caption;
  const char* key;
  int ParameterSet::*whole;
  double ParameterSet::*hundredths;
};
const BarLayout kRepeats[] = {
    {"tbStartRepeatPerStep", "labelStartRepeatPerStep", "Start repeat per step",
     "SourceImageStartThetaColorMultiplier", &ParameterSet::SourceImageStartThetaColorMultiplier, nullptr},
    {"tbEndRepeatPerStep", "labelEndRepeatPerStep", "End repeat per step",
     "SourceImageEndThetaColorMultiplier", &ParameterSet::SourceImageEndThetaColorMultiplier, nullptr},
    {"tbStartRepeatOverall", "labelStartRepeatOverall", "Start repeat overall",
     "SourceImageStartStepColorMultiplier", &ParameterSet::SourceImageStartStepColorMultiplier, nullptr},
    {"tbEndRepeatOverall", "labelEndRepeatOverall", "End repeat overall", "SourceImageEndStepColorMultiplier",
     &ParameterSet::SourceImageEndStepColorMultiplier, nullptr},
};
const BarLayout kOffsets[] = {
    {"tbImageStartOffsetPerStep", "labelImageStartOffsetPerStep", "Start offset per step",
     "SourceImageStartOffsetPerStep", nullptr, &ParameterSet::SourceImageStartOffsetPerStep},
    {"tbImageEndOffsetPerStep", "labelImageEndOffsetPerStep", "End offset per step",
     "SourceImageEndOffsetPerStep", nullptr, &ParameterSet::SourceImageEndOffsetPerStep},
    {"tbImageStartOffsetOverall", "labelImageStartOffsetOverall", "Start offset overall",
     "SourceImageStartOffsetOverall", nullptr, &ParameterSet::SourceImageStartOffsetOverall},
    {"tbImageEndOffsetOverall", "labelImageEndOffsetOverall", "End offset overall",
     "SourceImageEndOffsetOverall", nullptr, &ParameterSet::SourceImageEndOffsetOverall},
};
const BarLayout kThreshold = {"tbSourceImageOpacityThreshold",
                              "labelSourceImageOpacityThreshold",
                              "Opacity threshold",
                              "SourceImageOpacityThreshold",
                              nullptr,
                              &ParameterSet::SourceImageOpacityThreshold};

}  // namespace

const StoredGeometry SourceImageWindow::kGeometry = {
    &WindowLayout::SourceImageHeight, &WindowLayout::SourceImageLeft, &WindowLayout::SourceImageTop,
    &WindowLayout::SourceImageVisible};

SourceImageWindow::SourceImageWindow(ProgramState& state, CanvasCommands& commands, QWidget* parent)
    : ToolWindow(QStringLiteral("formQuorlSourceImage"), QStringLiteral("Source image"), parent),
      state_(state),
      commands_(commands) {
  auto* load = new QPushButton(QStringLiteral("Load source image from file"), this);
  load->setObjectName(QStringLiteral("btnLoadSourceImage"));
  connect(load, &QPushButton::clicked, this, &SourceImageWindow::ChooseSourceImage);
  Header()->addWidget(load, 0, Qt::AlignLeft);

  preview_ = new PicturePreview(QStringLiteral("panelSourceImagePreviewHolder"), this);
  Body()->addWidget(preview_);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("panelImageOptions"));
  panelImageOptions_ = panel;
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(4, 2, 4, 2);
  Body()->addWidget(panel);

  auto add_bar = [&](const BarLayout& layout) {
    QSlider* bar = MakeTrackBar(panel, layout.bar, layout.key);
    QLabel* caption = MakeCaption(QString::fromUtf8(layout.caption), bar);
    QLabel* value = MakeValueLabel(panel, layout.label, QStringLiteral("-0.00"));
    const int row = grid->rowCount();
    grid->addWidget(caption, row, 0);
    grid->addWidget(bar, row, 1);
    grid->addWidget(value, row, 2);
    bars_.push_back({bar, value, layout.whole, layout.hundredths});
    return std::pair{caption, bars_.back()};
  };
  auto add_box = [&](const char* name, const char* caption, bool ParameterSet::*parameter) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), panel);
    box->setObjectName(QString::fromUtf8(name));
    grid->addWidget(box, grid->rowCount(), 0, 1, 3);
    boxes_.push_back({box, parameter});
    return box;
  };

  for (const BarLayout& layout : kRepeats) add_bar(layout);
  add_box("cbSourceImageRepeatByIntegers", "Only use integer repeats?",
          &ParameterSet::SourceImageRepeatByIntegers);
  for (const BarLayout& layout : kOffsets) add_bar(layout);
  cbUseOpaquePixels_ = add_box("cbUseOpaquePixels", "Opaque?", &ParameterSet::UseOpaquePixels);
  const auto [threshold_caption, threshold] = add_bar(kThreshold);
  threshold_controls_ = {threshold_caption, threshold.bar, threshold.value};
  // The threshold row keeps its place while hidden, so the window does not
  // change size when "Opaque?" is clicked.
  for (QWidget* control : threshold_controls_) {
    QSizePolicy policy = control->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    control->setSizePolicy(policy);
  }
  ShowThreshold(false);
  cbUseSource_ = add_box("cbUseSource", "Draw with the image?", &ParameterSet::UseSourceImage);
  add_box("cbSaveCopyOfSourceImage", "Save copy of source image?", &ParameterSet::SaveSourceImageFile);

  for (std::size_t i = 0; i < bars_.size(); ++i)
    connect(bars_[i].bar, &QSlider::valueChanged, this, [this, i] { TakeBarPosition(bars_[i]); });
  for (const Box& b : boxes_)
    connect(b.box, &QCheckBox::clicked, this, [this, b] { Params().*b.parameter = b.box->isChecked(); });
  connect(cbUseOpaquePixels_, &QCheckBox::clicked, this, &SourceImageWindow::UpdateThresholdVisibility);

  Init();
  if (state.source.Loaded()) preview_->ShowPicture(state.source.Bitmap, state.source.SourceWidth);
}

ParameterSet& SourceImageWindow::Params() const {
  return state_.params;
}

void SourceImageWindow::TakeBarPosition(const BoundBar& bar) {
  const int position = bar.bar->value();
  if (bar.whole) {
    Params().*bar.whole = position;
    bar.value->setText(QString::number(position));
  } else {
    Params().*bar.hundredths = position / 100.0;
    bar.value->setText(HundredthsText(position));
  }
}

void SourceImageWindow::ShowThreshold(bool shown) {
  for (QWidget* control : threshold_controls_) control->setVisible(shown);
}

bool SourceImageWindow::ThresholdShown() const {
  return !threshold_controls_.front()->isHidden();
}

// The threshold matters only for opaque pixels, so it is shown exactly
// while "Opaque?" is checked.
void SourceImageWindow::UpdateThresholdVisibility() {
  ShowThreshold(cbUseOpaquePixels_->isChecked());
}

void SourceImageWindow::Init() {
  const ParameterSet& p = Params();
  for (const BoundBar& bar : bars_)
    SetPositionQuietly(bar.bar, bar.whole ? p.*bar.whole : HundredthsPosition(bar.bar, p.*bar.hundredths));
  for (const BoundBar& bar : bars_) TakeBarPosition(bar);
  for (const Box& b : boxes_) b.box->setChecked(p.*b.parameter);
  ShowThreshold(p.UseOpaquePixels);
}

void SourceImageWindow::ChooseSourceImage() {
  const QString file = AskForPictureFile(this, Params().SourceImageFileName);
  if (file.isEmpty()) return;
  // A run on the worker reads the source picture while it colours a step.
  commands_.BetweenSteps([this, name = file.toStdString()] { LoadSourceImage(name); });
}

bool SourceImageWindow::LoadSourceImage(const std::string& file_name) {
  WindowHost host(this, commands_);
  if (!quorl::LoadSourceImage(state_, file_name, ExtensionOf(file_name), host)) return false;
  panelImageOptions_->show();
  cbUseSource_->setChecked(Params().UseSourceImage);
  for (const BoundBar& bar : bars_)
    if (bar.whole) TakeBarPosition(bar);
  preview_->ShowPicture(state_.source.Bitmap, state_.source.SourceWidth);
  return true;
}

QSlider* SourceImageWindow::Bar(const char* object_name) const {
  return findChild<QSlider*>(QString::fromUtf8(object_name));
}

QLabel* SourceImageWindow::ValueLabel(const char* object_name) const {
  return findChild<QLabel*>(QString::fromUtf8(object_name));
}

QCheckBox* SourceImageWindow::CheckBox(const char* object_name) const {
  return findChild<QCheckBox*>(QString::fromUtf8(object_name));
}

}  // namespace quorl
