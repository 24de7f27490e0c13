// Opens the main window and runs the program's message loop.
#pragma once

#include <string>

namespace quorl {

// Returns the process exit status. A non-empty `file` (a settings file or a
// picture with its recipe) is opened once the window is up.
int RunWindow(int argc, char** argv, const std::string& file = std::string());

}  // namespace quorl
