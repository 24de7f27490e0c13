#include "app/render_command.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <memory>

#include "app/program_setup.h"
#include "app/setting_override.h"
#include "canvas/picture_saving.h"
#include "app/terminal_progress.h"
#include "canvas/png_writer.h"
#include "curves/curve_set_files.h"
#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "engine/shape_step.h"
#include "settings/atomic_file.h"
#include "settings/field_ranges.h"
#include "settings/number_text.h"
#include "settings/settings_file.h"

namespace quorl {
namespace {

bool KnownStyle(const std::string& style) {
  for (const char* keyword : kStyleKeywords) {
    if (style == keyword) return true;
  }
  return false;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

// A whole number within [low, high] from an option's value.
bool OptionNumber(const std::string& name, const std::string& text, long long low, long long high,
                  long long& value, std::string& error) {
  const std::optional<double> number = ParseFloat(text);
  if (!number || *number != std::floor(*number) || *number < static_cast<double>(low) ||
      *number > static_cast<double>(high) || text.find_first_of(",.eE") != std::string::npos) {
    error = name + " needs a whole number from " + std::to_string(low) + " to " + std::to_string(high) + ", not '" +
            text + "'";
    return false;
  }
  value = static_cast<long long>(*number);
  return true;
}

}  // namespace

bool ParseRenderArguments(const std::vector<std::string>& words, RenderOptions& options, std::string& error) {
  options = {};
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    const auto next = [&](std::string& value) {
      if (i + 1 >= words.size()) {
        error = word + " needs a value";
        return false;
      }
      value = words[++i];
      return true;
    };
    std::string value;
    long long number = 0;
    if (word == "-o" || word == "--output") {
      if (!next(options.outputPath)) return false;
    } else if (word == "--style") {
      if (!next(options.style)) return false;
    } else if (word == "--set") {
      std::string key;
      if (!next(value)) return false;
      if (!SplitKeyValue(value, key, value)) {
        error = "--set needs KEY=VALUE, not '" + words[i] + "'";
        return false;
      }
      options.overrides.emplace_back(key, value);
    } else if (word == "--threads") {
      if (!next(value) || !OptionNumber("--threads", value, 1, 1024, number, error)) return false;
      options.threads = static_cast<int>(number);
    } else if (word == "--seed") {
      if (!next(value) || !OptionNumber("--seed", value, 0, 9007199254740991LL, number, error)) return false;
      options.seed = static_cast<std::uint64_t>(number);
    } else if (word == "--bench") {
      options.bench = true;
    } else if (word == "--save") {
      if (!next(options.saveDir)) return false;
    } else if (word == "--transparent") {
      options.transparent = true;
    } else if (word == "--opacity") {
      if (!next(value) || !OptionNumber("--opacity", value, 1, 100, number, error)) return false;
      options.opacity = static_cast<int>(number);
    } else if (word == "--no-recipe") {
      options.noRecipe = true;
    } else if (word == "--source-image") {
      if (!next(options.sourceImage)) return false;
    } else if (word == "--background-image") {
      if (!next(options.backgroundImage)) return false;
    } else if (!word.empty() && word[0] == '-' && word != "-") {
      error = "unknown option '" + word + "'";
      return false;
    } else if (options.settingsPath.empty()) {
      options.settingsPath = word;
    } else {
      error = "more than one settings file given ('" + word + "')";
      return false;
    }
  }
  if (options.settingsPath.empty()) {
    error = "no settings file given";
    return false;
  }
  if (options.outputPath.empty() && options.saveDir.empty()) {
    error = "no output given (-o OUT.png and/or --save DIR)";
    return false;
  }
  if (!options.style.empty() && !KnownStyle(options.style)) {
    error = "unknown style '" + options.style +
            "' (sine, tan, line, circles, ellipses, lissajous, test or zarvk9032)";
    return false;
  }
  return true;
}

int RunRender(const RenderOptions& options, std::FILE* out, std::FILE* err, bool progressBar) {
  if (!options.outputPath.empty() && SameFile(options.settingsPath, options.outputPath)) {
    std::fprintf(err, "quorl: the output would overwrite the settings file '%s'\n", options.settingsPath.c_str());
    return 2;
  }
  if (!options.saveDir.empty() && !std::filesystem::is_directory(options.saveDir)) {
    std::fprintf(err, "quorl: the save folder '%s' does not exist\n", options.saveDir.c_str());
    return 1;
  }

  auto state = std::make_unique<ProgramState>();
  TerminalHost host(err, progressBar);
  SetupOptions setup;
  setup.settingsPath = options.settingsPath;
  setup.style = options.style;
  setup.overrides = options.overrides;
  setup.seed = options.seed;
  setup.sourceImage = options.sourceImage;
  setup.backgroundImage = options.backgroundImage;
  if (const int status = SetUpProgramState(setup, *state, host, err); status != 0) return status;
  ParameterSet& params = state->params;
  if (options.opacity >= 0) params.Opacity = options.opacity;

  // Where PercentToComplete ends the run, for the time left.
  host.SetExpectedLastStep(static_cast<long long>(std::ceil(params.Steps / 100.0 * params.PercentToComplete)) + 1);
  DrawingRun run(*state, host);
  run.SetThreads(options.threads);
  const auto start = std::chrono::steady_clock::now();
  run.DrawOrStop();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  host.ClearProgress();

  std::string error;
  if (!options.outputPath.empty()) {
    PngWriteOptions png;
    if (options.transparent) png.alpha = TransparencyAlpha(state->canvas.Bitmap(), params.White, params.Opacity);
    if (!WritePngFile(options.outputPath, state->canvas.Bitmap(), png, &error)) {
      std::fprintf(err, "quorl: cannot write '%s': %s\n", options.outputPath.c_str(), error.c_str());
      return 1;
    }
  }
  if (!options.saveDir.empty()) {
    params.SaveDir = options.saveDir;
    SaveOptions save;
    save.useTransparency = options.transparent;
    save.keepRecipe = params.KeepSettingsInPictures && !options.noRecipe;
    const SaveResult saved = buttonSaveImageClick(*state, host, save);
    if (!saved.ok) {
      std::fprintf(err, "quorl: cannot save into '%s': %s\n", options.saveDir.c_str(), saved.error.c_str());
      return 1;
    }
    std::fprintf(out, "%s\n", saved.pngPath.c_str());
  }
  if (options.bench) {
    const RunCounters& c = run.Counters();
    std::fprintf(out, "steps drawn: %d\npoints: %lld\nsub-samples: %lld\nseconds: %.3f\n", c.stepsDrawn, c.points,
                 c.subSamples, seconds);
    std::fprintf(out, "million sub-samples per second: %.2f\n",
                 seconds > 0 ? static_cast<double>(c.subSamples) / seconds / 1e6 : 0.0);
    std::fprintf(out, "threads: %d\n", run.Threads());
  }
  return 0;
}

}  // namespace quorl
