// The help texts, made from the commands' option tables: `quorl --help` and
// `quorl COMMAND --help`. The README shows them as they are (a test
// compares), so their layout is plain text of at most 79 columns.
#pragma once

#include <string>

#include "app/command.h"
#include "app/option_table.h"

namespace quorl {

// The options of `quorl` itself, before any command.
void RegisterProgramOptions(OptionTable& table, bool& help, bool& version);

// The row every command has.
void RegisterHelpOption(OptionTable& table, bool& help);

std::string ProgramHelp();
// `table` holds the command's rows (its Register() has run).
std::string CommandHelp(const Command& command, const OptionTable& table);

// `text` in lines of at most `width` columns, each after `indent` blanks;
// an empty line in `text` starts a new paragraph.
std::string WrapText(const std::string& text, size_t indent, size_t width = 79);

}  // namespace quorl
