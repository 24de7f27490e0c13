#include "ui/background_image_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "canvas/picture_files.h"
#include "engine/program_state.h"
#include "services/image_loading.h"
#include "settings/window_layout.h"
#include "ui/canvas_commands.h"
#include "ui/dimensions_window.h"
#include "ui/picture_preview.h"
#include "ui/track_bars.h"

namespace quorl {

const StoredGeometry BackgroundImageWindow::kGeometry = {
    &WindowLayout::BackgroundImageHeight, &WindowLayout::BackgroundImageLeft,
    &WindowLayout::BackgroundImageTop, &WindowLayout::BackgroundImageVisible};

BackgroundImageWindow::BackgroundImageWindow(ProgramState& state, CanvasCommands& commands,
                                             DimensionsWindow* dimensions, QWidget* parent)
    : ToolWindow(QStringLiteral("formQuorlBackgroundImage"), QStringLiteral("Background Image"), parent),
      state_(state),
      commands_(commands),
      dimensions_(dimensions) {
  FoldButton()->setObjectName(QStringLiteral("Button2"));
  auto* load = new QPushButton(QStringLiteral("Load background image from file"), this);
  load->setObjectName(QStringLiteral("btnLoadBackgroundImageFromFile"));
  connect(load, &QPushButton::clicked, this, &BackgroundImageWindow::ChooseBackgroundImage);
  Header()->addWidget(load, 0, Qt::AlignLeft);

  auto* take = new QPushButton(QStringLiteral("Use current canvas as background"), this);
  take->setObjectName(QStringLiteral("btnUseCurrentAsBackground"));
  connect(take, &QPushButton::clicked, this, &BackgroundImageWindow::UseCurrentAsBackground);
  Body()->addWidget(take, 0, Qt::AlignLeft);

  preview_ = new PicturePreview(QStringLiteral("panelBackgroundImagePreviewHolder"), this);
  Body()->addWidget(preview_);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("panelBackgroundImageOptions"));
  panelBackgroundImageOptions_ = panel;
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(4, 2, 4, 2);
  Body()->addWidget(panel);

  auto make_box = [panel, column](const char* name, const char* caption) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), panel);
    box->setObjectName(QString::fromUtf8(name));
    column->addWidget(box);
    return box;
  };
  cbUseBackgroundImage_ = make_box("cbUseBackgroundImage", "Use background image?");
  cbBackgroundImageResizeCanvas_ = make_box("cbBackgroundImageResizeCanvas", "Resize canvas?");
  connect(cbUseBackgroundImage_, &QCheckBox::clicked, this,
          [this](bool checked) { Params().UseBackgroundImage = checked; });
  connect(cbBackgroundImageResizeCanvas_, &QCheckBox::clicked, this,
          [this](bool checked) { Params().BackgroundImageResizeCanvas = checked; });

  column->addWidget(MakeLabel(panel, nullptr, QStringLiteral("Background image position:")));
  auto* group = new QButtonGroup(this);
  auto* radios = new QHBoxLayout;
  column->addLayout(radios);
  auto make_radio = [panel, group, radios](const char* name, const char* caption) {
    auto* radio = new QRadioButton(QString::fromUtf8(caption), panel);
    radio->setObjectName(QString::fromUtf8(name));
    group->addButton(radio);
    radios->addWidget(radio);
    return radio;
  };
  rbCentered_ = make_radio("rbBackgroundImagePositionCentered", "Centered");
  rbStretched_ = make_radio("rbBackgroundImagePositionStretched", "Stretched");
  rbTiled_ = make_radio("rbBackgroundImagePositionTiled", "Tiled");
  radios->addStretch(1);
  // Only the user's clicks arrive here; Init's setChecked raises none.
  connect(group, &QButtonGroup::buttonClicked, this, &BackgroundImageWindow::UpdateBackgroundPosition);

  auto* apply = new QPushButton(QStringLiteral("Apply"), panel);
  apply->setObjectName(QStringLiteral("btnApply"));
  column->addWidget(apply, 0, Qt::AlignLeft);
  connect(apply, &QPushButton::clicked, this, &BackgroundImageWindow::ApplyBackground);

  Init();
  if (state.background.Loaded()) ShowLoadedPicture();
}

ParameterSet& BackgroundImageWindow::Params() const {
  return state_.params;
}

void BackgroundImageWindow::Init() {
  const ParameterSet& p = Params();
  cbUseBackgroundImage_->setChecked(p.UseBackgroundImage);
  cbBackgroundImageResizeCanvas_->setChecked(p.BackgroundImageResizeCanvas);
  // The placement a reset uses: a later one that is set wins, and with none
  // set the picture is centred.
  if (p.BackgroundImagePositionTiled)
    rbTiled_->setChecked(true);
  else if (p.BackgroundImagePositionStretched)
    rbStretched_->setChecked(true);
  else
    rbCentered_->setChecked(true);
}

void BackgroundImageWindow::UpdateBackgroundPosition() {
  Params().BackgroundImagePositionCentered = rbCentered_->isChecked();
  Params().BackgroundImagePositionStretched = rbStretched_->isChecked();
  Params().BackgroundImagePositionTiled = rbTiled_->isChecked();
}

void BackgroundImageWindow::ChooseBackgroundImage() {
  const QString file = AskForPictureFile(this, Params().BackgroundImageFileName);
  if (file.isEmpty()) return;
  // The run on the worker must not meet a half-replaced background.
  commands_.BetweenSteps([this, name = file.toStdString()] {
    // Only a picture that did load is worth clearing the canvas for.
    if (LoadBackgroundImage(name) && Params().UseBackgroundImage) ApplyBackground();
  });
}

bool BackgroundImageWindow::LoadBackgroundImage(const std::string& file_name) {
  WindowHost host(this, commands_);
  if (!quorl::LoadBackgroundImage(state_, file_name, ExtensionOf(file_name), host)) return false;
  ShowLoadedPicture();
  return true;
}

void BackgroundImageWindow::UseCurrentAsBackground() {
  // The canvas is whole only between steps.
  commands_.BetweenSteps([this] {
    WindowHost host(this, commands_);
    if (UseCurrentCanvasAsBackground(state_, host)) ShowLoadedPicture();
  });
}

void BackgroundImageWindow::ShowLoadedPicture() {
  panelBackgroundImageOptions_->show();
  preview_->ShowPicture(state_.background.Bitmap, state_.background.BackgroundWidth);
}

void BackgroundImageWindow::ApplyBackground() {
  commands_.BetweenSteps([this] {
    WindowHost host(this, commands_);
    FitImageSizeToBackground(state_.params, state_.background, host);
    commands_.ClearCanvas();
    if (dimensions_) dimensions_->ShowSize(state_.canvas.CanvasWidth(), state_.canvas.CanvasHeight());
    commands_.ShowStatus(kAppliedBackgroundMessage);
  });
}

QCheckBox* BackgroundImageWindow::CheckBox(const char* object_name) const {
  return findChild<QCheckBox*>(QString::fromUtf8(object_name));
}

QRadioButton* BackgroundImageWindow::Radio(const char* object_name) const {
  return findChild<QRadioButton*>(QString::fromUtf8(object_name));
}

}  // namespace quorl
