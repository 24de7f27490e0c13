#include "ui/dimensions_window.h"

#include <QPushButton>

#include "engine/program_state.h"
#include "settings/field_ranges.h"
#include "settings/window_layout.h"
#include "ui/canvas_commands.h"
#include "ui/field_rows.h"
#include "ui/numeric_field.h"
#include "ui/track_bars.h"

namespace quorl {

namespace {

constexpr int kWidth = 220;

// A size field bound to a pending value, with the range of `key`.
NumericField* MakeSizeField(QWidget* window, const char* name, const char* caption, const char* key,
                            int* pending, int top) {
  MakeLabel(window, nullptr, QString::fromUtf8(caption), QRect(8, top, 50, FieldRowBuilder::kFieldHeight));
  auto* field = new NumericField(window);
  field->setObjectName(QString::fromUtf8(name));
  field->setGeometry(60, top, 56, FieldRowBuilder::kFieldHeight);
  if (const FieldRange* range = FindFieldRange(key)) {
    field->BindInteger(pending, range->min, range->max);
    field->SetDragEnabled(range->drag);
  }
  MakeLabel(window, nullptr, RangeText(key), QRect(122, top, 80, FieldRowBuilder::kFieldHeight));
  return field;
}

}  // namespace

const StoredGeometry DimensionsWindow::kGeometry = {
    &WindowLayout::DimensionsHeight, &WindowLayout::DimensionsLeft, &WindowLayout::DimensionsTop,
    &WindowLayout::DimensionsVisible};

DimensionsWindow::DimensionsWindow(ProgramState& state, CanvasCommands& commands, QWidget* parent)
    : ToolWindow(QStringLiteral("formQuorlImageDimensions"), QStringLiteral("Image dimensions"), kWidth,
                 kFullHeight, parent),
      state_(state),
      commands_(commands) {
  MakeFoldButton(this)->move(kWidth - 30, 4);
  width_field_ = MakeSizeField(this, "editImageDimensionsWidth", "Width", "ImageWidth", &pending_width_, 28);
  height_field_ =
      MakeSizeField(this, "editImageDimensionsHeight", "Height", "ImageHeight", &pending_height_, 54);

  auto* apply = new QPushButton(QStringLiteral("Apply"), this);
  apply->setObjectName(QStringLiteral("Apply"));
  apply->setGeometry(8, 88, 90, 25);
  connect(apply, &QPushButton::clicked, this, &DimensionsWindow::ApplySize);
  auto* reset = new QPushButton(QStringLiteral("Reset fields"), this);
  reset->setObjectName(QStringLiteral("btnResetFields"));
  reset->setGeometry(108, 88, 90, 25);
  connect(reset, &QPushButton::clicked, this, &DimensionsWindow::ResetFields);

  Init();
}

void DimensionsWindow::ShowSize(int width, int height) {
  // The fields' change operation keeps the pending values to 1 ... 6000.
  pending_width_ = width;
  pending_height_ = height;
  width_field_->Init();
  height_field_->Init();
}

void DimensionsWindow::Init() {
  ShowSize(state_.params.ImageWidth, state_.params.ImageHeight);
}

void DimensionsWindow::ApplySize() {
  if (!commands_.MaySetPictureAside()) return;
  state_.params.ImageWidth = pending_width_;
  state_.params.ImageHeight = pending_height_;
  commands_.ClearCanvas();
  hide();
}

void DimensionsWindow::ResetFields() {
  ShowSize(state_.canvas.CanvasWidth(), state_.canvas.CanvasHeight());
}

}  // namespace quorl
