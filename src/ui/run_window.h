// Opens the main window and runs the program's message loop.
#pragma once

namespace quorl {

// Returns the process exit status.
int RunWindow(int argc, char** argv);

}  // namespace quorl
