#include "app/gallery_command.h"

#include <stdlib.h>

#include <filesystem>

#include "app/animate_command.h"
#include "app/render_command.h"
#include "app/shared_options.h"
#include "app/sweep_command.h"
#include "base/atomic_file.h"
#include "canvas/picture_files.h"
#include "canvas/png_writer.h"
#include "services/gallery.h"
#include "services/picture_scaling.h"
#include "services/sweep.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

// Frame K of an animation entry: the series is made for that frame alone in
// a temporary folder, and its picture moved to the output.
int RenderFrame(const GalleryEntry& entry, const GalleryPictures& pictures, const GalleryOptions& options,
                CommandIo& io) {
  std::FILE* const err = io.err;
  std::string folder = (fs::temp_directory_path() / "quorl-gallery-XXXXXX").string();
  if (!::mkdtemp(folder.data())) {
    std::fprintf(err, "quorl: cannot make a temporary folder\n");
    return 1;
  }
  AnimateOptions animate;
  animate.settingsPath = entry.path;
  animate.sourceImage = pictures.source;
  animate.backgroundImage = pictures.background;
  animate.saveDir = folder;
  animate.firstFrame = entry.frame;
  animate.lastFrame = entry.frame;
  animate.frameNames = true;
  animate.noRecipe = true;
  animate.threads = options.threads;
  animate.quiet = true;
  // The frame's path is not news: the picture goes to the output.
  std::FILE* quiet = std::tmpfile();
  CommandIo frameIo{quiet ? quiet : io.out, io.err, false};
  int status = RunAnimate(animate, frameIo);
  if (quiet) std::fclose(quiet);
  std::string bytes, error;
  if (status == 0) {
    const std::string frame = folder + "/" + FrameBaseName(entry.frame) + ".png";
    if (!ReadWholeFile(frame, bytes, &error) || !WriteFileAtomically(options.outputPath, bytes, &error)) {
      std::fprintf(err, "quorl: cannot write '%s': %s\n", options.outputPath.c_str(), error.c_str());
      status = 1;
    }
  }
  std::error_code ec;
  fs::remove_all(folder, ec);
  return status;
}

// The gallery's pictures made small, with their titles under them.
int WriteSheet(const std::vector<GalleryEntry>& entries, const GalleryOptions& options, std::FILE* err) {
  std::vector<SweepTile> tiles;
  std::vector<Picture24> pictures;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Picture24 picture;
    std::string error;
    if (!DecodePictureFile(entries[i].path, picture, error)) {
      std::fprintf(err, "quorl: cannot read '%s': %s\n", entries[i].path.c_str(), error.c_str());
      return 1;
    }
    pictures.push_back(ShrinkToFit(picture, options.tileWidth, options.tileHeight));
    SweepTile tile;
    tile.column = static_cast<int>(i) % options.columns;
    tile.row = static_cast<int>(i) / options.columns;
    tile.labels = {entries[i].title};
    tiles.push_back(std::move(tile));
  }
  SheetLayout layout = LayoutFor(tiles, options.tileWidth, options.tileHeight);
  layout.textScale = 1;  // titles are long; one size for all
  if (!SheetFits(layout)) {
    std::fprintf(err, "quorl: a sheet of %d x %d pixels is too large; use smaller tiles\n",
                 layout.SheetWidth(), layout.SheetHeight());
    return 2;
  }
  std::string error;
  if (!WritePngFile(options.sheetPath, ComposeSheet(tiles, pictures, layout), {}, &error)) {
    std::fprintf(err, "quorl: cannot write '%s': %s\n", options.sheetPath.c_str(), error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int RunGallery(const GalleryOptions& options, CommandIo& io) {
  std::FILE* const out = io.out;
  std::FILE* const err = io.err;
  const std::string folder = options.folder.empty() ? FindGalleryFolder() : options.folder;
  if (folder.empty() || !fs::is_directory(folder)) {
    std::fprintf(err, "quorl: no gallery folder found%s%s\n", options.folder.empty() ? "" : " at ",
                 options.folder.c_str());
    return 1;
  }
  const std::vector<GalleryEntry> entries = ListGallery(folder);
  if (!options.sheetPath.empty()) return WriteSheet(entries, options, err);
  if (options.name.empty()) {
    std::fprintf(out, "%s\n", folder.c_str());
    for (const GalleryEntry& entry : entries)
      std::fprintf(out, "  %-28s %s\n", entry.name.c_str(), entry.title.c_str());
    return 0;
  }
  const GalleryEntry* entry = FindGalleryEntry(entries, options.name);
  if (!entry) {
    std::fprintf(err, "quorl: the gallery has no picture '%s' (see `quorl gallery`)\n", options.name.c_str());
    return 1;
  }
  GalleryPictures pictures;
  std::string error;
  if (!GalleryPicturesOf(folder, *entry, pictures, error)) {
    std::fprintf(err, "quorl: cannot draw '%s': %s\n", entry->name.c_str(), error.c_str());
    return 1;
  }
  if (entry->frame > 0) return RenderFrame(*entry, pictures, options, io);
  RenderOptions render;
  render.settingsPath = entry->path;
  render.sourceImage = pictures.source;
  render.backgroundImage = pictures.background;
  render.outputPath = options.outputPath;
  render.threads = options.threads;
  render.quiet = true;
  return RunRender(render, io);
}

namespace {

class GalleryCommand : public Command {
 public:
  std::string Name() const override { return "gallery"; }
  std::string Summary() const override { return "list the gallery, or draw one of its pictures again"; }
  std::string Usage() const override { return "[NAME -o OUT | --sheet OUT] [options]"; }
  std::string Description() const override {
    return "Without NAME, lists the pictures of the gallery that comes with Quorl. With NAME (as listed, "
           "or without its number), draws that picture again from the recipe it carries, with the source "
           "and background pictures it uses. --sheet lays every picture out small on one sheet.";
  }
  void Register(OptionTable& table) override {
    table.Positional("NAME", options_.name, "the gallery picture to draw", ValueKind::Text);
    table.Value("-o,--output", options_.outputPath, "OUT", "the picture to write (8-bit RGB PNG)",
                ValueKind::File);
    table.Value("--sheet", options_.sheetPath, "OUT", "every gallery picture small on one sheet",
                ValueKind::File);
    table.Value("--tile", tile_, "WxH", "thumbnail size on the sheet (default 120x120)", ValueKind::Text);
    table.Value("--columns", columns_, "N", "thumbnails in a row of the sheet (default 8)",
                ValueKind::Number);
    table.Value("--folder", options_.folder, "DIR", "another gallery folder", ValueKind::Folder);
    table.Value("--threads", threads_, "N", "threads to draw with (default: every CPU)", ValueKind::Number);
  }
  bool Check(std::string& error) override {
    long long number = 0;
    if (!tile_.empty() && !ParseTileSize("--tile", tile_, options_.tileWidth, options_.tileHeight, error))
      return false;
    if (!columns_.empty()) {
      if (!WholeNumberOption("--columns", columns_, 1, 100, number, error)) return false;
      options_.columns = static_cast<int>(number);
    }
    if (!threads_.empty()) {
      if (!WholeNumberOption("--threads", threads_, 1, 1024, number, error)) return false;
      options_.threads = static_cast<int>(number);
    }
    if (!options_.name.empty() && !options_.sheetPath.empty()) {
      error = "--sheet shows the whole gallery; name no picture";
      return false;
    }
    if (!options_.name.empty() && options_.outputPath.empty()) {
      error = "no output given (-o OUT.png)";
      return false;
    }
    if (options_.name.empty() && !options_.outputPath.empty()) {
      error = "name the gallery picture to draw";
      return false;
    }
    return true;
  }
  int Run(CommandIo& io) override { return RunGallery(options_, io); }

 private:
  GalleryOptions options_;
  std::string tile_, columns_, threads_;
};

}  // namespace

std::unique_ptr<Command> MakeGalleryCommand() {
  return std::make_unique<GalleryCommand>();
}

}  // namespace quorl
