// Everything that makes the canvas come back, gathered for a saved set or a
// single picture: the settings with the facts of the set (scatter seed,
// Draws since Clear, curve list, transparency, the pictures drawn with,
// animation frame, pixel digest), the curve files, and the PNG that carries
// it all as its recipe.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "canvas/deep_picture.h"
#include "canvas/png_recipe.h"
#include "engine/program_state.h"

namespace quorl {

// The output options that shape a picture's pixels.
struct PictureOutput {
  bool transparency = false;  // "Use transparency?" / --transparent (with Opacity)
  bool keepRecipe = true;     // put the recipe inside the PNG
  // The canvas at 16 bits a channel, to write instead of the 8-bit picture
  // (the recipe's pixel digest stays the 8-bit one's); null for 8 bits.
  const DeepPicture* deep = nullptr;
  int dpi = 0;  // dots per inch kept in the PNG; 0 for none
};

// (name part, curve file text) of every curve that gets a file: the name
// part follows the set's base name and "_", e.g. "Values_-_Radius",
// "anim_start".
std::vector<std::pair<std::string, std::string>> CurveFilesOf(const ProgramState& state);

// The canvas, ready to be written.
struct PreparedPicture {
  ParameterSet params;   // state.params with the facts of the set filled in
  std::string settings;  // the saved set's settings file
  std::string pngBytes;  // the picture, with its recipe unless turned off
  std::vector<std::pair<std::string, std::string>> curves;
  std::string error;  // non-empty when the picture could not be encoded
};
PreparedPicture PreparePicture(const ProgramState& state, const PictureOutput& output);

// The animation values of a frame as exact text ("v1" and every value's bits)
// and back; false for text that is not such a record.
std::string AnimationFrameText(const AnimationOverrides& o);
bool ParseAnimationFrame(const std::string& text, AnimationOverrides& o);

// SHA-256 of a source or background picture as loaded (its own pixels, not
// the sampler's extra column).
std::string LoadedSourceDigest(const SourceStore& source);
std::string LoadedBackgroundDigest(const BackgroundStore& background);
// The source picture as it was loaded.
Picture24 SourceAsLoaded(const SourceStore& source);

// The curve list of a saved set as stored in SavedCurves ("none" for none).
std::string JoinCurveList(const std::vector<std::pair<std::string, std::string>>& curves);
std::vector<std::string> SplitCurveList(const std::string& text);

}  // namespace quorl
