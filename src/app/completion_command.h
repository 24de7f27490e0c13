// `quorl completion bash|zsh|fish`: prints the shell's completion script.
#pragma once

#include <memory>

#include "app/command.h"

namespace quorl {

std::unique_ptr<Command> MakeCompletionCommand();

}  // namespace quorl
