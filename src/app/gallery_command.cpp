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
                std::FILE* out, std::FILE* err) {
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
  std::FILE* quiet = std::tmpfile();
  int status = RunAnimate(animate, quiet ? quiet : out, err, false);
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
    if (!DecodePictureFile(entries[i].path, PictureType::Png, picture, error)) {
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
  std::string error;
  if (!WritePngFile(options.sheetPath, ComposeSheet(tiles, pictures, layout), {}, &error)) {
    std::fprintf(err, "quorl: cannot write '%s': %s\n", options.sheetPath.c_str(), error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

bool ParseGalleryArguments(const std::vector<std::string>& words, GalleryOptions& options,
                           std::string& error) {
  options = {};
  for (ArgumentReader reader(words); !reader.Done(); reader.Advance()) {
    const std::string& word = reader.Word();
    std::string value;
    long long number = 0;
    if (word == "-o" || word == "--output") {
      if (!reader.Value(options.outputPath, error)) return false;
    } else if (word == "--sheet") {
      if (!reader.Value(options.sheetPath, error)) return false;
    } else if (word == "--tile") {
      if (!reader.Value(value, error) ||
          !ParseTileSize("--tile", value, options.tileWidth, options.tileHeight, error))
        return false;
    } else if (word == "--columns") {
      if (!reader.Value(value, error) || !WholeNumberOption("--columns", value, 1, 100, number, error))
        return false;
      options.columns = static_cast<int>(number);
    } else if (word == "--folder") {
      if (!reader.Value(options.folder, error)) return false;
    } else if (word == "--threads") {
      if (!reader.Value(value, error) || !WholeNumberOption("--threads", value, 1, 1024, number, error))
        return false;
      options.threads = static_cast<int>(number);
    } else if (!word.empty() && word[0] == '-') {
      error = "unknown option '" + word + "'";
      return false;
    } else if (options.name.empty()) {
      options.name = word;
    } else {
      error = "more than one gallery picture named ('" + word + "')";
      return false;
    }
  }
  if (!options.name.empty() && options.outputPath.empty()) {
    error = "no output given (-o OUT.png)";
    return false;
  }
  if (!options.name.empty() && !options.sheetPath.empty()) {
    error = "--sheet shows the whole gallery; name no picture";
    return false;
  }
  if (options.name.empty() && !options.outputPath.empty()) {
    error = "name the gallery picture to draw";
    return false;
  }
  return true;
}

int RunGallery(const GalleryOptions& options, std::FILE* out, std::FILE* err) {
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
  if (entry->frame > 0) return RenderFrame(*entry, pictures, options, out, err);
  RenderOptions render;
  render.settingsPath = entry->path;
  render.sourceImage = pictures.source;
  render.backgroundImage = pictures.background;
  render.outputPath = options.outputPath;
  render.threads = options.threads;
  return RunRender(render, out, err, false);
}

}  // namespace quorl
