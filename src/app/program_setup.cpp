#include "app/program_setup.h"

#include <filesystem>

#include "app/setting_override.h"
#include "base/atomic_file.h"
#include "canvas/picture_files.h"
#include "canvas/png_recipe.h"
#include "curves/curve_file_names.h"
#include "services/curve_set_files.h"
#include "services/image_loading.h"
#include "settings/field_ranges.h"
#include "settings/settings_file.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

// The base name a settings file's animation path curves are saved under.
std::string SettingsBase(const std::string& settingsPath) {
  const std::string curve = SettingsCurveFileName(settingsPath, 0);
  return curve.substr(0, curve.size() - std::string("_Main_-_Path_curve.curve").size());
}

void LoadAnimationPaths(ProgramState& state, const std::string& settingsPath, Host& host) {
  const std::string base = SettingsBase(settingsPath);
  const struct {
    std::string file;
    CurvePoints* curve;
    BezierKind kind;
  } paths[] = {
      {PictureAnimStartCurveFileName(base), &state.curves.AnimStartPathCurve, BezierKind::kAnimStart},
      {PictureAnimEndCurveFileName(base), &state.curves.AnimEndPathCurve, BezierKind::kAnimEnd}};
  for (const auto& p : paths) {
    std::string error;
    const CurveLoadOutcome outcome = p.curve->Load(p.file, &error);
    if (outcome == CurveLoadOutcome::Malformed) host.ShowMessage(error);
    if (outcome == CurveLoadOutcome::Loaded) state.curves.SetUpBezier(p.kind, 0);
  }
}

bool LoadPicture(bool source, ProgramState& state, const std::string& file, Host& host) {
  const std::string type = ExtensionOf(file);
  return source ? LoadSourceImage(state, file, type, host) : LoadBackgroundImage(state, file, type, host);
}

// Remembers the last message box, so a failed load can be told in one line.
class MessageCatcher : public Host {
 public:
  explicit MessageCatcher(Host& inner) : inner_(inner) {}
  void ShowMessage(const std::string& text) override { last = text; }
  void ShowStatus(const std::string& text) override { inner_.ShowStatus(text); }
  std::string last;

 private:
  Host& inner_;
};

}  // namespace

int SetUpProgramState(const SetupOptions& options, ProgramState& state, Host& host, std::FILE* err) {
  std::string bytes, reason;
  if (fs::is_directory(options.settingsPath) || !ReadWholeFile(options.settingsPath, bytes, &reason)) {
    std::fprintf(err, "quorl: cannot read settings file '%s'%s%s\n", options.settingsPath.c_str(),
                 reason.empty() ? "" : ": ", reason.c_str());
    return 1;
  }

  // A picture saved by Quorl: its recipe becomes an ordinary settings file
  // with its curve files, read exactly as a saved set would be.
  std::string settingsPath = options.settingsPath;
  UnpackedRecipe recipe;
  if (LooksLikePng(bytes)) {
    std::string error;
    if (!recipe.Unpack(bytes, error)) {
      std::fprintf(err, "quorl: cannot read the settings inside '%s': %s\n", options.settingsPath.c_str(),
                   error.c_str());
      return 1;
    }
    settingsPath = recipe.SettingsPath();
    bytes = recipe.Contents().settings;
  }

  ParameterSet& params = state.params;
  params.CurrentStyle = options.style.empty() ? ReadIniCurrentStyle(settingsPath) : options.style;
  ReadIniText(params, state.layout, params.CurrentStyle, bytes);
  for (const auto& [key, value] : options.overrides) {
    std::string error;
    if (!ApplySettingOverride(params, state.layout, key, value, error)) {
      std::fprintf(err, "quorl: %s\n", error.c_str());
      return 2;
    }
  }
  KeepInFieldRanges(params);
  state.random = SeededRandom(options.seed);

  // The pictures, as the windows' load commands load them.
  MessageCatcher catcher(host);
  for (const auto& [source, file] :
       {std::pair{true, options.sourceImage}, std::pair{false, options.backgroundImage}}) {
    if (file.empty()) continue;
    if (!LoadPicture(source, state, file, catcher)) {
      std::fprintf(err, "quorl: cannot load %s image '%s': %s\n", source ? "source" : "background",
                   file.c_str(), catcher.last.c_str());
      return 1;
    }
  }
  if (state.background.Loaded() && params.UseBackgroundImage)
    FitImageSizeToBackground(params, state.background, catcher);

  if (params.ImageWidth < 1 || params.ImageHeight < 1) {
    std::fprintf(err, "quorl: the picture would have no pixels: ImageWidth %d, ImageHeight %d\n",
                 params.ImageWidth, params.ImageHeight);
    return 1;
  }
  std::string error;
  if (!state.canvas.SetImageDimensions(params, &error)) {
    std::fprintf(err, "quorl: cannot make a %d x %d canvas: %s\n", params.ImageWidth, params.ImageHeight,
                 error.c_str());
    return 1;
  }
  state.canvas.MakePictureBlack(params, state.background, &host);

  // "Open .ini file" loads the curve files saved beside the settings file.
  const CurveFilesLoadReport curves = LoadCurvesBesideSettings(state.curves, settingsPath, host);
  if (!curves.Error.empty()) std::fprintf(err, "quorl: %s\n", curves.Error.c_str());
  if (options.animationPaths) LoadAnimationPaths(state, settingsPath, host);
  return 0;
}

}  // namespace quorl
