#include "services/gallery.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "base/atomic_file.h"
#include "canvas/png_recipe.h"
#include "settings/parameter_set.h"
#include "settings/settings_file.h"

#ifndef QUORL_SOURCE_GALLERY
#define QUORL_SOURCE_GALLERY ""
#endif

namespace quorl {
namespace {

namespace fs = std::filesystem;

bool IsFolder(const fs::path& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

// "07-circles-bloom-frame3" -> frame 3; 0 without the suffix.
int FrameOf(const std::string& name) {
  const std::size_t at = name.rfind("-frame");
  if (at == std::string::npos || at + 6 >= name.size()) return 0;
  int frame = 0;
  for (std::size_t i = at + 6; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9' || frame > 100000) return 0;
    frame = frame * 10 + (name[i] - '0');
  }
  return frame;
}

std::string WithoutNumber(const std::string& name) {
  std::size_t i = 0;
  while (i < name.size() && name[i] >= '0' && name[i] <= '9') ++i;
  if (i > 0 && i < name.size() && name[i] == '-') return name.substr(i + 1);
  return name;
}

std::string TitleOf(const std::string& name) {
  std::string title = WithoutNumber(name);
  const std::size_t frame = title.rfind("-frame");
  if (frame != std::string::npos && FrameOf(name) > 0) title = title.substr(0, frame) + " (animation)";
  std::replace(title.begin(), title.end(), '-', ' ');
  return title;
}

// The gallery's copy of a picture a recipe names.
bool Resolve(const std::string& folder, const std::string& named, std::string& found, std::string& error) {
  if (named.empty()) return true;
  const fs::path candidate = fs::path(folder) / "pictures" / fs::path(named).filename();
  std::error_code ec;
  if (!fs::is_regular_file(candidate, ec)) {
    error = "the gallery has no picture '" + fs::path(named).filename().string() + "'";
    return false;
  }
  found = candidate.string();
  return true;
}

}  // namespace

std::string FindGalleryFolderFrom(const std::string& programPath, const std::string& sourceGallery) {
  if (const char* env = std::getenv("QUORL_GALLERY"); env && *env) return IsFolder(env) ? env : "";
  if (!programPath.empty()) {
    const fs::path installed =
        fs::path(programPath).parent_path().parent_path() / "share" / "quorl" / "gallery";
    if (IsFolder(installed)) return installed.string();
  }
  if (IsFolder(sourceGallery)) return sourceGallery;
  return "";
}

std::string FindGalleryFolder() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return FindGalleryFolderFrom(ec ? "" : self.string(), QUORL_SOURCE_GALLERY);
}

std::vector<GalleryEntry> ListGallery(const std::string& folder) {
  std::vector<GalleryEntry> entries;
  std::error_code ec;
  for (const fs::directory_entry& file : fs::directory_iterator(folder, ec)) {
    if (!file.is_regular_file(ec) || file.path().extension() != ".png") continue;
    GalleryEntry entry;
    entry.name = file.path().stem().string();
    entry.title = TitleOf(entry.name);
    entry.path = file.path().string();
    entry.frame = FrameOf(entry.name);
    entries.push_back(std::move(entry));
  }
  std::sort(entries.begin(), entries.end(),
            [](const GalleryEntry& a, const GalleryEntry& b) { return a.name < b.name; });
  return entries;
}

const GalleryEntry* FindGalleryEntry(const std::vector<GalleryEntry>& entries, const std::string& name) {
  for (const GalleryEntry& entry : entries)
    if (entry.name == name) return &entry;
  for (const GalleryEntry& entry : entries)
    if (WithoutNumber(entry.name) == name) return &entry;
  return nullptr;
}

bool GalleryPicturesOf(const std::string& folder, const GalleryEntry& entry, GalleryPictures& pictures,
                       std::string& error) {
  pictures = {};
  std::string bytes;
  Recipe recipe;
  if (!ReadWholeFile(entry.path, bytes, &error) || !ReadPngRecipe(bytes, recipe, error)) return false;
  ParameterSet params;
  WindowLayout layout;  // the folders it was made in: not ours
  ReadIniText(params, layout, "sine", recipe.settings);
  if (params.UseSourceImage && !Resolve(folder, params.SourceImageFileName, pictures.source, error))
    return false;
  if (params.UseBackgroundImage &&
      !Resolve(folder, params.BackgroundImageFileName, pictures.background, error))
    return false;
  return true;
}

}  // namespace quorl
