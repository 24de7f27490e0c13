// `quorl gallery` lists the gallery; `quorl gallery NAME -o OUT.png` draws
// one of its pictures again from the recipe it carries; `quorl gallery
// --sheet OUT.png` lays them all out small on one sheet.
#pragma once

#include <memory>
#include <string>

#include "app/command.h"

namespace quorl {

struct GalleryOptions {
  std::string name;        // empty: list the gallery
  std::string outputPath;  // -o
  std::string folder;      // --folder: another gallery folder (default: the installed one)
  std::string sheetPath;   // --sheet: every picture small on one contact sheet
  int tileWidth = 120;     // --tile WxH of the sheet
  int tileHeight = 120;
  int columns = 8;  // --columns of the sheet
  int threads = 0;
};

// Exit status: 0 done, 1 no gallery, an unknown name or a file that could not
// be read or written.
int RunGallery(const GalleryOptions& options, CommandIo& io);

std::unique_ptr<Command> MakeGalleryCommand();

}  // namespace quorl
