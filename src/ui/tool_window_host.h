// What a tool window asks of the main window beyond the parameter set.
#pragma once

#include <string>

namespace quorl {

struct ParameterSet;

class ToolWindowHost {
 public:
  virtual ~ToolWindowHost() = default;
  virtual ParameterSet& Parameters() = 0;
  virtual bool IsDrawing() const = 0;
  // Stops a run as the Stop command does, without a status message.
  virtual void StopRunQuietly() = 0;
  // Stores the current parameters under the current style, makes `style`
  // current, loads its parameters and refills the tool windows.
  virtual void StyleChanger(const std::string& style) = 0;
  // Renders the accumulation buffer onto the canvas again.
  virtual void RedrawCanvas() = 0;
};

}  // namespace quorl
