#include "app/shared_options.h"

#include <cmath>
#include <optional>

#include "app/setting_override.h"
#include "base/number_text.h"

namespace quorl {

SetupOptions SharedOptions::Setup() const {
  SetupOptions setup;
  setup.settingsPath = settingsPath;
  setup.style = style;
  setup.overrides = overrides;
  setup.seed = seed;
  setup.seedGiven = seedGiven;
  setup.allowMissingCurves = allowMissingCurves;
  setup.sourceImage = sourceImage;
  setup.backgroundImage = backgroundImage;
  return setup;
}

SaveOptions SharedOptions::Save(const ParameterSet& params) const {
  SaveOptions save;
  save.useTransparency = transparent;
  save.keepRecipe = params.KeepSettingsInPictures && !noRecipe;
  // A folder that has gone is an error on the command line, never a reason
  // to write somewhere else.
  save.fallBackToPictureFolder = false;
  return save;
}

bool ArgumentReader::Value(std::string& value, std::string& error) {
  if (i_ + 1 >= words_.size()) {
    error = words_[i_] + " needs a value";
    return false;
  }
  value = words_[++i_];
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

OptionRead ReadSharedOption(ArgumentReader& reader, SharedOptions& options, std::string& error) {
  const std::string word = reader.Word();
  std::string value;
  long long number = 0;
  const auto take = [&](bool ok) { return ok ? OptionRead::Taken : OptionRead::Bad; };
  if (word == "--save") return take(reader.Value(options.saveDir, error));
  if (word == "--style") return take(reader.Value(options.style, error));
  if (word == "--source-image") return take(reader.Value(options.sourceImage, error));
  if (word == "--background-image") return take(reader.Value(options.backgroundImage, error));
  if (word == "--transparent") {
    options.transparent = true;
    return OptionRead::Taken;
  }
  if (word == "--allow-missing-curves") {
    options.allowMissingCurves = true;
    return OptionRead::Taken;
  }
  if (word == "--no-recipe") {
    options.noRecipe = true;
    return OptionRead::Taken;
  }
  if (word == "--set") {
    std::string key;
    if (!reader.Value(value, error)) return OptionRead::Bad;
    if (!SplitKeyValue(value, key, value)) {
      error = "--set needs KEY=VALUE, not '" + reader.Word() + "'";
      return OptionRead::Bad;
    }
    options.overrides.emplace_back(key, value);
    return OptionRead::Taken;
  }
  if (word == "--threads") {
    if (!reader.Value(value, error) || !WholeNumberOption("--threads", value, 1, 1024, number, error))
      return OptionRead::Bad;
    options.threads = static_cast<int>(number);
    return OptionRead::Taken;
  }
  if (word == "--seed") {
    if (!reader.Value(value, error) ||
        !WholeNumberOption("--seed", value, 0, 9007199254740991LL, number, error))
      return OptionRead::Bad;
    options.seed = static_cast<std::uint64_t>(number);
    options.seedGiven = true;
    return OptionRead::Taken;
  }
  if (!word.empty() && word[0] == '-' && word != "-") return OptionRead::NotShared;
  if (!options.settingsPath.empty()) {
    error = "more than one settings file given ('" + word + "')";
    return OptionRead::Bad;
  }
  options.settingsPath = word;
  return OptionRead::Taken;
}

}  // namespace quorl
