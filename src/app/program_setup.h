// Bringing a ProgramState to where the window would be after starting with
// a settings file, opening it with "Open .ini file" (curve files beside it
// included) and loading the pictures named on the command line. Shared by
// `quorl render` and `quorl animate`.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "base/host.h"
#include "engine/program_state.h"

namespace quorl {

struct SetupOptions {
  // A settings file, or a picture saved by Quorl that carries its recipe.
  std::string settingsPath;
  std::string style;                                           // empty: the file's own current style
  std::vector<std::pair<std::string, std::string>> overrides;  // --set, in order
  std::uint64_t seed = 1;
  std::string sourceImage;      // --source-image
  std::string backgroundImage;  // --background-image
  bool animationPaths = false;  // also load _anim_start.curve and _anim_end.curve
};

// Returns 0, or the exit status after printing one line to `err`: 1 for a
// file that cannot be read or a picture without a recipe, 2 for a bad
// override.
int SetUpProgramState(const SetupOptions& options, ProgramState& state, Host& host, std::FILE* err);

}  // namespace quorl
