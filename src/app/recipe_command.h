// `quorl recipe PICTURE.png`: prints the settings a picture carries inside;
// with `--extract DIR` writes them and its curve files into DIR as a set
// that `quorl render` draws to the same pixels.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace quorl {

struct RecipeOptions {
  std::string picture;
  std::string extractDir;  // --extract DIR
};

bool ParseRecipeArguments(const std::vector<std::string>& words, RecipeOptions& options, std::string& error);

// Exit status 0, or 1 for a picture without a readable recipe or a set that
// cannot be written (a set of that name in DIR already is an error).
int RunRecipe(const RecipeOptions& options, std::FILE* out, std::FILE* err, bool progressBar);

}  // namespace quorl
