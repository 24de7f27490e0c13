// The short help of every tool-window control, kept in one table the way
// the field ranges are: one row per control, by its object name. A '*' in
// a name stands for any text (for the rows the Animation window makes from
// its own table).
#pragma once

#include <span>
#include <string_view>

class QWidget;

namespace quorl {

struct ControlHelp {
  const char* object_name;
  const char* tooltip;
};

std::span<const ControlHelp> ControlHelpTable();

// The row for the control `object_name` of the window `window_name`, or
// null: a "window/control" row first, then the control's own name, then
// the first pattern that matches.
const ControlHelp* FindControlHelp(std::string_view window_name, std::string_view object_name);

// Gives every control of `window` its tooltip from the table and, where it
// has none yet, an accessible name: its own text, or the text of the label
// that names it.
void ApplyControlHelp(QWidget* window);

// Whether `widget` takes input (buttons, fields, bars, lists, tabs): the
// controls that need a tooltip and an accessible name.
bool IsInputControl(const QWidget* widget);

}  // namespace quorl
