#include "app/render_command.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <memory>

#include "app/program_setup.h"
#include "app/terminal_progress.h"
#include "canvas/png_writer.h"
#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "engine/shape_step.h"
#include "services/picture_saving.h"

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

}  // namespace

bool ParseRenderArguments(const std::vector<std::string>& words, RenderOptions& options, std::string& error) {
  options = {};
  for (ArgumentReader reader(words); !reader.Done(); reader.Advance()) {
    const OptionRead read = ReadSharedOption(reader, options, error);
    if (read == OptionRead::Bad) return false;
    if (read == OptionRead::Taken) continue;
    const std::string& word = reader.Word();
    std::string value;
    long long number = 0;
    if (word == "-o" || word == "--output") {
      if (!reader.Value(options.outputPath, error)) return false;
    } else if (word == "--bench") {
      options.bench = true;
    } else if (word == "--opacity") {
      if (!reader.Value(value, error) || !WholeNumberOption("--opacity", value, 1, 100, number, error))
        return false;
      options.opacity = static_cast<int>(number);
    } else {
      error = "unknown option '" + word + "'";
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
    std::fprintf(err, "quorl: the output would overwrite the settings file '%s'\n",
                 options.settingsPath.c_str());
    return 2;
  }
  if (!options.saveDir.empty() && !std::filesystem::is_directory(options.saveDir)) {
    std::fprintf(err, "quorl: the save folder '%s' does not exist\n", options.saveDir.c_str());
    return 1;
  }

  auto state = std::make_unique<ProgramState>();
  TerminalHost host(err, progressBar);
  if (const int status = SetUpProgramState(options.Setup(), *state, host, err); status != 0) return status;
  ParameterSet& params = state->params;
  if (options.opacity >= 0) params.Opacity = options.opacity;

  // Where PercentToComplete ends the run, for the time left.
  host.SetExpectedLastStep(
      static_cast<long long>(std::ceil(params.Steps / 100.0 * params.PercentToComplete)) + 1);
  DrawingRun run(*state, host);
  run.SetThreads(options.threads);
  const auto start = std::chrono::steady_clock::now();
  run.DrawOrStop();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  host.ClearProgress();

  std::string error;
  if (!options.outputPath.empty()) {
    PngWriteOptions png;
    if (options.transparent)
      png.alpha = TransparencyAlpha(state->canvas.Bitmap(), params.White, params.Opacity);
    if (!WritePngFile(options.outputPath, state->canvas.Bitmap(), png, &error)) {
      std::fprintf(err, "quorl: cannot write '%s': %s\n", options.outputPath.c_str(), error.c_str());
      return 1;
    }
  }
  if (!options.saveDir.empty()) {
    state->layout.SaveDir = options.saveDir;
    const SaveResult saved = SavePictureFiles(*state, host, options.Save(params));
    if (!saved.ok) {
      std::fprintf(err, "quorl: cannot save into '%s': %s\n", options.saveDir.c_str(), saved.error.c_str());
      return 1;
    }
    std::fprintf(out, "%s\n", saved.pngPath.c_str());
  }
  if (options.bench) {
    const RunCounters& c = run.Counters();
    std::fprintf(out, "steps drawn: %d\npoints: %lld\nsub-samples: %lld\nseconds: %.3f\n", c.stepsDrawn,
                 c.points, c.subSamples, seconds);
    std::fprintf(out, "million sub-samples per second: %.2f\n",
                 seconds > 0 ? static_cast<double>(c.subSamples) / seconds / 1e6 : 0.0);
    std::fprintf(out, "threads: %d\n", run.Threads());
  }
  return 0;
}

}  // namespace quorl
