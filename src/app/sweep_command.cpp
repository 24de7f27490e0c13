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
    state->layout.SaveDir = options.saveDir;
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

int RunSweep(const SweepOptions& options, CommandIo& io) {
  std::FILE* const out = io.out;
  std::FILE* const err = io.err;
  if (!options.saveDir.empty() && !std::filesystem::is_directory(options.saveDir)) {
    std::fprintf(err, "quorl: the save folder '%s' does not exist\n", options.saveDir.c_str());
    return 1;
  }
  DrawableRecipe base;
  {
    auto state = std::make_unique<ProgramState>();
    TerminalHost host(err, ProgressStyle::None);
    if (const int status = SetUpProgramState(options.Setup(), *state, host, err); status != 0) return status;
    base = CaptureRecipe(*state, options.seed);
  }
  const std::vector<SweepTile> tiles = MakeSweepTiles(base, options.axes);
  const SheetLayout layout = LayoutFor(tiles, options.tileWidth, options.tileHeight);
  if (!SheetFits(layout)) {
    std::fprintf(err, "quorl: a sheet of %d x %d pixels is too large; use fewer values or smaller tiles\n",
                 layout.SheetWidth(), layout.SheetHeight());
    return 2;
  }
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

namespace {

class SweepCommand : public Command {
 public:
  std::string Name() const override { return "sweep"; }
  std::string Summary() const override { return "a contact sheet: one recipe drawn for a row of values"; }
  std::string Usage() const override { return "SETTINGS --vary KEY=FROM:TO[:COUNT] -o SHEET [options]"; }
  std::string Description() const override {
    return "Draws the recipe once for each of COUNT values of KEY (default 5) from FROM to TO, and lays the "
           "tiles out on one sheet with the value in force under each. A second --vary makes a grid. A "
           "value outside the range of the key's field is clamped, and the label shows the clamped value. "
           "Tiles are drawn in parallel; each is the picture render draws with --set KEY=VALUE at the "
           "tile's size.";
  }
  void Register(OptionTable& table) override {
    table.Positional("SETTINGS", options_.settingsPath, "a settings file or a picture saved by Quorl");
    table.Values("--vary", vary_, "KEY=FROM:TO[:COUNT]", "a settings key and its values (once or twice)");
    table.Value("-o,--output", options_.outputPath, "SHEET", "the contact sheet to write (PNG)",
                ValueKind::File);
    table.Value("--tile", tile_, "WxH", "size of each tile (default 200x200)", ValueKind::Text);
    RegisterSharedOptions(table, options_, text_);
  }
  bool Check(std::string& error) override {
    if (!CheckSharedOptions(options_, text_, error)) return false;
    if (vary_.empty() || vary_.size() > 2) {
      error = "give one or two --vary KEY=FROM:TO[:COUNT]";
      return false;
    }
    for (const std::string& text : vary_) {
      SweepAxis axis;
      if (!ParseSweepAxis(text, axis, error)) return false;
      options_.axes.push_back(axis);
    }
    if (options_.axes.size() == 2 && options_.axes[0].key == options_.axes[1].key) {
      error = "the two --vary name the same key";
      return false;
    }
    if (!tile_.empty() && !ParseTileSize("--tile", tile_, options_.tileWidth, options_.tileHeight, error))
      return false;
    if (options_.settingsPath.empty()) {
      error = "no settings file given";
      return false;
    }
    if (options_.outputPath.empty()) {
      error = "no output given (-o SHEET.png)";
      return false;
    }
    return true;
  }
  int Run(CommandIo& io) override { return RunSweep(options_, io); }

 private:
  SweepOptions options_;
  SharedOptionText text_;
  std::vector<std::string> vary_;
  std::string tile_;
};

}  // namespace

std::unique_ptr<Command> MakeSweepCommand() {
  return std::make_unique<SweepCommand>();
}

}  // namespace quorl
