#include "app/shared_options.h"

#include <cmath>
#include <optional>

#include "app/setting_override.h"
#include "base/number_text.h"
#include "engine/shape_step.h"

namespace quorl {

SetupOptions SharedOptions::Setup() const {
  SetupOptions setup;
  setup.settingsPath = settingsPath;
  setup.style = style;
  setup.overrides = overrides;
  setup.seed = seed;
  setup.sourceImage = sourceImage;
  setup.backgroundImage = backgroundImage;
  return setup;
}

SaveOptions SharedOptions::Save(const ParameterSet& params) const {
  SaveOptions save;
  save.useTransparency = transparent;
  save.keepRecipe = params.KeepSettingsInPictures && !noRecipe;
  return save;
}

ProgressStyle SharedOptions::Progress(bool errIsTerminal) const {
  if (quiet || progressText == "none") return ProgressStyle::None;
  if (progressText == "line") return ProgressStyle::Lines;
  if (progressText == "bar") return ProgressStyle::Bar;
  return errIsTerminal ? ProgressStyle::Bar : ProgressStyle::None;
}

std::vector<std::string> StyleNames() {
  return {std::begin(kStyleKeywords), std::end(kStyleKeywords)};
}

void RegisterSharedOptions(OptionTable& table, SharedOptions& options, SharedOptionText& text) {
  table.Value("--save", options.saveDir, "DIR",
              "also save the whole set (picture, curves, settings) into DIR, as \"Save quorl picture\" "
              "does, and print the picture's path",
              ValueKind::Folder);
  table.Value("--style", options.style, "NAME", "draw this style's section instead of the file's own",
              ValueKind::Choice, StyleNames());
  table.Values("--set", text.sets, "KEY=VALUE", "override one settings key after reading (repeatable)");
  table.Value("--threads", text.threads, "N",
              "threads to draw with (default: every CPU this process may use)", ValueKind::Number);
  table.Value("--seed", text.seed, "N", "seed of \"Use random scatter?\" (default 1)", ValueKind::Number);
  table.Flag("--transparent", options.transparent,
             "give the picture an alpha channel (\"Use transparency?\")");
  table.Flag("--no-recipe", options.noRecipe, "do not put the settings inside saved pictures");
  table.Value("--source-image", options.sourceImage, "FILE",
              "a source picture (PNG, JPEG, BMP) to colour with", ValueKind::File);
  table.Value("--background-image", options.backgroundImage, "FILE", "a picture to draw on (PNG, JPEG, BMP)",
              ValueKind::File);
  table.Flag("-q,--quiet", options.quiet, "no progress on standard error");
  table.Value("--progress", options.progressText, "STYLE",
              "bar (the default on a terminal), line (a line every 5 percent, for logs) or none",
              ValueKind::Choice, {"bar", "line", "none"});
}

bool CheckSharedOptions(SharedOptions& options, const SharedOptionText& text, std::string& error) {
  long long number = 0;
  if (!text.threads.empty()) {
    if (!WholeNumberOption("--threads", text.threads, 1, 1024, number, error)) return false;
    options.threads = static_cast<int>(number);
  }
  if (!text.seed.empty()) {
    if (!WholeNumberOption("--seed", text.seed, 0, 9007199254740991LL, number, error)) return false;
    options.seed = static_cast<std::uint64_t>(number);
  }
  options.overrides.clear();
  for (const std::string& set : text.sets) {
    std::string key, value;
    if (!SplitKeyValue(set, key, value)) {
      error = "--set needs KEY=VALUE, not '" + set + "'";
      return false;
    }
    options.overrides.emplace_back(key, value);
  }
  if (!options.progressText.empty() && options.progressText != "bar" && options.progressText != "line" &&
      options.progressText != "none") {
    error = "--progress takes bar, line or none, not '" + options.progressText + "'";
    return false;
  }
  if (options.settingsPath.empty()) {
    error = "no settings file given";
    return false;
  }
  if (!options.style.empty()) {
    bool known = false;
    for (const std::string& name : StyleNames()) known = known || name == options.style;
    if (!known) {
      error = "unknown style '" + options.style +
              "' (sine, tan, line, circles, ellipses, lissajous, test or zarvk9032)";
      return false;
    }
  }
  return true;
}

bool WholeNumberOption(const std::string& name, const std::string& text, long long low, long long high,
                       long long& value, std::string& error) {
  const std::optional<double> number = ParseFloat(text);
  if (!number || *number != std::floor(*number) || *number < static_cast<double>(low) ||
      *number > static_cast<double>(high) || text.find_first_of(",.eE") != std::string::npos) {
    error = name + " needs a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
            ", not '" + text + "'";
    return false;
  }
  value = static_cast<long long>(*number);
  return true;
}

}  // namespace quorl
