#include "services/picture_saving.h"

#include <ctime>

#include "base/paths.h"
#include "canvas/png_writer.h"
#include "services/picture_recipe.h"

namespace quorl {
namespace {

SaveResult Fail(Host& host, SaveResult result, const std::string& error) {
  result.ok = false;
  result.error = error;
  host.ShowMessage("Could not save the picture: " + error);
  return result;
}

}  // namespace

std::string TimeStamp(std::chrono::system_clock::time_point when) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count();
  std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  long millis = static_cast<long>(ms % 1000);
  if (millis < 0) {
    millis += 1000;
    --seconds;
  }
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[40];
  std::snprintf(text, sizeof text, "%04d%02d%02d_%02d_%02d_%02d__%03ld", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, millis);
  return text;
}

SaveResult SavePictureFiles(ProgramState& state, Host& host, const SaveOptions& options) {
  SaveResult result;
  ParameterSet& params = state.params;
  WindowLayout& layout = state.layout;
  std::string fellBack;
  if (!FolderExists(layout.SaveDir)) {
    if (!options.fallBackToPictureFolder)
      return Fail(host, result, "the save folder '" + layout.SaveDir + "' does not exist");
    const std::string gone = layout.SaveDir;
    layout.SaveDir = DefaultPictureFolder();
    MakeFolders(layout.SaveDir);
    fellBack = " (the save folder " + gone + " is gone: saved into " + layout.SaveDir + ")";
  }
  std::string folder = layout.SaveDir;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();

  PreparedPicture picture = PreparePicture(state, {options.useTransparency, options.keepRecipe});
  if (!picture.error.empty()) return Fail(host, result, picture.error);

  // Curves, copies of the pictures drawn with, the settings, and the PNG
  // last: a set without its PNG is incomplete.
  std::vector<SetFile> files;
  for (auto& [name, text] : picture.curves) files.push_back({"_" + name + ".curve", std::move(text)});
  const bool copies = params.SaveSourceImageFile;
  std::string error;
  if (copies && state.source.Loaded() && params.UseSourceImage) {
    SetFile copy{"_source.png", {}};
    if (!EncodePng(SourceAsLoaded(state.source), {}, copy.bytes, &error)) return Fail(host, result, error);
    files.push_back(std::move(copy));
  }
  if (copies && state.background.Loaded() && params.UseBackgroundImage) {
    SetFile copy{"_background.png", {}};
    if (!EncodePng(state.background.Bitmap, {}, copy.bytes, &error)) return Fail(host, result, error);
    files.push_back(std::move(copy));
  }
  files.push_back({".ini", std::move(picture.settings)});
  files.push_back({".png", std::move(picture.pngBytes)});

  SetNaming naming;
  if (options.fixedBaseName.empty()) {
    const auto when = options.now();
    naming.candidate = [when](int attempt) {
      return std::string(kProgramName) + TimeStamp(when + std::chrono::milliseconds(attempt));
    };
    naming.existing = ExistingSet::NextName;
  } else {
    naming.candidate = [&options](int) { return options.fixedBaseName; };
    naming.existing = options.existing;
  }
  const SetWriteResult written = WriteFileSet(folder, naming, files);
  result.base = written.base;
  result.pngPath = written.base + ".png";
  if (written.outcome == SetWriteResult::Outcome::Skipped) {
    result.skipped = true;
    return result;
  }
  if (written.outcome == SetWriteResult::Outcome::Exists)
    return Fail(host, result, written.error + options.existsHint);
  if (!written.ok()) return Fail(host, result, written.error);
  if (!state.flags.InAnimation || !fellBack.empty()) host.ShowStatus("Saved " + result.pngPath + fellBack);
  result.ok = true;
  return result;
}

}  // namespace quorl
