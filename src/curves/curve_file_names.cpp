#include "curves/curve_file_names.h"

#include "curves/curve_slot_names.h"

namespace quorl {
namespace {

// Quotes dropped, blanks as "_": the slot names carry both.
std::string CleanFilePart(const std::string& part) {
  std::string out;
  out.reserve(part.size());
  for (char c : part) {
    if (c == '"') continue;
    out += c == ' ' ? '_' : c;
  }
  return out;
}

void RemoveEvery(std::string& text, const std::string& what) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at))
    text.erase(at, what.size());
}

}  // namespace

std::string CurveFileNameAsWritten(const std::string& name) {
  const std::string given = name.empty() ? "test.txt" : name;
  const size_t slash = given.rfind('/');
  const size_t split = slash == std::string::npos ? 0 : slash + 1;
  return given.substr(0, split) + CleanFilePart(given.substr(split));
}

std::string PictureCurveFileName(const std::string& base, int slot) {
  return CurveFileNameAsWritten(base + "_" + SlotName(slot) + ".curve");
}

std::string PictureAnimStartCurveFileName(const std::string& base) {
  return CurveFileNameAsWritten(base + "_anim_start.curve");
}

std::string PictureAnimEndCurveFileName(const std::string& base) {
  return CurveFileNameAsWritten(base + "_anim_end.curve");
}

std::string SettingsCurveFileName(const std::string& settingsPath, int slot) {
  const size_t slash = settingsPath.rfind('/');
  const size_t split = slash == std::string::npos ? 0 : slash + 1;
  std::string stem = settingsPath.substr(split);
  RemoveEvery(stem, ".ini");
  return settingsPath.substr(0, split) + CleanFilePart(stem + "_" + SlotName(slot)) + ".curve";
}

std::string ProposedCurveFileName(int slot) {
  return CleanFilePart(SlotName(slot));
}

}  // namespace quorl
