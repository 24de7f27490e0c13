// The options `quorl render` and `quorl animate` have in common, read the
// same way by both.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/program_setup.h"
#include "services/picture_saving.h"

namespace quorl {

struct SharedOptions {
  // A settings file, or a picture saved by Quorl carrying its settings.
  std::string settingsPath;
  std::string saveDir;  // --save: whole picture sets, as "Save quorl picture" writes them
  std::string style;    // --style; empty: the file's own current style
  std::vector<std::pair<std::string, std::string>> overrides;  // --set, in order
  int threads = 0;                                             // --threads; 0: all cores
  // Fixed by default so that the same settings always give the same bytes.
  std::uint64_t seed = 1;
  bool seedGiven = false;           // --seed: wins over a saved set's seed
  bool allowMissingCurves = false;  // --allow-missing-curves
  bool transparent = false;         // --transparent: an alpha channel as "Use transparency?"
  bool noRecipe = false;            // --no-recipe: no settings inside saved pictures
  std::string sourceImage;
  std::string backgroundImage;

  SetupOptions Setup() const;
  // How a picture set is saved.
  SaveOptions Save(const ParameterSet& params) const;
};

// Walks the words of a command line.
class ArgumentReader {
 public:
  explicit ArgumentReader(const std::vector<std::string>& words) : words_(words) {}
  bool Done() const { return i_ >= words_.size(); }
  const std::string& Word() const { return words_[i_]; }
  void Advance() { ++i_; }
  // The value after the current option word; false (with the reason) when
  // there is none.
  bool Value(std::string& value, std::string& error);

 private:
  const std::vector<std::string>& words_;
  size_t i_ = 0;
};

enum class OptionRead { NotShared, Taken, Bad };

// Reads the current word if it is a shared option (with its value) or the
// settings file; the reader is left on the last word taken.
OptionRead ReadSharedOption(ArgumentReader& reader, SharedOptions& options, std::string& error);

// A whole number within [low, high] from an option's value.
bool WholeNumberOption(const std::string& name, const std::string& text, long long low, long long high,
                       long long& value, std::string& error);

}  // namespace quorl
