#include "app/program_setup.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "app/setting_override.h"
#include "base/atomic_file.h"
#include "canvas/picture_files.h"
#include "canvas/png_recipe.h"
#include "curves/curve_file_names.h"
#include "engine/draw_record.h"
#include "services/curve_set_files.h"
#include "services/image_loading.h"
#include "services/picture_recipe.h"
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

void LoadAnimationPaths(ProgramState& state, const std::string& settingsPath, Host& host,
                        const std::vector<std::string>* listed, std::vector<std::string>& missing) {
  const std::string base = SettingsBase(settingsPath);
  const struct {
    std::string name;
    std::string file;
    CurvePoints* curve;
    BezierKind kind;
  } paths[] = {
      {"anim_start", PictureAnimStartCurveFileName(base), &state.curves.AnimStartPathCurve,
       BezierKind::kAnimStart},
      {"anim_end", PictureAnimEndCurveFileName(base), &state.curves.AnimEndPathCurve, BezierKind::kAnimEnd}};
  for (const auto& p : paths) {
    if (listed) {
      if (std::find(listed->begin(), listed->end(), p.name) == listed->end()) continue;
      if (!fs::exists(p.file)) {
        missing.push_back(p.file);
        continue;
      }
    }
    std::string error;
    const CurveLoadOutcome outcome = p.curve->Load(p.file, &error);
    if (outcome == CurveLoadOutcome::Malformed) host.ShowMessage(error);
    if (outcome == CurveLoadOutcome::Loaded) state.curves.SetUpBezier(p.kind, 0);
  }
}

// A picture a saved set was drawn with, and where to look for it.
struct PictureNeed {
  bool source;
  std::string given;   // --source-image / --background-image
  std::string digest;  // SHA-256 the set names; empty: not required
  std::string named;   // the file name the settings name
  std::string copy;    // the saved set's own copy
};

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithoutExtension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
  return path.substr(0, dot);
}

// The set's copy first, then a file of the named file name in the same
// folder, then in a "pictures" folder there (where a collection of recipes,
// such as the gallery, keeps the pictures they share).
std::string FindBeside(const PictureNeed& need, const fs::path& folder) {
  std::error_code ec;
  if (fs::is_regular_file(need.copy, ec)) return need.copy;
  const std::string name = FileNameOf(need.named);
  if (name.empty()) return "";
  const fs::path here = folder.empty() ? fs::path(".") : folder;
  for (const fs::path& there : {here / name, here / "pictures" / name})
    if (fs::is_regular_file(there, ec)) return there.string();
  return "";
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
  const std::optional<std::uint64_t> stored = ParseScatterSeed(params.ScatterSeed);
  SetScatterSeed(state, options.seedGiven || !stored ? options.seed : *stored);
  // A fresh canvas: the record of Draws starts again.
  params.DrawsSinceClear = 0;
  params.EditsDuringDraws = 0;
  if (!options.animationPaths && !params.AnimationFrame.empty()) {
    if (!ParseAnimationFrame(params.AnimationFrame, state.anim)) {
      std::fprintf(err, "quorl: the animation frame values in '%s' are damaged\n",
                   options.settingsPath.c_str());
      return 1;
    }
    state.flags.InAnimation = true;
  }

  // The pictures, as the windows' load commands load them.
  MessageCatcher catcher(host);
  const std::string base = WithoutExtension(options.settingsPath);
  const PictureNeed needs[] = {
      {true, options.sourceImage, params.UseSourceImage ? params.SourceImageSha256 : "",
       params.SourceImageFileName, base + "_source.png"},
      {false, options.backgroundImage, params.UseBackgroundImage ? params.BackgroundImageSha256 : "",
       params.BackgroundImageFileName, base + "_background.png"}};
  for (const PictureNeed& need : needs) {
    std::string file = need.given;
    if (file.empty() && !need.digest.empty())
      file = FindBeside(need, fs::path(options.settingsPath).parent_path());
    const char* kind = need.source ? "source" : "background";
    if (file.empty()) {
      if (need.digest.empty()) continue;
      std::fprintf(
          err,
          "quorl: the %s picture '%s' is missing: put it beside '%s' (or in a folder 'pictures' there) "
          "or pass --%s-image\n",
          kind, FileNameOf(need.named).c_str(), options.settingsPath.c_str(), kind);
      return 1;
    }
    if (!LoadPicture(need.source, state, file, catcher)) {
      std::string reason = catcher.last;
      if (reason.rfind(kProblemMessage, 0) == 0) reason.erase(0, std::string(kProblemMessage).size());
      std::fprintf(err, "quorl: cannot load the %s picture '%s': %s\n", kind, file.c_str(), reason.c_str());
      return 1;
    }
    const std::string digest =
        need.source ? LoadedSourceDigest(state.source) : LoadedBackgroundDigest(state.background);
    if (!need.digest.empty() && digest != need.digest) {
      std::fprintf(err,
                   "quorl: the %s picture '%s' is not the one '%s' was drawn with (its SHA-256 differs)\n",
                   kind, file.c_str(), options.settingsPath.c_str());
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

  // "Open .ini file" loads the curve files saved beside the settings file;
  // a saved set's list says exactly which. Settings from standard input
  // have no curve files beside them.
  if (settingsPath == "-") return 0;
  const std::vector<std::string> listed = SplitCurveList(params.SavedCurves);
  const std::vector<std::string>* only = params.SavedCurves.empty() ? nullptr : &listed;
  const CurveFilesLoadReport curves = LoadCurvesBesideSettings(state.curves, settingsPath, host, only);
  if (!curves.Error.empty()) std::fprintf(err, "quorl: %s\n", curves.Error.c_str());
  std::vector<std::string> missing = curves.Missing;
  if (options.animationPaths) LoadAnimationPaths(state, settingsPath, host, only, missing);
  for (const std::string& file : missing) {
    std::fprintf(err, "quorl: %s: the curve file '%s' listed in the settings is missing\n",
                 options.allowMissingCurves ? "warning" : "error", FileNameOf(file).c_str());
  }
  if (!missing.empty() && !options.allowMissingCurves) {
    std::fprintf(err, "quorl: pass --allow-missing-curves to draw without it\n");
    return 1;
  }
  return 0;
}

}  // namespace quorl
