#include "app/animate_command.h"

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "animation/animation_series.h"
#include "app/program_setup.h"
#include "app/terminal_progress.h"
#include "engine/drawing_run.h"
#include "services/picture_saving.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

// A whole number option that fits an int.
bool IntOption(const std::string& name, const std::string& text, int low, int high, int& value,
               std::string& error) {
  long long number = 0;
  if (!WholeNumberOption(name, text, low, high, number, error)) return false;
  value = static_cast<int>(number);
  return true;
}

// The frames of the series on the command line: drawn, saved, cleared.
class CommandLineSeries : public SeriesHost {
 public:
  CommandLineSeries(ProgramState& state, TerminalHost& host, const AnimateOptions& options, std::FILE* out)
      : state_(state), host_(host), options_(options), out_(out), run_(state, host) {
    if (options_.threads > 0) run_.SetThreads(options_.threads);
  }

  bool ReadRotationPoints(Point& a, Point& b, std::string&) override {
    const ParameterSet& p = state_.params;
    a = {p.QuorlPointsRotateXStart, p.QuorlPointsRotateYStart};
    b = {p.QuorlPointsRotateXEnd, p.QuorlPointsRotateYEnd};
    return true;
  }
  PathAt StartPath() override {
    return PathOf(state_.curves.AnimStartPathCurve, state_.curves.AnimStartPathBezier);
  }
  PathAt EndPath() override {
    return PathOf(state_.curves.AnimEndPathCurve, state_.curves.AnimEndPathBezier);
  }

  void MakeFrame(int f) override {
    // Each frame has its own random numbers, so a frame is the same picture
    // whichever range of frames it was made in.
    state_.random = SeededRandom(options_.seed + static_cast<std::uint64_t>(f));
    run_.DrawAllSteps();
    host_.ClearProgress();
    SaveOptions save = options_.Save(state_.params);
    if (options_.frameNames) save.fixedBaseName = FrameBaseName(f);
    const SaveResult saved = SavePictureFiles(state_, host_, save);
    if (saved.ok) {
      std::fprintf(out_, "%s\n", saved.pngPath.c_str());
      std::fflush(out_);
      frames_.push_back(saved.pngPath);
    } else {
      failed_ = true;
      state_.flags.StopRequested = true;  // no later frame after a failed save
    }
    run_.Clear();
  }

  bool Failed() const { return failed_; }
  const std::vector<std::string>& Frames() const { return frames_; }

 private:
  static PathAt PathOf(const CurvePoints& curve, const BezierPath& bezier) {
    if (curve.GetLength() < 1) return {};
    return [&bezier](double u, Point& point) {
      if (!bezier.IsValid() || bezier.GetPointCount() < 5) return false;
      const Point at = bezier.Eval(u);
      point = {at.X, at.Y};
      return true;
    };
  }

  ProgramState& state_;
  TerminalHost& host_;
  const AnimateOptions& options_;
  std::FILE* out_;
  // One run for the whole series, so its threads are started once.
  DrawingRun run_;
  bool failed_ = false;
  std::vector<std::string> frames_;
};

// Assembles the frames into a film with ffmpeg, through numbered links in a
// temporary folder so the frames' own names do not matter.
int MakeVideo(const std::vector<std::string>& frames, const std::string& video, std::FILE* err) {
  if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) {
    std::fprintf(err,
                 "quorl: --video needs ffmpeg, which is not installed (Debian: apt-get install ffmpeg); "
                 "the frames are saved\n");
    return 1;
  }
  if (frames.empty()) {
    std::fprintf(err, "quorl: no frames were made, so there is no film\n");
    return 1;
  }
  std::string folder = (fs::temp_directory_path() / "quorl-film-XXXXXX").string();
  if (!::mkdtemp(folder.data())) {
    std::fprintf(err, "quorl: cannot make a temporary folder for the film\n");
    return 1;
  }
  std::error_code ec;
  for (size_t i = 0; i < frames.size(); ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/f%06zu.png", i);
    fs::create_symlink(fs::absolute(frames[i]), folder + name, ec);
  }
  const bool gif = video.size() >= 4 && video.compare(video.size() - 4, 4, ".gif") == 0;
  // Even sizes for the common video codecs; a palette of its own for a GIF.
  const std::string filter =
      gif ? "split[a][b];[a]palettegen[p];[b][p]paletteuse" : "pad=ceil(iw/2)*2:ceil(ih/2)*2,format=yuv420p";
  const std::string command = "ffmpeg -loglevel error -y -framerate 25 -i '" + folder + "/f%06d.png' -vf '" +
                              filter + "' '" + video + "'";
  const int status = std::system(command.c_str());
  fs::remove_all(folder, ec);
  if (status != 0) {
    std::fprintf(err, "quorl: ffmpeg could not make '%s'\n", video.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

std::string FrameBaseName(int f) {
  char name[32];
  std::snprintf(name, sizeof name, "quorl_frame_%04d", f);
  return name;
}

bool ParseAnimateArguments(const std::vector<std::string>& words, AnimateOptions& options,
                           std::string& error) {
  options = {};
  for (ArgumentReader reader(words); !reader.Done(); reader.Advance()) {
    const OptionRead read = ReadSharedOption(reader, options, error);
    if (read == OptionRead::Bad) return false;
    if (read == OptionRead::Taken) continue;
    const std::string& word = reader.Word();
    std::string value;
    if (word == "--frames") {
      if (!reader.Value(value, error)) return false;
      const size_t dash = value.find('-', 1);
      if (dash == std::string::npos) {
        if (!IntOption("--frames", value, 1, 2000, options.frames, error)) return false;
      } else {
        int last = 0;
        if (!IntOption("--frames", value.substr(0, dash), 1, 2000, options.firstFrame, error) ||
            !IntOption("--frames", value.substr(dash + 1), 1, 2000, last, error))
          return false;
        if (last < options.firstFrame) {
          error = "--frames A-B needs A <= B, not '" + value + "'";
          return false;
        }
        options.lastFrame = last;
      }
    } else if (word == "--start-frame") {
      if (!reader.Value(value, error) ||
          !IntOption("--start-frame", value, 1, 2000, options.startFrame, error))
        return false;
    } else if (word == "--offset") {
      options.offset = true;
    } else if (word == "--move-start") {
      options.moveStart = true;
    } else if (word == "--move-end") {
      options.moveEnd = true;
    } else if (word == "--frame-names") {
      options.frameNames = true;
    } else if (word == "--video") {
      if (!reader.Value(options.video, error)) return false;
    } else {
      error = "unknown option '" + word + "'";
      return false;
    }
  }
  if (options.settingsPath.empty()) {
    error = "no settings file given";
    return false;
  }
  if (options.saveDir.empty()) {
    error = "no folder for the frames given (--save DIR)";
    return false;
  }
  return true;
}

int RunAnimate(const AnimateOptions& options, std::FILE* out, std::FILE* err, bool progressBar) {
  if (!fs::is_directory(options.saveDir)) {
    std::fprintf(err, "quorl: the save folder '%s' does not exist\n", options.saveDir.c_str());
    return 1;
  }
  auto state = std::make_unique<ProgramState>();
  TerminalHost host(err, progressBar);
  SetupOptions setup = options.Setup();
  setup.animationPaths = true;
  if (const int status = SetUpProgramState(setup, *state, host, err); status != 0) return status;
  state->layout.SaveDir = options.saveDir;

  SeriesControls controls;
  controls.frames = options.frames > 0 ? options.frames : state->params.NumberOfFrames;
  if (controls.frames < 1) controls.frames = 1;
  controls.startFrame = options.startFrame;
  controls.offsetTicked = options.offset;
  controls.offsetPosition = state->params.AnimationOffset;
  controls.moveStart = options.moveStart;
  controls.moveEnd = options.moveEnd;
  controls.firstFrame = options.firstFrame;
  controls.lastFrame = options.lastFrame > 0 ? options.lastFrame : controls.frames;

  CommandLineSeries series(*state, host, options, out);
  RunAnimationSeries(state->params, controls, state->flags, state->anim, series);
  if (series.Failed()) return 1;
  if (!options.video.empty()) return MakeVideo(series.Frames(), options.video, err);
  return 0;
}

}  // namespace quorl
