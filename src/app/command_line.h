// The command-line face: `quorl render`, `quorl animate`. No sub-command
// here opens a window.
#pragma once

namespace quorl {

// True when argv names a sub-command that the command line handles.
bool IsCommandLineInvocation(int argc, char** argv);

// Runs a sub-command; returns the process exit status.
int RunCommandLine(int argc, char** argv);

}  // namespace quorl
