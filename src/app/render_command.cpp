#include "app/render_command.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <memory>

#include "app/bench_report.h"
#include "app/picture_output.h"
#include "app/program_setup.h"
#include "app/stepped_render.h"
#include "app/terminal_progress.h"
#include "base/atomic_file.h"
#include "canvas/jpeg_writer.h"
#include "canvas/png_writer.h"
#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "engine/shape_step.h"
#include "services/picture_recipe.h"
#include "services/picture_saving.h"

namespace quorl {
namespace {

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

int RunRender(const RenderOptions& options, CommandIo& io) {
  std::FILE* const err = io.err;
  // With the picture on standard output, every other word goes to stderr.
  std::FILE* const out = options.outputPath == "-" ? io.err : io.out;
  if (!options.outputPath.empty() && options.outputPath != "-" && options.settingsPath != "-" &&
      SameFile(options.settingsPath, options.outputPath)) {
    std::fprintf(err, "quorl: the output would overwrite the settings file '%s'\n",
                 options.settingsPath.c_str());
    return 2;
  }
  if (!options.saveDir.empty() && !std::filesystem::is_directory(options.saveDir)) {
    std::fprintf(err, "quorl: the save folder '%s' does not exist\n", options.saveDir.c_str());
    return 1;
  }

  auto state = std::make_unique<ProgramState>();
  TerminalHost host(err, options.Progress(io.errIsTerminal));
  SteppedRender stepped;
  stepped.untilStep = options.untilStep;
  stepped.stateOut = options.stateOut;
  stepped.resume = options.continueRun;
  const int setup = options.continueRun ? LoadRenderState(options.settingsPath, *state, stepped.position, err)
                                        : SetUpProgramState(options.Setup(), *state, host, err);
  if (setup != 0) return setup;
  ParameterSet& params = state->params;
  if (options.opacity >= 0) params.Opacity = options.opacity;

  // Where PercentToComplete ends the run, for the time left.
  host.SetExpectedLastStep(
      static_cast<long long>(std::ceil(params.Steps / 100.0 * params.PercentToComplete)) + 1);
  DrawingRun run(*state, host);
  run.SetThreads(options.threads);
  // Nothing edits the settings during a command-line run, and nobody sees
  // the picture before it ends.
  run.SetStepsAhead(true);
  run.SetShowsPictureWhileDrawing(false);
  const auto start = std::chrono::steady_clock::now();
  const int drawn = DrawSteppedRender(run, *state, stepped, err);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  host.ClearProgress();

  // A picture drawn with transparency comes back with it.
  const bool transparent = options.transparent || params.SavedWithTransparency;
  if (!options.outputPath.empty()) {
    std::string bytes, error;
    bool encoded = false;
    if (OutputFormatOf(options.outputPath) == OutputFormat::Jpeg) {
      // A JPEG has no room for the recipe: it is a picture to show, not to redraw.
      JpegWriteOptions jpeg;
      jpeg.quality = options.quality;
      jpeg.dpi = options.dpi;
      encoded = EncodeJpeg(state->canvas.Bitmap(), jpeg, bytes, &error);
    } else {
      // The picture carries its recipe, as a saved one does.
      PictureOutput output{transparent, params.KeepSettingsInPictures && !options.noRecipe};
      DeepPicture deep;
      const int depth = options.depth != 0 ? options.depth : params.SavedBitDepth == 16 ? 16 : 8;
      if (depth == 16) {
        deep = state->canvas.RenderDeep(params);
        output.deep = &deep;
      }
      output.dpi = options.dpi;
      PreparedPicture picture = PreparePicture(*state, output);
      error = picture.error;
      encoded = error.empty();
      bytes = std::move(picture.pngBytes);
    }
    if (!encoded || !WriteOutput(options.outputPath, bytes, io.out, error)) {
      std::fprintf(err, "quorl: cannot write '%s': %s\n", options.outputPath.c_str(), error.c_str());
      return 1;
    }
  }
  if (!options.saveDir.empty()) {
    state->layout.SaveDir = options.saveDir;
    SaveOptions save = options.Save(params);
    save.useTransparency = transparent;
    const SaveResult saved = SavePictureFiles(*state, host, save);
    if (!saved.ok) {
      std::fprintf(err, "quorl: cannot save into '%s': %s\n", options.saveDir.c_str(), saved.error.c_str());
      return 1;
    }
    std::fprintf(out, "%s\n", saved.pngPath.c_str());
  }
  if (drawn != 0) return drawn;
  if (options.bench) {
    BenchFigures figures;
    const RunCounters& c = run.Counters();
    figures.steps = c.stepsDrawn;
    figures.points = c.points;
    figures.subSamples = c.subSamples;
    figures.seconds = seconds;
    figures.threads = run.Threads();
    figures.cappedSteps = c.cappedSteps;
    std::fputs((options.json ? BenchJson(figures) : BenchText(figures)).c_str(), out);
  }
  return 0;
}

namespace {

class RenderCommand : public Command {
 public:
  std::string Name() const override { return "render"; }
  std::string Summary() const override { return "draw a settings file or a saved picture into a picture"; }
  std::string Usage() const override { return "SETTINGS -o OUT [options]"; }
  std::string Description() const override {
    return "Draws the picture the window draws after opening SETTINGS with \"Open .ini file\" (the curve "
           "files saved beside it included) and pressing Draw once. SETTINGS is only read. A picture "
           "saved by Quorl can stand in for SETTINGS: its settings and curves are read from inside it.";
  }
  void Register(OptionTable& table) override {
    table.Positional("SETTINGS", options_.settingsPath, "a settings file or a picture saved by Quorl");
    table.Value("-o,--output", options_.outputPath, "OUT",
                "the picture to write: .png (carrying its recipe), .jpg or .jpeg (no recipe), or - for "
                "standard output",
                ValueKind::File);
    table.Value("--depth", depth_, "BITS",
                "8 or 16 bits a channel in a PNG (default: as the recipe says, else 8)", ValueKind::Choice,
                {"8", "16"});
    table.Value("--quality", quality_, "N", "quality of a JPEG, 1 to 100 (default 90)", ValueKind::Number);
    table.Value("--dpi", dpi_, "N", "dots per inch kept in the picture, so it prints at its intended size",
                ValueKind::Number);
    RegisterSharedOptions(table, options_, text_);
    table.Value("--opacity", opacity_, "N", "Opacity for the alpha channel, 1 to 100", ValueKind::Number);
    table.Flag("--bench", options_.bench, "print steps, points, sub-samples and the time taken");
    table.Flag("--json", options_.json, "with --bench: one JSON object, with the machine's CPUs");
    table.Value("--until-step", untilStep_, "K", "stop after step K (steps count from 0)", ValueKind::Number);
    table.Value("--state-out", options_.stateOut, "STATE",
                "keep the run's state in STATE when it stops or ends, to go on with --continue",
                ValueKind::File);
    table.Flag("--continue", options_.continueRun,
               "SETTINGS is a state file: go on from the step where it stopped");
  }
  bool Check(std::string& error) override {
    if (!CheckSharedOptions(options_, text_, error)) return false;
    if (!opacity_.empty()) {
      long long number = 0;
      if (!WholeNumberOption("--opacity", opacity_, 1, 100, number, error)) return false;
      options_.opacity = static_cast<int>(number);
    }
    long long number = 0;
    if (!depth_.empty()) {
      if (depth_ != "8" && depth_ != "16") {
        error = "--depth takes 8 or 16, not '" + depth_ + "'";
        return false;
      }
      options_.depth = depth_ == "16" ? 16 : 8;
    }
    if (!quality_.empty()) {
      if (!WholeNumberOption("--quality", quality_, 1, 100, number, error)) return false;
      options_.quality = static_cast<int>(number);
    }
    if (!dpi_.empty()) {
      if (!WholeNumberOption("--dpi", dpi_, 1, 65535, number, error)) return false;
      options_.dpi = static_cast<int>(number);
    }
    if (options_.json && !options_.bench) {
      error = "--json goes with --bench";
      return false;
    }
    if (!options_.outputPath.empty()) {
      const OutputFormat format = OutputFormatOf(options_.outputPath);
      if (format == OutputFormat::Unknown) {
        error = "cannot write '" + options_.outputPath + "': the picture formats are .png, .jpg and .jpeg";
        return false;
      }
      if (format == OutputFormat::Jpeg && (options_.depth == 16 || options_.transparent)) {
        error = options_.depth == 16 ? "a JPEG has 8 bits a channel; --depth 16 needs a .png"
                                     : "a JPEG has no alpha channel; --transparent needs a .png";
        return false;
      }
      if (format == OutputFormat::Png && !quality_.empty()) {
        error = "--quality is for JPEG pictures (.jpg, .jpeg)";
        return false;
      }
    }
    if (!untilStep_.empty()) {
      if (!WholeNumberOption("--until-step", untilStep_, 0, 2147483647, number, error)) return false;
      options_.untilStep = number;
    }
    if (options_.outputPath.empty() && options_.saveDir.empty() && options_.stateOut.empty()) {
      error = "no output given (-o OUT.png, --save DIR and/or --state-out STATE)";
      return false;
    }
    if (options_.continueRun && (!options_.style.empty() || !options_.overrides.empty() ||
                                 !options_.sourceImage.empty() || !options_.backgroundImage.empty())) {
      error =
          "a state file carries its own recipe and pictures: --continue takes no --style, --set, "
          "--source-image or --background-image";
      return false;
    }
    return true;
  }
  int Run(CommandIo& io) override { return RunRender(options_, io); }

 private:
  RenderOptions options_;
  SharedOptionText text_;
  std::string opacity_, depth_, quality_, dpi_;
  std::string untilStep_;
};

}  // namespace

std::unique_ptr<Command> MakeRenderCommand() {
  return std::make_unique<RenderCommand>();
}

}  // namespace quorl
