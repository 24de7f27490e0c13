#include "ui/background_image_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "canvas/picture_files.h"
#include "engine/program_state.h"
#include "services/image_loading.h"
#include "settings/window_layout.h"
#include "ui/canvas_commands.h"
#include "ui/dimensions_window.h"
#include "ui/picture_preview.h"
#include "ui/track_bars.h"

namespace quorl {

namespace {
constexpr int kWidth = 270;
}

const StoredGeometry BackgroundImageWindow::kGeometry = {
    &WindowLayout::BackgroundImageHeight, &WindowLayout::BackgroundImageLeft,
    &WindowLayout::BackgroundImageTop, &WindowLayout::BackgroundImageVisible};

BackgroundImageWindow::BackgroundImageWindow(ProgramState& state, CanvasCommands& commands,
                                             DimensionsWindow* dimensions, QWidget* parent)
    : ToolWindow(QStringLiteral("formQuorlBackgroundImage"), QStringLiteral("Background Image"), kWidth,
                 kFullHeight, parent),
      state_(state),
      commands_(commands),
      dimensions_(dimensions) {
  auto* load = new QPushButton(QStringLiteral("Load background image from file"), this);
  load->setObjectName(QStringLiteral("btnLoadBackgroundImageFromFile"));
  load->setGeometry(8, 4, 220, 25);
  connect(load, &QPushButton::clicked, this, &BackgroundImageWindow::ChooseBackgroundImage);
  auto* fold = new QPushButton(QStringLiteral(":)"), this);
  fold->setObjectName(QStringLiteral("Button2"));
  fold->setGeometry(kWidth - 30, 4, 24, 20);
  connect(fold, &QPushButton::clicked, this, &ToolWindow::ToggleFolded);

  auto* take = new QPushButton(QStringLiteral("Use current canvas as background"), this);
  take->setObjectName(QStringLiteral("btnUseCurrentAsBackground"));
  take->setGeometry(8, 32, 220, 25);
  connect(take, &QPushButton::clicked, this, &BackgroundImageWindow::UseCurrentAsBackground);

  preview_ = new PicturePreview(QStringLiteral("panelBackgroundImagePreviewHolder"), this);
  preview_->setGeometry(8, 62, kWidth - 16, 130);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("panelBackgroundImageOptions"));
  panel->setGeometry(4, 198, kWidth - 8, kFullHeight - 202);
  panelBackgroundImageOptions_ = panel;

  auto make_box = [panel](const char* name, const char* caption, int top) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), panel);
    box->setObjectName(QString::fromUtf8(name));
    box->setGeometry(6, top, 220, 20);
    return box;
  };
  cbUseBackgroundImage_ = make_box("cbUseBackgroundImage", "Use background image?", 4);
  cbBackgroundImageResizeCanvas_ = make_box("cbBackgroundImageResizeCanvas", "Resize canvas?", 26);
  connect(cbUseBackgroundImage_, &QCheckBox::clicked, this,
          [this](bool checked) { Params().UseBackgroundImage = checked; });
  connect(cbBackgroundImageResizeCanvas_, &QCheckBox::clicked, this,
          [this](bool checked) { Params().BackgroundImageResizeCanvas = checked; });

  MakeLabel(panel, nullptr, QStringLiteral("Background image position:"), QRect(6, 50, 220, 20));
  auto* group = new QButtonGroup(this);
  auto make_radio = [panel, group](const char* name, const char* caption, int left) {
    auto* radio = new QRadioButton(QString::fromUtf8(caption), panel);
    radio->setObjectName(QString::fromUtf8(name));
    radio->setGeometry(left, 72, 84, 20);
    group->addButton(radio);
    return radio;
  };
  rbCentered_ = make_radio("rbBackgroundImagePositionCentered", "Centered", 6);
  rbStretched_ = make_radio("rbBackgroundImagePositionStretched", "Stretched", 90);
  rbTiled_ = make_radio("rbBackgroundImagePositionTiled", "Tiled", 178);
  // Only the user's clicks arrive here; Init's setChecked raises none.
  connect(group, &QButtonGroup::buttonClicked, this, &BackgroundImageWindow::UpdateBackgroundPosition);

  auto* apply = new QPushButton(QStringLiteral("Apply"), panel);
  apply->setObjectName(QStringLiteral("btnApply"));
  apply->setGeometry(6, 100, 90, 25);
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
  // Only a picture that did load is worth clearing the canvas for.
  if (LoadBackgroundImage(file.toStdString()) && Params().UseBackgroundImage) ApplyBackground();
}

bool BackgroundImageWindow::LoadBackgroundImage(const std::string& file_name) {
  WindowHost host(this, commands_);
  if (!quorl::LoadBackgroundImage(state_, file_name, ExtensionOf(file_name), host)) return false;
  ShowLoadedPicture();
  return true;
}

void BackgroundImageWindow::UseCurrentAsBackground() {
  WindowHost host(this, commands_);
  if (UseCurrentCanvasAsBackground(state_, host)) ShowLoadedPicture();
}

void BackgroundImageWindow::ShowLoadedPicture() {
  panelBackgroundImageOptions_->show();
  preview_->ShowPicture(state_.background.Bitmap, state_.background.BackgroundWidth);
}

void BackgroundImageWindow::ApplyBackground() {
  WindowHost host(this, commands_);
  FitImageSizeToBackground(state_.params, state_.background, host);
  commands_.ClearCanvas();
  if (dimensions_) dimensions_->ShowSize(state_.canvas.CanvasWidth(), state_.canvas.CanvasHeight());
  commands_.ShowStatus(kAppliedBackgroundMessage);
}

QCheckBox* BackgroundImageWindow::CheckBox(const char* object_name) const {
  return findChild<QCheckBox*>(QString::fromUtf8(object_name));
}

QRadioButton* BackgroundImageWindow::Radio(const char* object_name) const {
  return findChild<QRadioButton*>(QString::fromUtf8(object_name));
}

}  // namespace quorl
