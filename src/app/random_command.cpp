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

bool ParseRandomArguments(const std::vector<std::string>& words, RandomOptions& options, std::string& error) {
  options = {};
  for (ArgumentReader reader(words); !reader.Done(); reader.Advance()) {
    const std::string& word = reader.Word();
    std::string value;
    long long number = 0;
    if (word == "--seed") {
      if (!reader.Value(value, error) ||
          !WholeNumberOption("--seed", value, 0, 9007199254740991LL, number, error))
        return false;
      options.seed = static_cast<std::uint64_t>(number);
      options.seedGiven = true;
    } else if (word == "-o" || word == "--output") {
      if (!reader.Value(options.outputPath, error)) return false;
    } else if (word == "--save") {
      if (!reader.Value(options.saveDir, error)) return false;
    } else if (word == "--size") {
      if (!reader.Value(value, error) ||
          !ParseTileSize("--size", value, options.width, options.height, error))
        return false;
    } else if (word == "--threads") {
      if (!reader.Value(value, error) || !WholeNumberOption("--threads", value, 1, 1024, number, error))
        return false;
      options.threads = static_cast<int>(number);
    } else {
      error = "unknown option '" + word + "'";
      return false;
    }
  }
  if (!options.seedGiven) {
    error = "no seed given (--seed N)";
    return false;
  }
  if (options.outputPath.empty() && options.saveDir.empty()) {
    error = "no output given (-o OUT.png and/or --save DIR)";
    return false;
  }
  return true;
}

int RunRandom(const RandomOptions& options, std::FILE* out, std::FILE* err) {
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
  run.DrawOrStop();

  if (!options.outputPath.empty() && !WritePngFile(options.outputPath, state->canvas.Bitmap(), {}, &error)) {
    std::fprintf(err, "quorl: cannot write '%s': %s\n", options.outputPath.c_str(), error.c_str());
    return 1;
  }
  if (!options.saveDir.empty()) {
    state->params.SaveDir = options.saveDir;
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

}  // namespace quorl
