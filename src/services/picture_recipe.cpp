#include "services/picture_recipe.h"

#include <bit>
#include <cinttypes>
#include <cstdio>
#include <sstream>

#include "base/sha256.h"
#include "canvas/pixel_digest.h"
#include "canvas/png_writer.h"
#include "curves/curve_file_names.h"
#include "engine/draw_record.h"
#include "settings/settings_file.h"

namespace quorl {
namespace {

// The part of a set's curve file name after the base name and "_".
std::string NamePart(const std::string& fileName) {
  const std::string lead = "B_";
  const std::string tail = ".curve";
  return fileName.substr(lead.size(), fileName.size() - lead.size() - tail.size());
}

std::string PictureDigest(const Picture24& picture) {
  return PixelDigest(PixelsOf(picture));
}

// Every value of the overrides, in one fixed order.
template <class Visit>
void EachValue(AnimationOverrides& o, Visit visit) {
  double* values[] = {&o.AnimStartRadius,   &o.AnimEndRadius,      &o.AnimStartAngle,   &o.AnimEndAngle,
                      &o.AnimStartBumps,    &o.AnimEndBumps,       &o.AnimStartSmooth,  &o.AnimEndSmooth,
                      &o.AnimStartX,        &o.AnimEndX,           &o.AnimStartY,       &o.AnimEndY,
                      &o.AnimRotateStart.X, &o.AnimRotateStart.Y,  &o.AnimRotateEnd.X,  &o.AnimRotateEnd.Y,
                      &o.AnimShiftStart.X,  &o.AnimShiftStart.Y,   &o.AnimShiftEnd.X,   &o.AnimShiftEnd.Y,
                      &o.AnimRocksAdd,      &o.AnimRockerStartAdd, &o.AnimRockerEndAdd, &o.AnimLissaAdd,
                      &o.AnimPathOffset,    &o.AnimationPhase};
  for (double* v : values) visit(*v);
}

}  // namespace

std::vector<std::pair<std::string, std::string>> CurveFilesOf(const ProgramState& state) {
  std::vector<std::pair<std::string, std::string>> files;
  auto add = [&](const CurvePoints& curve, const std::string& fileName) {
    // Curve files exist only for curves of two points or more.
    if (curve.GetLength() >= 2) files.emplace_back(NamePart(fileName), CurveFileText(curve.Points));
  };
  for (int i = 0; i < kCurveCount; ++i) add(state.curves[i].Curve, PictureCurveFileName("B", i));
  add(state.curves.AnimStartPathCurve, PictureAnimStartCurveFileName("B"));
  add(state.curves.AnimEndPathCurve, PictureAnimEndCurveFileName("B"));
  return files;
}

std::string JoinCurveList(const std::vector<std::pair<std::string, std::string>>& curves) {
  if (curves.empty()) return "none";
  std::string list;
  for (const auto& [name, text] : curves) list += (list.empty() ? "" : ",") + name;
  return list;
}

std::vector<std::string> SplitCurveList(const std::string& text) {
  std::vector<std::string> names;
  if (text == "none") return names;
  std::stringstream in(text);
  std::string name;
  while (std::getline(in, name, ','))
    if (!name.empty()) names.push_back(name);
  return names;
}

std::string AnimationFrameText(const AnimationOverrides& overrides) {
  AnimationOverrides o = overrides;
  std::string text = "v1";
  EachValue(o, [&text](double& v) {
    char word[24];
    std::snprintf(word, sizeof word, " %016" PRIx64, std::bit_cast<std::uint64_t>(v));
    text += word;
  });
  return text;
}

bool ParseAnimationFrame(const std::string& text, AnimationOverrides& out) {
  std::istringstream in(text);
  std::string version;
  if (!(in >> version) || version != "v1") return false;
  AnimationOverrides o;
  bool ok = true;
  EachValue(o, [&](double& v) {
    std::string word;
    if (!ok || !(in >> word) || word.size() != 16 ||
        word.find_first_not_of("0123456789abcdef") != std::string::npos) {
      ok = false;
      return;
    }
    v = std::bit_cast<double>(static_cast<std::uint64_t>(std::stoull(word, nullptr, 16)));
  });
  std::string extra;
  if (!ok || (in >> extra)) return false;
  out = o;
  return true;
}

Picture24 SourceAsLoaded(const SourceStore& source) {
  Picture24 copy(source.SourceWidth, source.SourceHeight);
  copy.DrawAtOrigin(source.Bitmap);
  return copy;
}

std::string LoadedSourceDigest(const SourceStore& source) {
  return source.Loaded() ? PictureDigest(SourceAsLoaded(source)) : std::string();
}

std::string LoadedBackgroundDigest(const BackgroundStore& background) {
  return background.Loaded() ? PictureDigest(background.Bitmap) : std::string();
}

PreparedPicture PreparePicture(const ProgramState& state, const PictureOutput& output) {
  PreparedPicture out;
  ParameterSet& p = out.params;
  p = state.params;
  out.curves = CurveFilesOf(state);
  p.SavedCurves = JoinCurveList(out.curves);
  p.SavedWithTransparency = output.transparency;
  p.SourceImageSha256 = state.source.Loaded() && p.UseSourceImage ? LoadedSourceDigest(state.source) : "";
  p.BackgroundImageSha256 =
      state.background.Loaded() && p.UseBackgroundImage ? LoadedBackgroundDigest(state.background) : "";
  p.AnimationFrame = state.flags.InAnimation ? AnimationFrameText(state.anim) : "";
  // Settings or curves changed after the Draw: the canvas is not what they
  // would draw.
  if (EditedSinceLastDraw(state)) ++p.EditsDuringDraws;

  const Picture24& bitmap = state.canvas.Bitmap();
  PngWriteOptions png;
  png.dpi = output.dpi;
  if (output.transparency) png.alpha = TransparencyAlpha(bitmap, p.White, p.Opacity);
  p.SavedBitDepth = output.deep ? 16 : 8;
  if (output.deep) {
    // The digest is of the pixels as the written file decodes, so encode
    // them once without the recipe to learn it.
    std::string plain;
    DecodedPixels decoded;
    if (!EncodeDeepPng(*output.deep, png, plain, &out.error) || !DecodePngPixels(plain, decoded, out.error)) {
      if (out.error.empty()) out.error = "cannot encode the picture";
      return out;
    }
    p.PixelsSha256 = PixelDigest(decoded);
  } else {
    p.PixelsSha256 = PixelDigest(PixelsOf(bitmap, png.alpha));
  }
  out.settings = WriteSavedSetText(p, state.layout, p.CurrentStyle);
  if (output.keepRecipe) {
    Recipe recipe;
    recipe.settings = WriteRecipeText(p, p.CurrentStyle);
    recipe.curves = out.curves;
    png.texts = RecipeChunks(recipe);
  }
  const bool encoded = output.deep ? EncodeDeepPng(*output.deep, png, out.pngBytes, &out.error)
                                   : EncodePng(bitmap, png, out.pngBytes, &out.error);
  if (!encoded && out.error.empty()) out.error = "cannot encode the picture";
  return out;
}

}  // namespace quorl
