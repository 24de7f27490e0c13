// A sub-command of `quorl` (render, animate, help, ...).
//
// To add a command: write a class deriving from Command in a file of its own
// (src/app/NAME_command.cpp), with its options as members registered in
// Register(), and add one row to the list in command_list.cpp. Its options
// then show in `quorl NAME --help`, in the shell completions and in the
// suggestions for mistyped words; the README check (tests/app) tells you to
// run tools/update-readme-help.sh so the README shows them too.
//
// To add an option to a command: one row in its Register(), a member to
// hold it, and (for a value that is a number or must be checked) a line in
// its Check().
#pragma once

#include <cstdio>
#include <string>

#include "app/option_table.h"

namespace quorl {

// Exit statuses of every command.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;  // a file could not be read or written, a tool failed
inline constexpr int kExitUsage = 2;   // a bad word, option or value on the command line

// Where a command writes.
struct CommandIo {
  std::FILE* out = stdout;
  std::FILE* err = stderr;
  // stderr is a terminal: a progress bar is welcome there.
  bool errIsTerminal = false;
};

class Command {
 public:
  virtual ~Command() = default;
  virtual std::string Name() const = 0;
  // One line for `quorl --help`'s list of commands.
  virtual std::string Summary() const = 0;
  // "SETTINGS -o OUT [options]": what follows `quorl NAME` in the usage line.
  virtual std::string Usage() const = 0;
  // Paragraphs shown under the usage line; may be empty.
  virtual std::string Description() const { return {}; }
  // Adds the command's options. Called once, before parsing.
  virtual void Register(OptionTable& table) = 0;
  // After parsing: turns option text into values and checks they fit
  // together. False with a one-line reason: a usage error (exit 2).
  virtual bool Check(std::string& error) = 0;
  // Does the work; returns the exit status. Messages go to io.err, one line
  // each, starting with "quorl: ".
  virtual int Run(CommandIo& io) = 0;
};

}  // namespace quorl
