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
#include "settings/ini_file.h"
#include "settings/settings_file.h"
#include "settings/settings_text.h"

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

// The settings file's bytes: from standard input for "-". False after one
// line on `err`.
bool ReadSettingsBytes(const std::string& path, std::string& bytes, std::FILE* err) {
  if (path == "-") {
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) bytes.append(buffer, n);
    if (std::ferror(stdin)) {
      std::fprintf(err, "quorl: cannot read the settings from standard input\n");
      return false;
    }
    return true;
  }
  std::error_code ec;
  if (fs::is_directory(path, ec)) {
    std::fprintf(err, "quorl: '%s' is a folder, not a settings file\n", path.c_str());
    return false;
  }
  std::string reason;
  if (!ReadWholeFile(path, bytes, &reason)) {
    // The reason may start with the path itself.
    if (reason.rfind(path + ": ", 0) == 0) reason.erase(0, path.size() + 2);
    std::fprintf(err, "quorl: cannot read the settings file '%s': %s\n", path.c_str(), reason.c_str());
    return false;
  }
  return true;
}

}  // namespace

int SetUpProgramState(const SetupOptions& options, ProgramState& state, Host& host, std::FILE* err) {
  std::string bytes;
  if (!ReadSettingsBytes(options.settingsPath, bytes, err)) return 1;
  const std::string shownName =
      options.settingsPath == "-" ? "standard input" : "'" + options.settingsPath + "'";

  // A picture saved by Quorl: its recipe becomes an ordinary settings file
  // with its curve files, read exactly as a saved set would be.
  std::string settingsPath = options.settingsPath;
  UnpackedRecipe recipe;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  if (LooksLikePng(bytes)) {
    std::string error;
    if (!recipe.Unpack(bytes, error)) {
      std::fprintf(err, "quorl: cannot read the settings inside %s: %s\n", shownName.c_str(), error.c_str());
      return 1;
    }
    settingsPath = recipe.SettingsPath();
    bytes = recipe.Contents().settings;
  } else if (PictureTypeOfContent(data, bytes.size()) != PictureType::Unknown) {
    std::fprintf(err, "quorl: %s is not a Quorl settings file: it is %s\n", shownName.c_str(),
                 DescribeContent(data, bytes.size()).c_str());
    return 1;
  } else if (std::string why; !LooksLikeSettingsText(NormaliseSettingsText(bytes), why)) {
    std::fprintf(err, "quorl: %s is not a Quorl settings file: %s\n", shownName.c_str(), why.c_str());
    return 1;
  }

  ParameterSet& params = state.params;
  if (options.style.empty()) {
    IniFile ini;
    ini.LoadText(bytes);
    params.CurrentStyle = ini.Get("start", "style", "sine");
    // An empty name would select the section "[]" and match no function.
    if (params.CurrentStyle.empty()) params.CurrentStyle = "sine";
  } else {
    params.CurrentStyle = options.style;
  }
  ReadIniText(params, state.layout, params.CurrentStyle, bytes);
  for (const auto& [key, value] : options.overrides) {
    std::string error;
    if (!ApplySettingOverride(params, state.layout, key, value, error)) {
      std::fprintf(err, "quorl: %s\n", error.c_str());
      return 2;
    }
  }
  if (params.FunctionNumber < 0 || params.FunctionNumber > 7) {
    std::fprintf(err, "quorl: FunctionNumber must be 0 to 7, one of the eight functions, not %d\n",
                 params.FunctionNumber);
    return 2;
  }
  KeepInFieldRanges(params);
  state.random = SeededRandom(options.seed);

  // The pictures, as the windows' load commands load them.
  MessageCatcher catcher(host);
  for (const auto& [source, file] :
       {std::pair{true, options.sourceImage}, std::pair{false, options.backgroundImage}}) {
    if (file.empty()) continue;
    if (!LoadPicture(source, state, file, catcher)) {
      std::string reason = catcher.last;
      if (reason.rfind(kProblemMessage, 0) == 0) reason.erase(0, std::string(kProblemMessage).size());
      std::fprintf(err, "quorl: cannot load the %s picture '%s': %s\n", source ? "source" : "background",
                   file.c_str(), reason.c_str());
      return 1;
    }
  }
  if (state.background.Loaded() && params.UseBackgroundImage && params.BackgroundImageResizeCanvas &&
      !FitImageSizeToBackground(params, state.background, catcher)) {
    // The window says so in a box; here it is a warning, and the run goes on.
    std::fprintf(err,
                 "quorl: warning: the background picture is %d x %d pixels, more than a canvas can be "
                 "(%d a side); the canvas stays %d x %d\n",
                 state.background.BackgroundWidth, state.background.BackgroundHeight, kMaxCanvasSide,
                 params.ImageWidth, params.ImageHeight);
  }

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
  // Settings from standard input have no curve files beside them.
  if (settingsPath == "-") return 0;
  const CurveFilesLoadReport curves = LoadCurvesBesideSettings(state.curves, settingsPath, host);
  if (!curves.Error.empty()) std::fprintf(err, "quorl: %s\n", curves.Error.c_str());
  if (options.animationPaths) LoadAnimationPaths(state, settingsPath, host);
  return 0;
}

}  // namespace quorl
