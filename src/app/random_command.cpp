#include "app/random_command.h"

#include <filesystem>
#include <memory>

#include "app/shared_options.h"
#include "app/sweep_command.h"
#include "canvas/png_writer.h"
#include "engine/drawing_run.h"
#include "services/picture_saving.h"
#include "services/random_picture.h"

namespace quorl {

int RunRandom(const RandomOptions& options, CommandIo& io) {
  std::FILE* const out = io.out;
  std::FILE* const err = io.err;
  if (!options.saveDir.empty() && !std::filesystem::is_directory(options.saveDir)) {
    std::fprintf(err, "quorl: the save folder '%s' does not exist\n", options.saveDir.c_str());
    return 1;
  }
  const RandomPicture picked = PickRandomRecipe(options.seed, options.width, options.height);
  if (!picked.accepted)
    std::fprintf(err, "quorl: no attempt of seed %llu showed enough; kept the last one\n",
                 static_cast<unsigned long long>(options.seed));
  std::fprintf(out, "seed %llu, attempt %d, style %s\n", static_cast<unsigned long long>(options.seed),
               picked.attempt, picked.recipe.params.CurrentStyle.c_str());

  auto state = std::make_unique<ProgramState>();
  std::string error;
  if (!PrepareState(picked.recipe, options.width, options.height, *state, &error)) {
    std::fprintf(err, "quorl: cannot make a %d x %d canvas: %s\n", options.width, options.height,
                 error.c_str());
    return 1;
  }
  Host quiet;
  DrawingRun run(*state, quiet);
  run.SetThreads(options.threads);
  run.SetStepsAhead(true);
  run.SetShowsPictureWhileDrawing(false);
  run.DrawOrStop();

  if (!options.outputPath.empty() && !WritePngFile(options.outputPath, state->canvas.Bitmap(), {}, &error)) {
    std::fprintf(err, "quorl: cannot write '%s': %s\n", options.outputPath.c_str(), error.c_str());
    return 1;
  }
  if (!options.saveDir.empty()) {
    state->layout.SaveDir = options.saveDir;
    SaveOptions save;
    save.fixedBaseName = "quorl_random_" + std::to_string(options.seed);
    const SaveResult saved = SavePictureFiles(*state, quiet, save);
    if (!saved.ok) {
      std::fprintf(err, "quorl: cannot save into '%s': %s\n", options.saveDir.c_str(), saved.error.c_str());
      return 1;
    }
    std::fprintf(out, "%s\n", saved.pngPath.c_str());
  }
  return 0;
}

namespace {

class RandomCommand : public Command {
 public:
  std::string Name() const override { return "random"; }
  std::string Summary() const override { return "a picture from a recipe made at random from a seed"; }
  std::string Usage() const override { return "--seed N [-o OUT] [--save DIR] [options]"; }
  std::string Description() const override {
    return "Makes a recipe at random within ranges taken from the gallery and draws it. The same seed gives "
           "the same picture on every machine. A picture that comes out almost empty or almost flat is made "
           "again from the sub-seed (seed, attempt), never from the next seed.";
  }
  void Register(OptionTable& table) override {
    table.Value("--seed", seed_, "N", "the seed (a whole number)", ValueKind::Number);
    table.Value("-o,--output", options_.outputPath, "OUT", "the picture to write (8-bit RGB PNG)",
                ValueKind::File);
    table.Value("--save", options_.saveDir, "DIR", "also save the picture with its recipe into DIR",
                ValueKind::Folder);
    table.Value("--size", size_, "WxH", "picture size (default 600x600)", ValueKind::Text);
    table.Value("--threads", threads_, "N", "threads to draw with (default: every CPU)", ValueKind::Number);
  }
  bool Check(std::string& error) override {
    long long number = 0;
    if (seed_.empty()) {
      error = "no seed given (--seed N)";
      return false;
    }
    if (!WholeNumberOption("--seed", seed_, 0, 9007199254740991LL, number, error)) return false;
    options_.seed = static_cast<std::uint64_t>(number);
    if (!size_.empty() && !ParseTileSize("--size", size_, options_.width, options_.height, error))
      return false;
    if (!threads_.empty()) {
      if (!WholeNumberOption("--threads", threads_, 1, 1024, number, error)) return false;
      options_.threads = static_cast<int>(number);
    }
    if (options_.outputPath.empty() && options_.saveDir.empty()) {
      error = "no output given (-o OUT.png and/or --save DIR)";
      return false;
    }
    return true;
  }
  int Run(CommandIo& io) override { return RunRandom(options_, io); }

 private:
  RandomOptions options_;
  std::string seed_, size_, threads_;
};

}  // namespace

std::unique_ptr<Command> MakeRandomCommand() {
  return std::make_unique<RandomCommand>();
}

}  // namespace quorl
