// Completion scripts for bash, zsh and fish, written from the commands'
// option tables, so a new option completes without touching this file.
#pragma once

#include <string>

namespace quorl {

std::string BashCompletion();
std::string ZshCompletion();
std::string FishCompletion();

// The script for `shell` ("bash", "zsh" or "fish"); empty for another name.
std::string CompletionScript(const std::string& shell);

}  // namespace quorl
