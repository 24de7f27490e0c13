// The options `quorl render` and `quorl animate` have in common, registered
// and checked the same way by both.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/option_table.h"
#include "app/program_setup.h"
#include "app/terminal_progress.h"
#include "services/picture_saving.h"

namespace quorl {

struct SharedOptions {
  // A settings file, a picture saved by Quorl carrying its settings, or "-"
  // for standard input.
  std::string settingsPath;
  std::string saveDir;  // --save: whole picture sets, as "Save quorl picture" writes them
  std::string style;    // --style; empty: the file's own current style
  std::vector<std::pair<std::string, std::string>> overrides;  // --set, in order
  int threads = 0;                                             // --threads; 0: every CPU we may use
  // Fixed by default so that the same settings always give the same bytes.
  std::uint64_t seed = 1;
  bool transparent = false;  // --transparent: an alpha channel as "Use transparency?"
  bool noRecipe = false;     // --no-recipe: no settings inside saved pictures
  std::string sourceImage;
  std::string backgroundImage;
  // -q / --progress: a bar on a terminal unless told otherwise.
  bool quiet = false;
  std::string progressText;

  SetupOptions Setup() const;
  // How a picture set is saved.
  SaveOptions Save(const ParameterSet& params) const;
  // The progress style for a stderr that is (or is not) a terminal.
  ProgressStyle Progress(bool errIsTerminal) const;
};

// The option text of the shared options, before Check turns it into values.
struct SharedOptionText {
  std::string threads, seed;
  std::vector<std::string> sets;
};

void RegisterSharedOptions(OptionTable& table, SharedOptions& options, SharedOptionText& text);
// False with a one-line reason when a value does not fit.
bool CheckSharedOptions(SharedOptions& options, const SharedOptionText& text, std::string& error);

// A whole number within [low, high] from an option's value.
bool WholeNumberOption(const std::string& name, const std::string& text, long long low, long long high,
                       long long& value, std::string& error);

// The style keywords, for --style.
std::vector<std::string> StyleNames();

}  // namespace quorl
