// The command-line face: which face the words ask for, and running a
// command. No command opens a window.
#pragma once

#include <string>
#include <vector>

#include "app/command.h"

namespace quorl {

// True when the words (without the program's name) ask for the window:
// none at all, or only the name of an existing file to open in it.
bool OpensWindow(const std::vector<std::string>& args);

// Runs `quorl ARGS...` without a window; returns the exit status.
int RunCommandLine(const std::vector<std::string>& args, CommandIo& io);

// Parses `words` (after the command's name) into `command` and runs it.
int RunCommand(Command& command, const std::vector<std::string>& words, CommandIo& io);

// Prints a usage error as one line: "quorl CMD: what; see 'quorl CMD --help'"
// (the hint left out when the line already suggests a word). Returns 2.
int UsageError(CommandIo& io, const std::string& command, const std::string& what);

// The version line of `quorl --version`.
std::string VersionLine();

}  // namespace quorl
