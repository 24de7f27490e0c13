// `quorl sweep SETTINGS --vary KEY=FROM:TO[:COUNT] ... -o SHEET.png`: a
// contact sheet of one recipe drawn for a row of values of one key, or a
// grid for two, with the key and the value in force under each tile.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/command.h"
#include "app/shared_options.h"
#include "services/sweep.h"

namespace quorl {

struct SweepOptions : SharedOptions {
  std::vector<SweepAxis> axes;  // one or two --vary
  std::string outputPath;       // -o: the sheet
  int tileWidth = 200;          // --tile WxH
  int tileHeight = 200;
};

// Reads "WxH" with both sides from 8 to 2000 for option `name`.
bool ParseTileSize(const std::string& name, const std::string& text, int& width, int& height,
                   std::string& error);

// Exit status: 0 done, 1 a file could not be read or written, 2 a bad
// --set or --style. With --save, prints each tile's PNG path to io.out.
int RunSweep(const SweepOptions& options, CommandIo& io);

std::unique_ptr<Command> MakeSweepCommand();

}  // namespace quorl
