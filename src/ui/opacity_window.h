// "Opacity": how opaque a picture saved with transparency is.
#pragma once

#include "ui/tool_window.h"

class QLabel;
class QSlider;

namespace quorl {

struct ProgramState;

class OpacityWindow : public ToolWindow {
  Q_OBJECT

 public:
  static const StoredGeometry kGeometry;

  // Takes its stored geometry, then shows the parameter.
  explicit OpacityWindow(ProgramState& state, QWidget* parent = nullptr);

  // The bar shows Opacity (kept to 1 ... 100) and its label the percentage.
  void Init();

  QSlider* Bar() const { return tbOpacity_; }
  QLabel* Label() const { return labelOpacity_; }

 private:
  void TakeOpacity();

  ProgramState& state_;
  QSlider* tbOpacity_;
  QLabel* labelOpacity_;
};

}  // namespace quorl
