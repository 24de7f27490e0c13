#include "canvas/png_recipe.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/atomic_file.h"
#include "canvas/png_chunks.h"

namespace quorl {
namespace {

bool SafeName(const std::string& name) {
  return !name.empty() && name.size() < 200 && name.find('/') == std::string::npos && name != "." &&
         name != ".." && name.find('\0') == std::string::npos;
}

}  // namespace

std::vector<PngText> RecipeChunks(const Recipe& recipe) {
  std::vector<PngText> chunks;
  chunks.push_back({kRecipeSettingsKeyword, recipe.settings});
  for (const auto& [name, text] : recipe.curves) chunks.push_back({kRecipeCurvePrefix + name, text});
  return chunks;
}

bool ReadPngRecipe(const std::string& pngBytes, Recipe& recipe, std::string& error) {
  std::vector<PngTextChunk> texts;
  if (!ReadPngTextChunks(reinterpret_cast<const std::uint8_t*>(pngBytes.data()), pngBytes.size(), texts,
                         error))
    return false;
  Recipe found;
  bool hasSettings = false;
  const std::string prefix = kRecipeCurvePrefix;
  for (const PngTextChunk& t : texts) {
    if (t.keyword == kRecipeSettingsKeyword) {
      // Which of two would be the picture's? Neither can be trusted.
      if (hasSettings) {
        error = "the picture is damaged: it carries two sets of settings";
        return false;
      }
      found.settings = t.text;
      hasSettings = true;
    } else if (t.keyword.compare(0, prefix.size(), prefix) == 0) {
      const std::string name = t.keyword.substr(prefix.size());
      for (const auto& [known, text] : found.curves) {
        if (known == name) {
          error = "the picture is damaged: it carries the curve \"" + name + "\" twice";
          return false;
        }
      }
      found.curves.emplace_back(name, t.text);
    }
  }
  if (!hasSettings) {
    error = "the picture carries no Quorl settings (it was not saved by Quorl, or saved without them)";
    return false;
  }
  recipe = std::move(found);
  return true;
}

std::string WriteRecipeFiles(const Recipe& recipe, const std::string& folder, const std::string& baseName,
                             std::string& error) {
  std::string dir = folder;
  if (dir.empty() || dir.back() != '/') dir += '/';
  const std::string settingsPath = dir + baseName + ".ini";
  if (!WriteFileAtomically(settingsPath, recipe.settings, &error)) return "";
  for (const auto& [name, text] : recipe.curves) {
    if (!SafeName(name)) {
      error = "the picture names a curve file that is not allowed: \"" + name + "\"";
      return "";
    }
    if (!WriteFileAtomically(dir + baseName + "_" + name + ".curve", text, &error)) return "";
  }
  return settingsPath;
}

UnpackedRecipe::~UnpackedRecipe() {
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

bool UnpackedRecipe::Unpack(const std::string& pngBytes, std::string& error) {
  Recipe recipe;
  if (!ReadPngRecipe(pngBytes, recipe, error)) return false;
  if (folder_.empty()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorl-recipe-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
      error = "cannot make a temporary folder";
      return false;
    }
    folder_ = pattern;
  }
  const std::string path = WriteRecipeFiles(recipe, folder_, "recipe", error);
  if (path.empty()) return false;
  settings_path_ = path;
  recipe_ = std::move(recipe);
  return true;
}

bool LooksLikePng(const std::string& bytes) {
  return bytes.size() >= 8 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n", 8) == 0;
}

}  // namespace quorl
