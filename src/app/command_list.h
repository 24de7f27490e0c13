// Every command of `quorl`, in the order `quorl --help` lists them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/command.h"

namespace quorl {

std::vector<std::unique_ptr<Command>> MakeCommands();
// Null when there is no command of that name.
std::unique_ptr<Command> MakeCommand(const std::string& name);
std::vector<std::string> CommandNames();

}  // namespace quorl
