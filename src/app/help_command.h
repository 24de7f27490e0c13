// `quorl help [COMMAND]`: the same text as `quorl --help` or
// `quorl COMMAND --help`.
#pragma once

#include <memory>

#include "app/command.h"

namespace quorl {

std::unique_ptr<Command> MakeHelpCommand();

}  // namespace quorl
