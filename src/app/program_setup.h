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
  // --seed was given: it wins over the seed a saved set stored.
  bool seedGiven = false;
  // Draw although curve files the settings list are missing (a warning).
  bool allowMissingCurves = false;
  std::string sourceImage;      // --source-image
  std::string backgroundImage;  // --background-image
  // `quorl animate`: also load _anim_start.curve and _anim_end.curve; the
  // series makes its own frame values.
  bool animationPaths = false;
};

// Returns 0, or the exit status after printing one line to `err`: 1 for a
// file that cannot be read, a picture without a recipe, a missing or
// different source or background picture or a missing listed curve file; 2
// for a bad override.
//
// A saved set's facts are applied: its scatter seed (unless --seed), its
// animation frame's values, exactly its listed curve files, and the source
// and background pictures it names by SHA-256, found beside the settings
// file or picture (BASE_source.png, BASE_background.png, or the file name it
// names) or given with --source-image / --background-image.
int SetUpProgramState(const SetupOptions& options, ProgramState& state, Host& host, std::FILE* err);

}  // namespace quorl
