#include "services/picture_saving.h"

#include <ctime>

#include "base/paths.h"
#include "canvas/png_recipe.h"
#include "canvas/png_writer.h"
#include "curves/curve_file_names.h"
#include "services/curve_set_files.h"
#include "settings/settings_file.h"

namespace quorl {
namespace {

// The part of a curve file's name after the picture's base name and "_",
// without ".curve".
std::string CurveNamePart(const std::string& base, const std::string& fileName) {
  const std::string lead = base + "_";
  const std::string tail = ".curve";
  return fileName.substr(lead.size(), fileName.size() - lead.size() - tail.size());
}

Recipe MakeRecipe(const ProgramState& state, const std::string& base) {
  Recipe recipe;
  recipe.settings = WriteIniText(state.params, state.layout, state.params.CurrentStyle);
  auto add = [&](const CurvePoints& curve, const std::string& fileName) {
    // Curve files exist only for curves of two points or more.
    if (curve.GetLength() >= 2)
      recipe.curves.emplace_back(CurveNamePart(base, fileName), CurveFileText(curve.Points));
  };
  for (int i = 0; i < kCurveCount; ++i) add(state.curves[i].Curve, PictureCurveFileName(base, i));
  add(state.curves.AnimStartPathCurve, PictureAnimStartCurveFileName(base));
  add(state.curves.AnimEndPathCurve, PictureAnimEndCurveFileName(base));
  return recipe;
}

// The source image as it was loaded, without the repeated column the
// sampler reads past its right edge.
Picture24 SourceAsLoaded(const SourceStore& source) {
  Picture24 copy(source.SourceWidth, source.SourceHeight);
  copy.DrawAtOrigin(source.Bitmap);
  return copy;
}

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
  if (!FolderExists(layout.SaveDir)) {
    layout.SaveDir = DefaultPictureFolder();
    MakeFolders(layout.SaveDir);
  }
  std::string folder = layout.SaveDir;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();

  // The name: program name and time stamp, moved on by a millisecond while
  // a picture or settings file of that name exists.
  std::string suffix;
  if (options.fixedBaseName.empty()) {
    auto when = options.now();
    for (int tries = 0;; ++tries) {
      suffix = TimeStamp(when);
      const std::string candidate = folder + "/" + kProgramName + suffix;
      if ((!FileExists(candidate + ".png") && !FileExists(candidate + ".ini")) || tries > 100000) break;
      when += std::chrono::milliseconds(1);
    }
    result.base = folder + "/" + kProgramName + suffix;
  } else {
    result.base = folder + "/" + options.fixedBaseName;
  }
  result.pngPath = result.base + ".png";

  PngWriteOptions png;
  if (options.useTransparency)
    png.alpha = TransparencyAlpha(state.canvas.Bitmap(), params.White, params.Opacity);
  if (options.keepRecipe) png.texts = RecipeChunks(MakeRecipe(state, result.base));
  std::string error;
  if (!WritePngFile(result.pngPath, state.canvas.Bitmap(), png, &error)) return Fail(host, result, error);

  if (!SaveCurvesBesidePicture(state.curves, result.base, &error)) return Fail(host, result, error);

  if (state.source.Loaded() && params.UseSourceImage && params.SaveSourceImageFile) {
    if (!WritePngFile(result.base + "_source.png", SourceAsLoaded(state.source), {}, &error))
      return Fail(host, result, error);
  }

  const std::string iniPath = result.base + ".ini";
  if (!WriteIniFileTo(params, layout, params.CurrentStyle, iniPath, &error)) {
    host.ShowMessage(error);
    result.error = error;
    return result;
  }
  if (!state.flags.InAnimation) host.ShowStatus("Saved " + result.pngPath);
  result.ok = true;
  return result;
}

}  // namespace quorl
