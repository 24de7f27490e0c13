// A saved picture carries its own recipe: the settings file and the curve
// files written beside it travel inside the PNG as compressed iTXt chunks,
// so a picture can always be made again even when its files are lost.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "canvas/png_writer.h"

namespace quorl {

// Chunk keywords. A curve's keyword is kRecipeCurvePrefix followed by the
// part its file name adds to the picture's base name after "_", e.g.
// "quorl-curve:Values_-_Radius" or "quorl-curve:anim_start".
inline constexpr const char* kRecipeSettingsKeyword = "quorl-settings";
inline constexpr const char* kRecipeCurvePrefix = "quorl-curve:";

struct Recipe {
  std::string settings;  // the settings file's text
  // (name part, curve file text), e.g. ("Values_-_Radius", "...").
  std::vector<std::pair<std::string, std::string>> curves;
};

// The chunks to hand to the PNG writer.
std::vector<PngText> RecipeChunks(const Recipe& recipe);

// Reads the recipe out of a PNG file's bytes. False with a clear reason for
// a file that is not a PNG, is damaged, or carries no recipe.
bool ReadPngRecipe(const std::string& pngBytes, Recipe& recipe, std::string& error);

// Writes the recipe as files in `folder` under `baseName`: baseName + ".ini"
// and baseName + "_" + name + ".curve" for each curve, the names an opened
// settings file looks for. Curve names that could leave the folder are
// refused. Returns the settings file's path, or "" with the reason.
std::string WriteRecipeFiles(const Recipe& recipe, const std::string& folder, const std::string& baseName,
                             std::string& error);

// A picture's recipe unpacked as ordinary files into a temporary folder of
// its own, so it can be opened exactly as a saved settings file with its
// curve files; the folder goes with the object.
class UnpackedRecipe {
 public:
  UnpackedRecipe() = default;
  UnpackedRecipe(const UnpackedRecipe&) = delete;
  UnpackedRecipe& operator=(const UnpackedRecipe&) = delete;
  ~UnpackedRecipe();

  // False with the reason for a picture without a readable recipe.
  bool Unpack(const std::string& pngBytes, std::string& error);
  const std::string& SettingsPath() const { return settings_path_; }
  const Recipe& Contents() const { return recipe_; }

 private:
  std::string folder_;
  std::string settings_path_;
  Recipe recipe_;
};

// True when the bytes start with the PNG signature.
bool LooksLikePng(const std::string& bytes);

}  // namespace quorl
