#include "app/sweep_command.h"

#include <filesystem>
#include <memory>

#include "app/program_setup.h"
#include "app/terminal_progress.h"
#include "canvas/png_writer.h"
#include "services/picture_saving.h"
#include "services/recipe_drawing.h"

namespace quorl {
namespace {

// "StartBumps=4" -> "StartBumps_4": safe in a file name.
std::string FileNamePart(const std::string& label) {
  std::string part;
  for (char c : label) {
    const bool plain =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
    part += plain ? c : '_';
  }
  return part;
}

// Saves each tile as a picture set whose settings draw it at the recipe's
// own full size.
bool SaveTiles(const std::vector<SweepTile>& tiles, const std::vector<Picture24>& pictures,
               const SweepOptions& options, std::FILE* out, std::FILE* err) {
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    auto state = std::make_unique<ProgramState>();
    std::string error;
    if (!PrepareState(tiles[i].recipe, options.tileWidth, options.tileHeight, *state, &error)) {
      std::fprintf(err, "quorl: cannot make a tile's canvas: %s\n", error.c_str());
      return false;
    }
    state->canvas.Bitmap() = pictures[i];
    state->params.ImageWidth = tiles[i].recipe.params.ImageWidth;
    state->params.ImageHeight = tiles[i].recipe.params.ImageHeight;
    state->params.SaveDir = options.saveDir;
    SaveOptions save = options.Save(state->params);
    save.fixedBaseName = "sweep";
    for (const std::string& label : tiles[i].labels) save.fixedBaseName += "_" + FileNamePart(label);
    Host quiet;
    const SaveResult saved = SavePictureFiles(*state, quiet, save);
    if (!saved.ok) {
      std::fprintf(err, "quorl: cannot save into '%s': %s\n", options.saveDir.c_str(), saved.error.c_str());
      return false;
    }
    std::fprintf(out, "%s\n", saved.pngPath.c_str());
  }
  return true;
}

}  // namespace

bool ParseTileSize(const std::string& name, const std::string& text, int& width, int& height,
                   std::string& error) {
  const std::size_t x = text.find_first_of("xX");
  long long w = 0, h = 0;
  if (x == std::string::npos || !WholeNumberOption(name, text.substr(0, x), 8, 2000, w, error) ||
      !WholeNumberOption(name, text.substr(x + 1), 8, 2000, h, error)) {
    error = name + " needs WxH with sides from 8 to 2000, not '" + text + "'";
    return false;
  }
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

bool ParseSweepArguments(const std::vector<std::string>& words, SweepOptions& options, std::string& error) {
  options = {};
  for (ArgumentReader reader(words); !reader.Done(); reader.Advance()) {
    const OptionRead read = ReadSharedOption(reader, options, error);
    if (read == OptionRead::Bad) return false;
    if (read == OptionRead::Taken) continue;
    const std::string& word = reader.Word();
    std::string value;
    if (word == "-o" || word == "--output") {
      if (!reader.Value(options.outputPath, error)) return false;
    } else if (word == "--vary") {
      SweepAxis axis;
      if (!reader.Value(value, error) || !ParseSweepAxis(value, axis, error)) return false;
      options.axes.push_back(axis);
    } else if (word == "--tile") {
      if (!reader.Value(value, error) ||
          !ParseTileSize("--tile", value, options.tileWidth, options.tileHeight, error))
        return false;
    } else {
      error = "unknown option '" + word + "'";
      return false;
    }
  }
  if (options.settingsPath.empty()) {
    error = "no settings file given";
    return false;
  }
  if (options.axes.empty() || options.axes.size() > 2) {
    error = "give one or two --vary KEY=FROM:TO[:COUNT]";
    return false;
  }
  if (options.axes.size() == 2 && options.axes[0].key == options.axes[1].key) {
    error = "the two --vary name the same key";
    return false;
  }
  if (options.outputPath.empty()) {
    error = "no output given (-o SHEET.png)";
    return false;
  }
  return true;
}

int RunSweep(const SweepOptions& options, std::FILE* out, std::FILE* err) {
  if (!options.saveDir.empty() && !std::filesystem::is_directory(options.saveDir)) {
    std::fprintf(err, "quorl: the save folder '%s' does not exist\n", options.saveDir.c_str());
    return 1;
  }
  DrawableRecipe base;
  {
    auto state = std::make_unique<ProgramState>();
    TerminalHost host(err, false);
    if (const int status = SetUpProgramState(options.Setup(), *state, host, err); status != 0) return status;
    base = CaptureRecipe(*state, options.seed);
  }
  const std::vector<SweepTile> tiles = MakeSweepTiles(base, options.axes);
  std::vector<DrawableRecipe> recipes;
  for (const SweepTile& tile : tiles) recipes.push_back(tile.recipe);
  const std::vector<Picture24> pictures =
      DrawRecipes(recipes, options.tileWidth, options.tileHeight, options.threads);

  const Picture24 sheet =
      ComposeSheet(tiles, pictures, LayoutFor(tiles, options.tileWidth, options.tileHeight));
  std::string error;
  if (!WritePngFile(options.outputPath, sheet, {}, &error)) {
    std::fprintf(err, "quorl: cannot write '%s': %s\n", options.outputPath.c_str(), error.c_str());
    return 1;
  }
  if (!options.saveDir.empty() && !SaveTiles(tiles, pictures, options, out, err)) return 1;
  return 0;
}

}  // namespace quorl
