// The gallery: pictures made with Quorl that carry their recipes, shipped
// with the program as starting points. An entry is a PNG directly in the
// gallery folder; "NAME-frameK.png" is frame K of an animation whose
// settings its recipe holds. Source and background pictures that recipes
// name live in the folder's "pictures" subfolder.
#pragma once

#include <string>
#include <vector>

namespace quorl {

struct GalleryEntry {
  std::string name;   // the file name without ".png", e.g. "07-circles-bloom"
  std::string title;  // for people, e.g. "circles bloom"
  std::string path;   // the PNG
  int frame = 0;      // the animation frame it shows; 0 for a still picture
};

// The gallery folder: $QUORL_GALLERY when set, else share/quorl/gallery
// beside the installed program (<prefix>/bin/quorl), else the gallery of the
// source tree the program was built from. Empty when none exists.
std::string FindGalleryFolder();

// The same search from a given program path and source folder, for tests.
std::string FindGalleryFolderFrom(const std::string& programPath, const std::string& sourceGallery);

// The entries of a folder, sorted by name. Empty for a missing folder.
std::vector<GalleryEntry> ListGallery(const std::string& folder);

// The entry whose name is `name`, or whose name without its leading number
// ("circles-bloom" for "07-circles-bloom") is; null when there is none.
const GalleryEntry* FindGalleryEntry(const std::vector<GalleryEntry>& entries, const std::string& name);

// The pictures a gallery recipe names, found in the gallery's "pictures"
// folder by their file name (the folders they were made in do not matter).
struct GalleryPictures {
  std::string source;      // "" when the recipe uses none
  std::string background;  // likewise
};

// Reads the recipe inside `entry`; false with the reason when it cannot, or
// when a picture it uses is missing from the gallery.
bool GalleryPicturesOf(const std::string& folder, const GalleryEntry& entry, GalleryPictures& pictures,
                       std::string& error);

}  // namespace quorl
