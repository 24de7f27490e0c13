// `quorl recipe PICTURE.png`: prints the settings a picture carries inside;
// with `--extract DIR` writes them and its curve files into DIR as a set
// that `quorl render` draws to the same pixels.
#pragma once

#include <memory>
#include <string>

#include "app/command.h"

namespace quorl {

struct RecipeOptions {
  std::string picture;
  std::string extractDir;  // --extract DIR
};

// Exit status 0, or 1 for a picture without a readable recipe or a set that
// cannot be written (a set of that name in DIR already is an error).
int RunRecipe(const RecipeOptions& options, CommandIo& io);

std::unique_ptr<Command> MakeRecipeCommand();

}  // namespace quorl
