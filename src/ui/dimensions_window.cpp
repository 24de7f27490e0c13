#include "ui/dimensions_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/program_state.h"
#include "settings/field_ranges.h"
#include "settings/window_layout.h"
#include "ui/canvas_commands.h"
#include "ui/field_rows.h"
#include "ui/numeric_field.h"
#include "ui/track_bars.h"

namespace quorl {

namespace {

// A size field bound to a pending value, with the range of `key`, as the
// next row of `grid`.
NumericField* MakeSizeField(QGridLayout* grid, const char* name, const char* caption, const char* key,
                            int* pending) {
  auto* field = new NumericField;
  field->setObjectName(QString::fromUtf8(name));
  if (const FieldRange* range = FindFieldRange(key)) {
    field->BindInteger(pending, range->min, range->max);
    field->SetDragEnabled(range->drag);
  }
  const int row = grid->rowCount();
  grid->addWidget(MakeCaption(QString::fromUtf8(caption), field), row, 0);
  grid->addWidget(field, row, 1);
  grid->addWidget(new QLabel(RangeText(key)), row, 2);
  return field;
}

}  // namespace

const StoredGeometry DimensionsWindow::kGeometry = {
    &WindowLayout::DimensionsHeight, &WindowLayout::DimensionsLeft, &WindowLayout::DimensionsTop,
    &WindowLayout::DimensionsVisible};

DimensionsWindow::DimensionsWindow(ProgramState& state, CanvasCommands& commands, QWidget* parent)
    : ToolWindow(QStringLiteral("formQuorlImageDimensions"), QStringLiteral("Image dimensions"), parent),
      state_(state),
      commands_(commands) {
  auto* grid = new QGridLayout;
  Body()->addLayout(grid);
  width_field_ = MakeSizeField(grid, "editImageDimensionsWidth", "Width", "ImageWidth", &pending_width_);
  height_field_ = MakeSizeField(grid, "editImageDimensionsHeight", "Height", "ImageHeight", &pending_height_);

  auto* buttons = new QHBoxLayout;
  Body()->addLayout(buttons);
  auto* apply = new QPushButton(QStringLiteral("Apply"), this);
  apply->setObjectName(QStringLiteral("Apply"));
  buttons->addWidget(apply);
  connect(apply, &QPushButton::clicked, this, &DimensionsWindow::ApplySize);
  auto* reset = new QPushButton(QStringLiteral("Reset fields"), this);
  reset->setObjectName(QStringLiteral("btnResetFields"));
  buttons->addWidget(reset);
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
