// Draw, Stop and Clear, and the drawing run itself: walks the steps,
// interpolates the parameters, reads the curves, works out colours and
// centres, draws each step's shape and reports progress.
//
// A host either calls DrawOrStop and lets its events run inside
// Host::ProcessPendingEvents, which the run calls after every drawn step, or
// goes back to its own event loop between steps: StartDrawing, Begin, then
// RunStep until it returns false (each step may run on a worker thread, with
// SetStepInputs), and Finish. Either way Stop, Clear and edits arrive
// between steps.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/host.h"
#include "base/worker_pool.h"
#include "canvas/dot_kernel.h"
#include "engine/point_batch.h"
#include "engine/program_state.h"
#include "engine/shape_step.h"

namespace quorl {

// What a run did, for the command line's --bench figures.
struct RunCounters {
  int stepsDrawn = 0;        // steps whose shape was drawn (or begun)
  long long points = 0;      // points sent to colouring
  long long subSamples = 0;  // sub-samples inside the dots' cut-off
  int cappedSteps = 0;       // steps held to kStepPointCap points
  // Sub-sample positions too far off the canvas (or not numbers) to have a
  // pixel index; left out, and reported once when the run ends.
  long long offCanvas = 0;
};

// A step's start and end values that an animation replaces: the
// animation's while a series runs, the parameters' otherwise.
struct StepEnds {
  Point rotateStart, rotateEnd;
  double startWidth = 0, endWidth = 0;    // ellipse width
  double startHeight = 0, endHeight = 0;  // ellipse height
  double startRadius = 0, endRadius = 0;  // hundredths
  double startBumps = 0, endBumps = 0;
  double startSmooth = 0, endSmooth = 0;
  double startAngle = 0, endAngle = 0;  // degrees
};
// Whether the steps drawn ahead on `threads` threads colour in one line
// (one thread colours, the others make points) rather than by parts of the
// canvas: the cheaper for dots of few sub-samples.
bool ColoursInLine(int subSamples, int threads);

StepEnds ResolveStepEnds(const ParameterSet& p, const AnimationOverrides& anim, bool animating);

// The message a run ends with when positions were left out.
std::string OffCanvasMessage(long long positions);

// Everything a run carries from one step to the next besides the program
// state: with it (and the state) a stopped run goes on exactly as if it had
// never stopped.
struct RunPosition {
  int fn = 1;
  long long iterations = 0;  // Steps + 1, fixed when the run began
  long long step = 0;        // the next iteration
  bool loopEnded = true;
  double factorA = 1, factorB = 1, delta = 1;
  bool shownHuh = false;
  RunCounters counters;
};

class DrawingRun {
 public:
  DrawingRun(ProgramState& state, Host& host);
  DrawingRun(const DrawingRun&) = delete;
  DrawingRun& operator=(const DrawingRun&) = delete;

  // Stores the parameter set in the current style's section before the
  // first step and at Clear. The window writes its settings file; the
  // command line writes nothing.
  std::function<void()> WriteSettings;
  // Picks the scatter seed of each Draw (the window: the clock). Unset, a
  // Draw starts from the seed last set (draw_record.h).
  std::function<std::uint64_t()> PickSeed;

  // The Draw/Stop command: starts a run, or asks the running one to stop.
  void DrawOrStop();
  // The start of Draw without the run: flags, the kRunStarted event,
  // "Drawing...". A host that drives the run step by step calls this, then
  // Begin, RunStep and Finish.
  void StartDrawing();
  // The run itself (also what the animation calls for every frame).
  void DrawAllSteps();
  // The Clear command; allowed during a run, which goes on drawing into the
  // emptied buffer.
  void Clear();
  // Stop as the Function window does when another function is picked: no
  // status message.
  void RequestStop();

  // Step-by-step driving. Begin does the start of a run (sizing the canvas,
  // writing the settings, the progress bar); RunStep does one iteration and
  // returns false when the run has ended its loop; Finish renders, resets
  // the progress bar and reports "Finished".
  void Begin();
  bool RunStep();
  void Finish();

  // Where the run is; taken between two RunStep calls.
  RunPosition Position() const;
  // In place of Begin: goes on from a position taken between two steps of a
  // run on the same program state (restored from a state file). Sets up the
  // progress bar, writes no settings.
  void Resume(const RunPosition& position);

  // Threads a step is drawn with: all the machine's cores unless set; a
  // count below 1 means all cores, and more than 64 count as 64. The
  // picture is the same for any count. Takes effect from the next step.
  // One thread colours each point as it is made: the batches that threads
  // share cost more than they save there.
  void SetThreads(int threads);
  int Threads() const { return threads_; }
  // Steps with less colouring work than this (sub-samples) are drawn on one
  // thread, where waking the others would cost more than it saves.
  void SetParallelWork(long long subSamples) { batches_.parallelWork = subSamples; }
  // Draws runs of steps together: the points of several steps are made
  // ahead on every thread, then the canvas's parts colour them in step
  // order, so that small steps keep every core busy. Edits, Stop and Clear
  // then reach the run only between such runs of steps, so a host that
  // applies them between two steps (the window) leaves this off. Steps
  // that follow the mouse, use random scatter or are shown one by one are
  // drawn one at a time whatever this says. The picture is the same.
  void SetStepsAhead(bool on) { stepsAhead_ = on; }
  // Whether the host shows the picture while the run draws: the canvas is
  // then converted to a picture before the first step and, with "Draw each
  // step?", after every step. A host where nobody looks before the end
  // (the command line) turns it off and saves that work; the picture at
  // the end is the same.
  void SetShowsPictureWhileDrawing(bool on) { showsPicture_ = on; }
  // Sends every step's points, one at a time on the calling thread, to
  // `sink` instead of colouring them into the canvas (null: colour as
  // usual). For benchmarks that colour with a kernel of their own.
  void ColourThrough(PointSink* sink) { externalSink_ = sink; }
  // The colouring inputs of a step from the run's state, as the canvas
  // colouring takes them.
  static DotStep DotStepOf(const ProgramState& state, const CurveSlots& curves, int step, int steps,
                           double limit, int count);

  // A host that draws on a worker thread hands each step the copies of the
  // parameters and curve slots it took between steps, so an edit made while
  // a step draws waits for the next step. Null for both: the program
  // state's own (the default).
  void SetStepInputs(ParameterSet* params, CurveSlots* curves);

  bool IsDrawing() const { return state_.flags.IsDrawing; }
  long long CurrentStep() const { return step_; }
  const RunCounters& Counters() const { return counters_; }
  // The values the latest drawn step handed to its shape.
  const ShapeArguments& LastShapeArguments() const { return lastShape_; }

 private:
  // Colouring as the shape step's point sink, one point at a time or in
  // batches.
  class CanvasSink : public PointSink, public PointBatchSink {
   public:
    explicit CanvasSink(ProgramState& state) : state_(state) {}
    void BeginShape(int step, int steps, double limit, int count) override;
    bool AddPoint(double x, double y, int index, double z_factor) override;
    int BatchCapacity() const override { return capacity_; }
    // Room for one batch of `points` points in `parts` parts.
    void Reserve(int points, int parts) {
      capacity_ = points;
      parts_ = parts;
      batch_.Reset(kernel, points, parts);
    }
    int Parts() const { return parts_; }
    int WorkPerPoint() const override { return kernel.SubSampleCount(); }
    void SetParts(int parts) override;
    void StorePoints(int first, const OutlinePoint* points, int count) override;
    int PointsIn(int block, int part) const override { return batch_.PointsIn(block, part); }
    void ApplyPoints(int count, int part) override;
    // Colours the batch's points of block `block` below `count`, the canvas
    // in one part.
    void ApplyBlock(int block, int count) {
      batch_.ApplyBlocks(state_.canvas, kernel, count, 0, block, block + 1);
    }
    // Positions left out since the last call (see RunCounters::offCanvas).
    long long TakeFaults();
    DotKernel kernel;
    ParameterSet* params = nullptr;
    CurveSlots* curves = nullptr;

   private:
    PixelRangeFaults faults_;
    ProgramState& state_;
    DotBatch batch_;
    int capacity_ = 1;
    int parts_ = 1;
  };

  // A step planned ahead and its colouring (see SetStepsAhead).
  struct AheadStep {
    explicit AheadStep(ProgramState& state) : sink(state) {}
    CanvasSink sink;
    ShapePlan plan;
    std::vector<int> failures;  // per block: its first failed point
    int made = 0;               // points made before the first failure
    bool planned = false;
  };
  static constexpr int kMostAhead = 64;
  // Steps planned ahead to be drawn together, and the shared job that draws
  // them. While one group is drawn on the pool, the run plans the next.
  struct AheadGroup {
    std::vector<std::unique_ptr<AheadStep>> steps;  // the first `count` planned
    int count = 0;
    // Block b of step g is work item firstBlock[g] + b.
    int firstBlock[kMostAhead + 1] = {};
    int parts = 1;  // 1: coloured in one line
    // The job's shares.
    std::vector<std::atomic<bool>> ready;  // per block: made, ready to colour
    std::atomic<int> nextBlock{0}, blocksDone{0}, nextPart{0};
    std::atomic<bool> made{false}, colourerTaken{false};
    DrawingRun* run = nullptr;
    void operator()(int) { run->WorkOnAheadGroup(*this); }
  };
  bool ShowsEachStep() const { return showsPicture_ && state_.flags.DrawEachStep; }
  bool CanDrawAhead() const;
  // Plans steps ahead and draws them, group after group; the rest as
  // RunStep.
  bool RunStepsAhead();
  // Plans steps into the planning group until it is full, the run is
  // over or a step cannot be drawn ahead; true when the run was ended.
  bool PlanAheadSteps(double last);
  // Starts drawing the planning group on the pool; the next group is
  // planned meanwhile.
  void LaunchAheadSteps();
  // Waits for the group on the pool and counts what it drew.
  void JoinAheadSteps();
  // Draws every step planned so far, in order: the group on the pool, then
  // the planning group's.
  void DrawAheadSteps();
  // One thread's share of drawing a group: colouring or making.
  void WorkOnAheadGroup(AheadGroup& group);
  // Makes block `item` of the group's steps.
  void MakeAheadBlock(AheadGroup& group, int item);
  // Small dots: one thread colours the whole canvas, block after block in
  // order, while the others make the blocks ahead of it.
  void ColourAheadStepsInLine(AheadGroup& group);
  // Larger dots: every thread makes blocks, then the canvas's parts are
  // coloured side by side.
  void ShareAheadStepsByParts(AheadGroup& group);
  void StartPool();

  void StopRun(bool withMessage);
  // One iteration: the step's values, colour, centre and shape; false when
  // the step was skipped in preview and nothing else of it happens.
  bool ComputeAndDrawStep(int step);
  void ComputeStepColour(int step, int steps);
  void ShowOnce(bool& shown, const char* text);
  ParameterSet& Params() { return *sink_.params; }
  CurveSlots& Curves() { return *sink_.curves; }

  ProgramState& state_;
  Host& host_;
  CanvasSink sink_;
  RunCounters counters_;
  int fn_ = 1;
  long long iterations_ = 0;  // Steps + 1, fixed when the run begins
  long long step_ = 0;
  bool loopEnded_ = true;
  double factorA_ = 1, factorB_ = 1, delta_ = 1;
  bool shownHuh_ = false;
  bool shownCap_ = false;
  ShapeArguments lastShape_;
  int threads_ = HardwareThreads();
  // Started at the first step that needs it; its threads wait between steps.
  // Shared with the canvas, which renders on it while it lives.
  std::shared_ptr<WorkerPool> pool_;
  PointBatches batches_;
  PointSink* externalSink_ = nullptr;
  bool stepsAhead_ = false;
  bool showsPicture_ = true;
  AheadGroup groups_[2];
  int planningGroup_ = 0;  // the other one may be on the pool
  AheadGroup* onPool_ = nullptr;
  // The step ComputeAndDrawStep plans instead of drawing, when set.
  AheadStep* planning_ = nullptr;
};

}  // namespace quorl
