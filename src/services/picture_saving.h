// "Save quorl picture": the picture as a PNG (carrying its recipe), every
// curve, the animation paths, optionally the source and background
// pictures, and the settings, under one time-stamped base name in the save
// folder, written as one unit (base/saved_set.h).
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "base/host.h"
#include "base/saved_set.h"
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
  // What a fixed name that is in use already means (Refuse, Skip or
  // Overwrite).
  ExistingSet existing = ExistingSet::Refuse;
  // Added to the message when a fixed name is in use.
  std::string existsHint;
  // The window saves into the picture folder when the save folder has gone,
  // and says so on the status line; the command line treats that as an
  // error.
  bool fallBackToPictureFolder = true;
  // The clock; tests set it.
  std::function<std::chrono::system_clock::time_point()> now = [] {
    return std::chrono::system_clock::now();
  };
};

struct SaveResult {
  bool ok = false;
  bool skipped = false;  // a fixed name in use with ExistingSet::Skip
  std::string base;      // folder + "/" + name, without extension
  std::string pngPath;   // base + ".png"
  std::string error;
};

// "yyyymmdd_hh_nn_ss__zzz" in local time, e.g. 20261205_14_35_07__123.
std::string TimeStamp(std::chrono::system_clock::time_point when);

// Saves the whole set. Two saves in the same millisecond, from this process
// or another, never share a name: the later one takes the next free
// millisecond. On an error nothing of the new set is left and
// "Could not save the picture: " with the reason is shown once. Reports
// "Saved B.png" unless an animation is making frames (then only when the
// save folder had gone).
SaveResult SavePictureFiles(ProgramState& state, Host& host, const SaveOptions& options = {});

}  // namespace quorl
