#include "app/animate_command.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "animation/animation_series.h"
#include "app/command_line.h"
#include "app/film.h"
#include "app/program_setup.h"
#include "app/side_by_side_frames.h"
#include "app/terminal_progress.h"
#include "engine/draw_record.h"
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
    run_.SetStepsAhead(true);
    run_.SetShowsPictureWhileDrawing(false);
    if (SideBySideFrames::Suits(state_, run_.Threads()))
      sideBySide_ = std::make_unique<SideBySideFrames>(SideBySideFrames::WorkersFor(state_, run_.Threads()));
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
    if (options_.skipExisting && FrameSetExists(f)) {
      Finish();  // the frames before it keep their place in the list
      frames_.push_back(FramePath(f, ".png"));
      return;
    }
    // Each frame has its own random numbers, so a frame is the same picture
    // whichever range of frames it was made in.
    const std::uint64_t seed = options_.seed + static_cast<std::uint64_t>(f);
    if (sideBySide_) {
      sideBySide_->Start(f, state_, seed, saveFrame_);
      return;
    }
    SetScatterSeed(state_, seed);
    run_.DrawAllSteps();
    host_.ClearProgress();
    Save(f, state_);
    run_.Clear();
  }

  // Saves the frames still being drawn side by side, in order.
  void Finish() {
    if (sideBySide_) sideBySide_->Finish(saveFrame_);
  }

  bool Failed() const { return failed_; }
  std::string FramePath(int f, const char* extension) const {
    return (fs::path(state_.layout.SaveDir) / (FrameBaseName(f) + extension)).string();
  }
  // The picture is the last file of a set to be put in place; a set
  // without its settings file was damaged afterwards and is made again.
  bool FrameSetExists(int f) const {
    return fs::is_regular_file(FramePath(f, ".png")) && fs::is_regular_file(FramePath(f, ".ini"));
  }
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

  void Save(int f, ProgramState& frame) {
    if (failed_) return;  // frames drawn ahead of a failed save are dropped
    SaveOptions save = options_.Save(frame.params);
    if (options_.frameNames) {
      save.fixedBaseName = FrameBaseName(f);
      // With --skip-existing a whole set was passed over before drawing, so
      // what stands at the name now is a broken one: it is replaced.
      save.existing =
          options_.overwrite || options_.skipExisting ? ExistingSet::Overwrite : ExistingSet::Refuse;
      save.existsHint = " (give --skip-existing or --overwrite)";
    }
    const SaveResult saved = SavePictureFiles(frame, host_, save);
    if (saved.ok) {
      std::fprintf(out_, "%s\n", saved.pngPath.c_str());
      std::fflush(out_);
      frames_.push_back(saved.pngPath);
    } else {
      failed_ = true;
      state_.flags.StopRequested = true;  // no later frame after a failed save
    }
  }

  ProgramState& state_;
  TerminalHost& host_;
  const AnimateOptions& options_;
  std::FILE* out_;
  // One run for the whole series, so its threads are started once.
  DrawingRun run_;
  bool failed_ = false;
  std::vector<std::string> frames_;
  // Small frames are drawn several at a time, one per thread.
  std::unique_ptr<SideBySideFrames> sideBySide_;
  const SideBySideFrames::Done saveFrame_ = [this](int f, ProgramState& frame) { Save(f, frame); };
};

// "I/N" with 1 <= I <= N.
bool ParseChunk(const std::string& text, int& chunk, int& chunks, std::string& error) {
  const size_t slash = text.find('/');
  if (slash == std::string::npos) {
    error = "--chunk needs I/N (for example 2/8), not '" + text + "'";
    return false;
  }
  if (!IntOption("--chunk", text.substr(slash + 1), 1, 1000000, chunks, error) ||
      !IntOption("--chunk", text.substr(0, slash), 1, 1000000, chunk, error))
    return false;
  if (chunk > chunks) {
    error = "--chunk I/N needs I <= N, not '" + text + "'";
    return false;
  }
  return true;
}

}  // namespace

FrameRange ChunkOfFrames(int first, int last, int k, int n) {
  const long long count = std::max(0, last - first + 1);
  FrameRange range;
  range.first = first + static_cast<int>((k - 1) * count / n);
  range.last = first - 1 + static_cast<int>(k * count / n);
  return range;
}

std::string FrameBaseName(int f) {
  char name[32];
  std::snprintf(name, sizeof name, "quorl_frame_%04d", f);
  return name;
}

int RunAnimate(const AnimateOptions& options, CommandIo& io) {
  std::FILE* const out = io.out;
  std::FILE* const err = io.err;
  if (!fs::is_directory(options.saveDir)) {
    std::fprintf(err, "quorl: the save folder '%s' does not exist\n", options.saveDir.c_str());
    return 1;
  }
  // Said before the frames take their time, not after.
  if (!options.video.empty() && !FfmpegInstalled()) {
    std::fprintf(err,
                 "quorl: --video needs ffmpeg, which is not installed (Debian: apt-get install ffmpeg)\n");
    return 1;
  }
  auto state = std::make_unique<ProgramState>();
  TerminalHost host(err, options.Progress(io.errIsTerminal));
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
  // Frames past the end of the series would silently not be made.
  if (options.lastFrame > controls.frames) {
    return UsageError(io, "animate",
                      "--frames " + std::to_string(options.firstFrame) + "-" +
                          std::to_string(options.lastFrame) + " is outside the series' frames 1-" +
                          std::to_string(controls.frames));
  }
  if (options.startFrame > controls.frames) {
    return UsageError(io, "animate",
                      "--start-frame " + std::to_string(options.startFrame) +
                          " is past the series' last frame, " + std::to_string(controls.frames));
  }
  if (options.chunks > 0) {
    const FrameRange share = ChunkOfFrames(controls.firstFrame, std::min(controls.lastFrame, controls.frames),
                                           options.chunk, options.chunks);
    // More shares than frames: this one has none to draw.
    if (share.last < share.first) return 0;
    controls.firstFrame = share.first;
    controls.lastFrame = share.last;
  }

  CommandLineSeries series(*state, host, options, out);
  RunAnimationSeries(state->params, controls, state->flags, state->anim, series);
  series.Finish();
  if (series.Failed()) return 1;
  if (!options.video.empty()) return MakeFilm(series.Frames(), options.video, options.fps, err);
  return 0;
}

namespace {

class AnimateCommand : public Command {
 public:
  std::string Name() const override { return "animate"; }
  std::string Summary() const override { return "make the frames of an animation, and a film of them"; }
  std::string Usage() const override { return "SETTINGS --save DIR [options]"; }
  std::string Description() const override {
    return "Makes the frames the Animation window makes after opening SETTINGS, each saved into DIR as "
           "a picture set, and prints each picture's path.";
  }
  void Register(OptionTable& table) override {
    table.Positional("SETTINGS", options_.settingsPath, "a settings file or a picture saved by Quorl");
    RegisterSharedOptions(table, options_, text_);
    table.Value("--frames", frames_, "F|A-B", "F frames (default NumberOfFrames), or only frames A to B",
                ValueKind::Text);
    table.Value("--start-frame", startFrame_, "S", "step over the frames before S", ValueKind::Number);
    table.Flag("--offset", options_.offset, "\"Offset?\": delay the path by AnimationOffset cycles");
    table.Flag("--move-start", options_.moveStart, "move the start along the animation start path curve");
    table.Flag("--move-end", options_.moveEnd, "move the end along the animation end path curve");
    table.Flag("--frame-names", options_.frameNames,
               "name the sets quorl_frame_0001 ... instead of by the time");
    table.Value("--chunk", chunk_, "I/N",
                "make only the I-th of N equal shares of the frames (I from 1, as a job array counts); "
                "implies --frame-names",
                ValueKind::Text);
    table.Flag("--skip-existing", options_.skipExisting,
               "leave frames whose set is already in DIR alone, so a failed job can be run again; "
               "implies --frame-names");
    table.Flag("--overwrite", options_.overwrite,
               "replace frames whose set is already in DIR (without this or --skip-existing, such a "
               "frame is an error); implies --frame-names");
    table.Value("--video", options_.video, "OUT",
                "assemble the frames into a film with ffmpeg: .mp4 (H.264), .webm (VP9) or .gif",
                ValueKind::File);
    table.Value("--fps", fps_, "N", "frames per second of the film (default 25)", ValueKind::Number);
  }
  bool Check(std::string& error) override {
    if (!CheckSharedOptions(options_, text_, error)) return false;
    if (!frames_.empty()) {
      const size_t dash = frames_.find('-', 1);
      if (dash == std::string::npos) {
        if (!IntOption("--frames", frames_, 1, 2000, options_.frames, error)) return false;
      } else {
        int last = 0;
        if (!IntOption("--frames", frames_.substr(0, dash), 1, 2000, options_.firstFrame, error) ||
            !IntOption("--frames", frames_.substr(dash + 1), 1, 2000, last, error))
          return false;
        if (last < options_.firstFrame) {
          error = "--frames A-B needs A <= B, not '" + frames_ + "'";
          return false;
        }
        options_.lastFrame = last;
      }
    }
    if (!chunk_.empty()) {
      if (!ParseChunk(chunk_, options_.chunk, options_.chunks, error)) return false;
      options_.frameNames = true;
    }
    if (options_.skipExisting && options_.overwrite) {
      error = "--skip-existing and --overwrite cannot go together";
      return false;
    }
    if (options_.skipExisting || options_.overwrite) options_.frameNames = true;
    if (!startFrame_.empty() && !IntOption("--start-frame", startFrame_, 1, 2000, options_.startFrame, error))
      return false;
    if (!fps_.empty() && !IntOption("--fps", fps_, 1, 240, options_.fps, error)) return false;
    if (!options_.video.empty() && FilmKindOf(options_.video) == FilmKind::Unknown) {
      error = "--video makes .mp4, .webm or .gif films, not '" + options_.video + "'";
      return false;
    }
    if (options_.saveDir.empty()) {
      error = "no folder for the frames given (--save DIR)";
      return false;
    }
    return true;
  }
  int Run(CommandIo& io) override { return RunAnimate(options_, io); }

 private:
  AnimateOptions options_;
  SharedOptionText text_;
  std::string frames_, startFrame_, chunk_, fps_;
};

}  // namespace

std::unique_ptr<Command> MakeAnimateCommand() {
  return std::make_unique<AnimateCommand>();
}

}  // namespace quorl
