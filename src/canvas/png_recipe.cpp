#include "canvas/png_recipe.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/atomic_file.h"
#include "canvas/png_chunks.h"

namespace quorl {
namespace {

struct MemoryReader {
  const std::string* bytes;
  size_t offset = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (length > reader->bytes->size() - reader->offset) png_error(png, "the file ends too early");
  std::memcpy(out, reader->bytes->data() + reader->offset, length);
  reader->offset += length;
}

void ErrorToJump(png_structp png, png_const_charp message) {
  auto* text = static_cast<std::string*>(png_get_error_ptr(png));
  *text = message ? message : "unknown error";
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Everything that the jump may skip lives in the caller's objects.
bool ReadTexts(png_structp png, png_infop info, std::vector<PngText>& texts) {
  if (setjmp(png_jmpbuf(png))) return false;
  // Reading the whole image walks every chunk, also the text after the
  // pixel data, and checks the pixel data on the way.
  png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_textp text = nullptr;
  int count = 0;
  png_get_text(png, info, &text, &count);
  for (int i = 0; i < count; ++i) {
    texts.push_back({text[i].key ? text[i].key : "",
                     std::string(text[i].text ? text[i].text : "",
                                 text[i].compression >= PNG_ITXT_COMPRESSION_NONE ? text[i].itxt_length
                                                                                  : text[i].text_length)});
  }
  return true;
}

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
  if (pngBytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(pngBytes.data()), 0, 8) != 0) {
    error = "not a PNG file";
    return false;
  }
  if (!PngChunksFit(reinterpret_cast<const std::uint8_t*>(pngBytes.data()), pngBytes.size(), error)) {
    error = "the PNG file is damaged: " + error;
    return false;
  }
  std::string message;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &message, ErrorToJump, IgnoreWarning);
  if (!png) {
    error = "out of memory";
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    error = "out of memory";
    return false;
  }
  // Settings and curves are small; refuse anything that inflates past this.
  png_set_chunk_malloc_max(png, 64 * 1024 * 1024);
  MemoryReader reader{&pngBytes};
  png_set_read_fn(png, &reader, ReadFromMemory);
  std::vector<PngText> texts;
  const bool ok = ReadTexts(png, info, texts);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) {
    error = "the PNG file is damaged: " + message;
    return false;
  }

  Recipe found;
  bool hasSettings = false;
  const std::string prefix = kRecipeCurvePrefix;
  for (const PngText& t : texts) {
    if (t.keyword == kRecipeSettingsKeyword) {
      found.settings = t.text;
      hasSettings = true;
    } else if (t.keyword.compare(0, prefix.size(), prefix) == 0) {
      found.curves.emplace_back(t.keyword.substr(prefix.size()), t.text);
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
