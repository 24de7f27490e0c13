// "Image dimensions": the canvas size. The fields hold pending values; only
// Apply makes them the size, by clearing the canvas.
#pragma once

#include "ui/tool_window.h"

namespace quorl {

class CanvasCommands;
class NumericField;
struct ProgramState;

class DimensionsWindow : public ToolWindow {
  Q_OBJECT

 public:
  static const StoredGeometry kGeometry;

  DimensionsWindow(ProgramState& state, CanvasCommands& commands, QWidget* parent = nullptr);

  // The fields show ImageWidth and ImageHeight.
  void Init();
  // The fields (and the pending values) show `width` x `height`.
  void ShowSize(int width, int height);

  // ImageWidth and ImageHeight take the pending values, the canvas is
  // cleared at that size and the window closes.
  void ApplySize();
  // The fields show the canvas's present size again.
  void ResetFields();

  int PendingImageWidth() const { return pending_width_; }
  int PendingImageHeight() const { return pending_height_; }
  NumericField* WidthField() const { return width_field_; }
  NumericField* HeightField() const { return height_field_; }

 private:
  ProgramState& state_;
  CanvasCommands& commands_;
  int pending_width_ = 0;
  int pending_height_ = 0;
  NumericField* width_field_;
  NumericField* height_field_;
};

}  // namespace quorl
