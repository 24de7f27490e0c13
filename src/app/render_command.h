// `quorl render SETTINGS.ini -o OUT.png ...`: the picture the window makes
// when started with SETTINGS.ini as its settings file, opening it with
// "Open .ini file" and pressing Draw once. SETTINGS.ini is only read.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace quorl {

struct RenderOptions {
  // A settings file, or a picture saved by Quorl carrying its settings.
  std::string settingsPath;
  std::string outputPath;  // -o: the picture alone
  std::string saveDir;     // --save: the whole set, as "Save quorl picture" writes it
  std::string style;  // empty: the file's own current style
  std::vector<std::pair<std::string, std::string>> overrides;  // --set, in order
  int threads = 0;  // --threads; 0: all cores
  // Fixed by default so that the same settings always give the same bytes.
  std::uint64_t seed = 1;
  bool bench = false;
  bool transparent = false;  // --transparent: an alpha channel as "Use transparency?"
  int opacity = -1;          // --opacity N (1 ... 100) instead of the file's Opacity
  bool noRecipe = false;     // --no-recipe: no settings inside saved pictures
  std::string sourceImage;
  std::string backgroundImage;
};

// Parses the words after "render". False with a one-line reason for bad
// arguments (the caller prints the usage and exits 2).
bool ParseRenderArguments(const std::vector<std::string>& words, RenderOptions& options, std::string& error);

// Runs the render. Exit status: 0 done, 1 a file could not be read or
// written, 2 a bad --set or --style. `out` gets the --bench figures, `err`
// messages and the progress bar.
int RunRender(const RenderOptions& options, std::FILE* out, std::FILE* err, bool progressBar);

}  // namespace quorl
