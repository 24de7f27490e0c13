// "Save quorl picture": the picture as a PNG, every curve, the animation
// paths, optionally the source image, and the settings, under one
// time-stamped base name in the save folder.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "base/host.h"
#include "engine/program_state.h"

namespace quorl {

struct SaveOptions {
  bool useTransparency = false;  // the menu's "Use transparency?"
  // Put the settings and curves inside the PNG too (the File menu's "Keep
  // settings inside saved pictures", or --no-recipe on the command line).
  bool keepRecipe = true;
  // A fixed base name (without folder and extension) instead of the program
  // name and a time stamp, e.g. "quorl_frame_0007" for numbered frames.
  std::string fixedBaseName;
  // The clock; tests set it.
  std::function<std::chrono::system_clock::time_point()> now = [] {
    return std::chrono::system_clock::now();
  };
};

struct SaveResult {
  bool ok = false;
  std::string base;     // folder + "/" + name, without extension
  std::string pngPath;  // base + ".png"
  std::string error;
};

// "yyyymmdd_hh_nn_ss__zzz" in local time, e.g. 20261205_14_35_07__123.
std::string TimeStamp(std::chrono::system_clock::time_point when);

// Saves the whole set. A save folder that does not exist falls back to the
// picture folder. Two saves in the same millisecond never share a name: the
// later one takes the next free millisecond. Every file is written through a
// temporary file; on an error the files already complete stay and
// "Could not save the picture: " with the reason is shown. Reports "Saved B.png"
// unless an animation is making frames.
SaveResult SavePictureFiles(ProgramState& state, Host& host, const SaveOptions& options = {});

}  // namespace quorl
