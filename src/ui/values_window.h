// "Values": the step count and the start/end pairs of the shape.
#pragma once

#include <vector>

#include "ui/tool_window.h"

namespace quorl {

class NumericField;

class ValuesWindow : public ToolWindow {
  Q_OBJECT

 public:
  static const StoredGeometry kGeometry;

  // Takes its stored geometry, then fills its fields.
  ValuesWindow(ParameterSet& parameters, QWidget* parent = nullptr);

  // Writes every field from its parameter; values outside a field's range
  // are clamped and stored back.
  void Init();

  NumericField* Field(const char* key) const;

 private:
  ParameterSet& parameters_;
  std::vector<std::pair<const char*, NumericField*>> fields_;
};

}  // namespace quorl
