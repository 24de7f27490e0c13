#include "engine/drawing_run.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <string>

#include "base/angles.h"
#include "base/step_arithmetic.h"
#include "engine/draw_record.h"

namespace quorl {

DrawingRun::DrawingRun(ProgramState& state, Host& host) : state_(state), host_(host), sink_(state) {
  SetStepInputs(nullptr, nullptr);
  for (AheadGroup& group : groups_) group.run = this;
}

void DrawingRun::SetStepInputs(ParameterSet* params, CurveSlots* curves) {
  sink_.params = params ? params : &state_.params;
  sink_.curves = curves ? curves : &state_.curves;
}

// More threads than parts of the canvas could not help.
void DrawingRun::SetThreads(int threads) {
  threads_ = std::min(threads < 1 ? HardwareThreads() : threads, PointBatchSink::kMaxParts);
}

DotStep DrawingRun::DotStepOf(const ProgramState& state, const CurveSlots& curves, int step, int steps,
                              double limit, int count) {
  DotStep dot;
  dot.step = step;
  dot.Steps = steps;
  dot.dotSize = limit;
  dot.pointCount = count;
  dot.ThetaColorSlotMultiplier = curves[kThetaColorSlot].Multiplier;
  dot.StepColorSlotMultiplier = curves[kStepColorSlot].Multiplier;
  dot.AnimationPhase = state.flags.InAnimation ? state.anim.AnimationPhase : 0;
  const StepState& step_state = state.step;
  dot.StepScale = step_state.StepScale;
  dot.DimmerFactor = step_state.DimmerFactor;
  dot.SourceThetaMultiplier = step_state.SourceThetaMultiplier;
  dot.SourceStepMultiplier = step_state.SourceStepMultiplier;
  for (int c = 0; c < 3; ++c) {
    dot.StepAmount[c] = step_state.StepAmount[c];
    dot.StepColor[c] = step_state.StepColor[c];
  }
  return dot;
}

void DrawingRun::CanvasSink::BeginShape(int step, int steps, double limit, int count) {
  kernel.Prepare(*params, state_.source, state_.canvas,
                 DotStepOf(state_, *curves, step, steps, limit, count));
  capacity_ = DotBatch::CapacityFor(kernel);
}

static_assert(DotBatch::kMaxParts == PointBatchSink::kMaxParts);
static_assert(DotBatch::kBlock == PointBatchSink::kBlock);

void DrawingRun::CanvasSink::SetParts(int parts) {
  batch_.Reset(kernel, capacity_, parts);
}

void DrawingRun::CanvasSink::StorePoints(int first, const OutlinePoint* points, int count) {
  DotPoint dots[DotBatch::kBlock];
  for (int k = 0; k < count; ++k) dots[k] = {points[k].x, points[k].y, points[k].index, points[k].z};
  batch_.Store(kernel, first, dots, count);
}

void DrawingRun::CanvasSink::ApplyPoints(int count, int part) {
  batch_.Apply(state_.canvas, kernel, count, part);
}

bool DrawingRun::CanvasSink::AddPoint(double x, double y, int index, double z_factor) {
  if (!kernel.DrawsNothing())
    AddColorToPixels(state_.canvas, kernel, DotPoint{x, y, index, z_factor}, 0, INT_MAX, &faults_);
  return true;
}

long long DrawingRun::CanvasSink::TakeFaults() {
  const long long total = faults_.Count + batch_.TakeFaults();
  faults_.Reset();
  return total;
}

std::string OffCanvasMessage(long long positions) {
  return "Some points lay too far off the canvas to be placed: " + std::to_string(positions) +
         " positions were left out.";
}

void DrawingRun::DrawOrStop() {
  state_.canvas.MultiplierMode = false;
  if (state_.flags.IsDrawing) {
    StopRun(true);
    return;
  }
  StartDrawing();
  DrawAllSteps();
}

void DrawingRun::StartDrawing() {
  state_.flags.StopRequested = false;
  host_.OnRunEvent(RunEvent::kRunStarted);
  state_.flags.IsDrawing = true;
  host_.ShowStatus("Drawing...");
}

void DrawingRun::StopRun(bool withMessage) {
  state_.flags.StopRequested = true;
  host_.OnRunEvent(RunEvent::kStopRequested);
  if (withMessage) host_.ShowStatus("Stopping drawing...");
}

void DrawingRun::RequestStop() {
  if (state_.flags.IsDrawing) StopRun(false);
}

void DrawingRun::DrawAllSteps() {
  Begin();
  while (RunStep()) {
  }
  Finish();
}

void DrawingRun::Begin() {
  if (PickSeed) SetScatterSeed(state_, PickSeed());
  NoteDrawBegins(state_);
  counters_ = {};
  sink_.TakeFaults();
  shownHuh_ = false;
  shownCap_ = false;
  step_ = 0;
  iterations_ = 0;
  loopEnded_ = true;
  std::string error;
  if (!state_.canvas.SetImageDimensions(state_.params, &error)) {
    host_.ShowMessage("DrawAllSteps: " + error);
    return;
  }
  factorA_ = factorB_ = delta_ = 1.0;
  if (WriteSettings) WriteSettings();
  state_.step.StepScale = state_.params.StartScale / 100.0;
  host_.StartProgress(state_.params.Steps);
  fn_ = state_.params.FunctionNumber + 1;
  // With no steps every interpolation would divide by zero: nothing to draw.
  if (state_.params.Steps < 1) return;
  iterations_ = static_cast<long long>(state_.params.Steps) + 1;
  loopEnded_ = false;
  // Step 0 renders the whole canvas; its rows share the pool too.
  StartPool();
}

bool DrawingRun::RunStep() {
  if (loopEnded_ || step_ >= iterations_) {
    loopEnded_ = true;
    return false;
  }
  if (CanDrawAhead()) return RunStepsAhead();
  const int step = static_cast<int>(step_++);
  if (ComputeAndDrawStep(step)) {
    host_.ProcessPendingEvents();
    const double last = std::ceil(Params().Steps / 100.0 * Params().PercentToComplete);
    if (last < step || state_.flags.StopRequested || host_.Cancelled()) {
      state_.flags.IsDrawing = false;
      loopEnded_ = true;
      return false;
    }
  }
  if (step_ >= iterations_) loopEnded_ = true;
  return !loopEnded_;
}

RunPosition DrawingRun::Position() const {
  RunPosition p;
  p.fn = fn_;
  p.iterations = iterations_;
  p.step = step_;
  p.loopEnded = loopEnded_;
  p.factorA = factorA_;
  p.factorB = factorB_;
  p.delta = delta_;
  p.shownHuh = shownHuh_;
  p.counters = counters_;
  return p;
}

void DrawingRun::Resume(const RunPosition& position) {
  fn_ = position.fn;
  iterations_ = position.iterations;
  step_ = position.step;
  loopEnded_ = position.loopEnded;
  factorA_ = position.factorA;
  factorB_ = position.factorB;
  delta_ = position.delta;
  shownHuh_ = position.shownHuh;
  counters_ = position.counters;
  host_.StartProgress(state_.params.Steps);
}

bool DrawingRun::CanDrawAhead() const {
  const ParameterSet& p = *sink_.params;
  return stepsAhead_ && threads_ > 1 && !externalSink_ && !ShowsEachStep() && !p.UseIotaExtra &&
         !p.QuorlPointsFollowRotate && !p.QuorlPointsFollow;
}

void DrawingRun::StartPool() {
  if (threads_ > 1 && (!pool_ || pool_->Threads() != threads_)) {
    DrawAheadSteps();  // on the old pool
    pool_ = std::make_shared<WorkerPool>(threads_);
  }
  // The canvas renders between steps, while the pool is idle.
  state_.canvas.ShareRowsWith(threads_ > 1 ? pool_ : nullptr);
}

bool ColoursInLine(int subSamples, int threads) {
  // Making and placing a point costs about as much as colouring this many
  // sub-samples; colouring shared by parts costs about this much more than
  // colouring in one line.
  constexpr double kMakeWork = 11;
  constexpr double kSharedCost = 1.3;
  if (threads < 2) return false;
  // In line, the colouring thread bounds the speed-up at (s + m) / s;
  // shared by parts, it is about threads / kSharedCost.
  return (subSamples + kMakeWork) / subSamples >= threads / kSharedCost;
}

namespace {
// The colouring work (sub-samples) after which no further step is planned
// into a group: enough to share out, little memory.
constexpr long long kAheadWork = 1 << 21;
}  // namespace

bool DrawingRun::RunStepsAhead() {
  StartPool();
  const double last = std::ceil(Params().Steps / 100.0 * Params().PercentToComplete);
  bool ended = false;
  do {
    ended = PlanAheadSteps(last);
    JoinAheadSteps();
    LaunchAheadSteps();
  } while (!ended && step_ < iterations_ && CanDrawAhead());
  JoinAheadSteps();
  if (ended) {
    state_.flags.IsDrawing = false;
    loopEnded_ = true;
    return false;
  }
  if (step_ >= iterations_) loopEnded_ = true;
  return !loopEnded_;
}

bool DrawingRun::PlanAheadSteps(double last) {
  long long work = 0;
  for (;;) {
    // A step that cannot be planned draws the group so far, and planning
    // goes on in the other group.
    AheadGroup& group = groups_[planningGroup_];
    if (group.count == 0) work = 0;
    if (step_ >= iterations_ || group.count >= kMostAhead || work >= kAheadWork) break;
    const auto index = static_cast<std::size_t>(group.count);
    if (group.steps.size() <= index) group.steps.push_back(std::make_unique<AheadStep>(state_));
    planning_ = group.steps[index].get();
    planning_->planned = false;
    planning_->sink.params = sink_.params;
    planning_->sink.curves = sink_.curves;
    const int step = static_cast<int>(step_++);
    const bool drawn = ComputeAndDrawStep(step);
    if (planning_->planned) {
      work += static_cast<long long>(planning_->plan.Count()) * (planning_->sink.kernel.SubSampleCount() + 8);
      ++group.count;
    }
    planning_ = nullptr;
    if (drawn) {
      host_.ProcessPendingEvents();
      if (last < step || state_.flags.StopRequested || host_.Cancelled()) return true;
    }
    if (!CanDrawAhead()) break;
  }
  return false;
}

void DrawingRun::LaunchAheadSteps() {
  AheadGroup& group = groups_[planningGroup_];
  if (group.count == 0) return;
  constexpr int kBlock = PointBatchSink::kBlock;
  group.firstBlock[0] = 0;
  for (int g = 0; g < group.count; ++g) {
    AheadStep& a = *group.steps[static_cast<std::size_t>(g)];
    const int blocks = (a.plan.Count() + kBlock - 1) / kBlock;
    if (a.failures.size() < static_cast<std::size_t>(blocks))
      a.failures.resize(static_cast<std::size_t>(blocks));
    group.firstBlock[g + 1] = group.firstBlock[g] + blocks;
  }
  const int blocks = group.firstBlock[group.count];
  group.parts = group.steps[0]->sink.Parts();
  if (group.parts == 1) {
    if (group.ready.size() < static_cast<std::size_t>(blocks))
      group.ready = std::vector<std::atomic<bool>>(static_cast<std::size_t>(blocks));
    for (int item = 0; item < blocks; ++item) group.ready[static_cast<std::size_t>(item)].store(false);
  }
  group.nextBlock.store(0);
  group.blocksDone.store(0);
  group.nextPart.store(0);
  group.made.store(false);
  group.colourerTaken.store(false);
  onPool_ = &group;
  planningGroup_ ^= 1;
  if (pool_) pool_->Open(group);
}

void DrawingRun::JoinAheadSteps() {
  if (!onPool_) return;
  AheadGroup& group = *onPool_;
  if (pool_)
    pool_->Join();
  else
    group(0);
  onPool_ = nullptr;
  for (int g = 0; g < group.count; ++g) {
    AheadStep& a = *group.steps[static_cast<std::size_t>(g)];
    counters_.offCanvas += a.sink.TakeFaults();
    ++counters_.stepsDrawn;
    counters_.points += a.made;
    counters_.subSamples += static_cast<long long>(a.made) * a.sink.kernel.SubSampleCount();
  }
  group.count = 0;
}

void DrawingRun::DrawAheadSteps() {
  JoinAheadSteps();
  LaunchAheadSteps();
  JoinAheadSteps();
}

// Where block `item` of a group lies: its step.
static int StepOfBlock(const int* first_block, int steps, int item) {
  return static_cast<int>(std::upper_bound(first_block, first_block + steps + 1, item) - first_block) - 1;
}

void DrawingRun::WorkOnAheadGroup(AheadGroup& group) {
  if (group.parts == 1)
    ColourAheadStepsInLine(group);
  else
    ShareAheadStepsByParts(group);
}

void DrawingRun::MakeAheadBlock(AheadGroup& group, int item) {
  constexpr int kBlock = PointBatchSink::kBlock;
  const int g = StepOfBlock(group.firstBlock, group.count, item);
  AheadStep& a = *group.steps[static_cast<std::size_t>(g)];
  const int b = item - group.firstBlock[g];
  const int count = a.plan.Count();
  const int begin = b * kBlock;
  const int end = std::min(count, begin + kBlock);
  const int failed = a.plan.MakePoints(begin, end, a.sink);
  a.failures[static_cast<std::size_t>(b)] = failed == end ? count : failed;
}

void DrawingRun::ColourAheadStepsInLine(AheadGroup& group) {
  const int blocks = group.firstBlock[group.count];
  // Makes the next block nobody has taken; false when none is left.
  const auto make_one = [&] {
    const int item = group.nextBlock.fetch_add(1, std::memory_order_relaxed);
    if (item >= blocks) return false;
    MakeAheadBlock(group, item);
    group.ready[static_cast<std::size_t>(item)].store(true, std::memory_order_release);
    return true;
  };
  // The first thread in colours every block in order, and makes blocks
  // itself whenever the next one to colour is not ready: alone, it does all
  // the work. The others make blocks ahead of it.
  if (group.colourerTaken.exchange(true, std::memory_order_acq_rel)) {
    while (make_one()) {
    }
    return;
  }
  for (int g = 0; g < group.count; ++g) {
    AheadStep& a = *group.steps[static_cast<std::size_t>(g)];
    a.made = a.plan.Count();
    for (int item = group.firstBlock[g]; item < group.firstBlock[g + 1]; ++item) {
      std::atomic<bool>& ready = group.ready[static_cast<std::size_t>(item)];
      while (!ready.load(std::memory_order_acquire)) {
        if (!make_one()) SpinUntil([&] { return ready.load(std::memory_order_acquire); });
      }
      // A failed point ends its step: nothing from it on is coloured.
      a.made = std::min(a.made, a.failures[static_cast<std::size_t>(item - group.firstBlock[g])]);
      a.sink.ApplyBlock(item - group.firstBlock[g], a.made);
      if (a.made < a.plan.Count()) break;
    }
  }
}

void DrawingRun::ShareAheadStepsByParts(AheadGroup& group) {
  const int blocks = group.firstBlock[group.count];
  // Every step's points, block by block, on whichever thread is free.
  for (int item = group.nextBlock.fetch_add(1, std::memory_order_relaxed); item < blocks;
       item = group.nextBlock.fetch_add(1, std::memory_order_relaxed)) {
    MakeAheadBlock(group, item);
    // The thread that makes the last block finds where each step ends.
    if (group.blocksDone.fetch_add(1, std::memory_order_acq_rel) + 1 == blocks) {
      for (int s = 0; s < group.count; ++s) {
        AheadStep& done = *group.steps[static_cast<std::size_t>(s)];
        const auto first = done.failures.begin();
        done.made = *std::min_element(first, first + (group.firstBlock[s + 1] - group.firstBlock[s]));
      }
      group.made.store(true, std::memory_order_release);
    }
  }
  SpinUntil([&] { return group.made.load(std::memory_order_acquire); });
  // Each part of the canvas takes the steps in their order.
  for (int part = group.nextPart.fetch_add(1, std::memory_order_relaxed); part < group.parts;
       part = group.nextPart.fetch_add(1, std::memory_order_relaxed)) {
    for (int s = 0; s < group.count; ++s) {
      AheadStep& a = *group.steps[static_cast<std::size_t>(s)];
      a.sink.ApplyPoints(a.made, part);
    }
  }
}

void DrawingRun::Finish() {
  NoteDrawEnds(state_);
  state_.canvas.DrawGridsOnPicture(state_.params, &host_);
  host_.ShowProgress(0);
  state_.flags.IsDrawing = false;
  host_.OnRunEvent(RunEvent::kRunFinished);
  if (!state_.flags.InAnimation) host_.ShowStatus("Finished");
  if (counters_.offCanvas > 0) host_.ShowMessage(OffCanvasMessage(counters_.offCanvas));
}

void DrawingRun::ShowOnce(bool& shown, const char* text) {
  if (shown) return;
  shown = true;
  host_.ShowMessage(text);
}

StepEnds ResolveStepEnds(const ParameterSet& p, const AnimationOverrides& anim, bool animating) {
  StepEnds e;
  if (animating) {
    e.rotateStart = anim.AnimRotateStart;
    e.rotateEnd = anim.AnimRotateEnd;
    e.startWidth = anim.AnimStartX;
    e.endWidth = anim.AnimEndX;
    e.startHeight = anim.AnimStartY;
    e.endHeight = anim.AnimEndY;
    e.startRadius = anim.AnimStartRadius;
    e.endRadius = anim.AnimEndRadius;
    e.startBumps = anim.AnimStartBumps;
    e.endBumps = anim.AnimEndBumps;
    e.startSmooth = anim.AnimStartSmooth;
    e.endSmooth = anim.AnimEndSmooth;
    e.startAngle = anim.AnimStartAngle;
    e.endAngle = anim.AnimEndAngle;
  } else {
    e.rotateStart = {p.QuorlPointsRotateXStart, p.QuorlPointsRotateYStart};
    e.rotateEnd = {p.QuorlPointsRotateXEnd, p.QuorlPointsRotateYEnd};
    e.startWidth = p.StartEllipseWidth;
    e.endWidth = p.EndEllipseWidth;
    e.startHeight = p.StartEllipseHeight;
    e.endHeight = p.EndEllipseHeight;
    e.startRadius = p.StartRadius;
    e.endRadius = p.EndRadius;
    e.startBumps = p.StartBumps;
    e.endBumps = p.EndBumps;
    e.startSmooth = p.StartDepth;
    e.endSmooth = p.EndDepth;
    e.startAngle = p.StartIota;
    e.endAngle = p.EndIota;
  }
  return e;
}

void DrawingRun::ComputeStepColour(int step, int steps) {
  const ParameterSet& p = Params();
  const CurveSlots& curves = Curves();
  const auto m = [&curves](int slot) { return curves[slot].Multiplier; };
  const double start[3] = {
      p.White ? (m(kStartRedSlot) - 1) * 255 + p.StartMaxRed : p.StartMaxRed * m(kStartRedSlot),
      p.StartMaxGreen * m(kStartGreenSlot), p.StartMaxBlue * m(kStartBlueSlot)};
  const double end[3] = {p.EndMaxRed * m(kEndRedSlot), p.EndMaxGreen * m(kEndGreenSlot),
                         p.EndMaxBlue * m(kEndBlueSlot)};
  // The colour sweep repeats StepColorMultiplier times over the run.
  const double k = static_cast<double>(static_cast<long long>(step) * p.StepColorMultiplier % steps);
  const double half = steps / 2.0;
  for (int c = 0; c < 3; ++c) {
    double colour;
    if (p.NewColor) {
      colour = Interpolate(start[c], end[c], 0, step, steps);
    } else if (p.ABA) {
      colour = k < half ? Interpolate(start[c], end[c], 0, k, half)
                        : Interpolate(end[c], start[c], half, k, steps);
    } else {
      colour = Interpolate(start[c], end[c], 0, k, steps);
    }
    state_.step.StepColor[c] = colour;
  }
}

bool DrawingRun::ComputeAndDrawStep(int step) {
  ParameterSet& p = Params();
  StepState& s = state_.step;
  AnimationOverrides& anim = state_.anim;
  CurveSlots& curves = Curves();
  const bool animating = state_.flags.InAnimation;
  // Every parameter, Steps included, is read afresh at each step, so edits
  // made during the run take effect from the next step.
  const int steps = p.Steps;

  if (showsPicture_ && (state_.flags.DrawEachStep || step == 0)) {
    DrawAheadSteps();  // the picture shows every step before this one
    state_.canvas.DrawGridsOnPicture(p, &host_);
  }
  if (steps < 1) return true;  // cannot interpolate; the stop test ends the run

  const double amount = curves.ReadSlotMultipliers(p, step, state_.UseArctan2);
  for (double& a : s.StepAmount) a = amount;
  if (state_.flags.Preview) {
    // Only steps 0, 1, 21, 41, ... are drawn, ten times as strong.
    if (step != 0 && step % 20 != 1) return false;
    for (double& a : s.StepAmount) a *= 10;
  }

  const auto lerp = [step, steps](double a, double b) { return Interpolate(a, b, 0, step, steps); };
  const auto m = [&curves](int slot) { return curves[slot].Multiplier; };

  const StepEnds ends = ResolveStepEnds(p, anim, animating);
  if (!animating) {
    anim.AnimRockerStartAdd = 0;
    anim.AnimRockerEndAdd = 0;
    anim.AnimRocksAdd = 0;
  }

  s.StepEllipseWidth = lerp(ends.startWidth * m(kStartXSlot), ends.endWidth * m(kEndXSlot));
  s.StepEllipseHeight = lerp(ends.startHeight * m(kStartYSlot), ends.endHeight * m(kEndYSlot));
  s.StepShiftX = animating ? lerp(anim.AnimShiftStart.X, anim.AnimShiftEnd.X) : 0;
  s.StepShiftY = animating ? lerp(anim.AnimShiftStart.Y, anim.AnimShiftEnd.Y) : 0;

  const double lissa = p.LissaDelta * m(kLissaDeltaSlot);
  switch (fn_) {
    case kLine:
    case kTest:
      factorA_ = s.StepEllipseWidth;
      factorB_ = s.StepEllipseHeight;
      break;
    case kEllipses:
      factorA_ = static_cast<double>(kPiL * s.StepEllipseWidth);
      factorB_ = static_cast<double>(kPiL * s.StepEllipseHeight);
      delta_ = lissa;
      break;
    case kLissajous: {
      // A Lissa delta curve at its lowest point makes the divisor 0; that
      // step is skipped and the run goes on.
      const double delta = lissa == 0 ? 0 : static_cast<double>(kPiL / lissa);
      if (lissa == 0 || !std::isfinite(delta)) return true;
      delta_ = delta;
      break;
    }
    default:
      delta_ = lissa;
      break;
  }

  ComputeStepColour(step, steps);

  if (state_.source.Loaded() && p.UseSourceImage) {
    s.SourceThetaMultiplier =
        lerp(p.SourceImageStartThetaColorMultiplier, p.SourceImageEndThetaColorMultiplier);
    s.SourceStepMultiplier = lerp(p.SourceImageStartStepColorMultiplier, p.SourceImageEndStepColorMultiplier);
    if (p.SourceImageRepeatByIntegers) {
      s.SourceThetaMultiplier = std::floor(s.SourceThetaMultiplier);
      s.SourceStepMultiplier = std::floor(s.SourceStepMultiplier);
    }
  }

  const Point rotationCentre = p.MoveRotation ? Point{lerp(ends.rotateStart.X, ends.rotateEnd.X),
                                                      lerp(ends.rotateStart.Y, ends.rotateEnd.Y)}
                                              : ends.rotateStart;
  s.StepScale = lerp(p.StartScale, p.EndScale) / 100;
  host_.ShowProgress(step);

  const double t = static_cast<double>(step) / steps;
  const double sinA = std::sin(t * factorA_);
  s.EllipseFactorX = sinA * sinA + 0.25;
  const double waveB = p.EllipsesTwo ? std::cos(t * factorB_) : std::sin(t * factorB_);
  s.EllipseFactorY = waveB * waveB + 0.25;

  // The last iteration only moves the progress bar: a run draws Steps shapes.
  if (step == steps || fn_ < kSineWobble || fn_ > kZarvk9032) return true;

  ShapeArguments a;
  a.fn = fn_;
  a.step = step;
  a.r = lerp(ends.startRadius, ends.endRadius) * m(kRadiusSlot) / 100;
  a.limit = lerp(p.StartLimit, p.EndLimit);
  a.g = std::fabs(m(kGrainSlot)) * lerp(p.StartGrain, p.EndGrain);
  a.b = lerp(ends.startBumps, ends.endBumps) * m(kBumpsSlot);
  a.rotation_centre = rotationCentre;
  a.d = lerp(ends.startSmooth, ends.endSmooth) * m(kSmoothSlot);
  const double degrees = lerp(ends.startAngle, ends.endAngle) * m(kAngleSlot);
  a.phi = DegreesToRadians(degrees);
  a.steps = steps;
  a.D = delta_;
  a.path_start_x = p.QuorlPointsXStart;
  a.path_end_x = p.QuorlPointsXEnd;
  a.path_start_y = p.QuorlPointsYStart;
  a.path_end_y = p.QuorlPointsYEnd;

  lastShape_ = a;
  StartPool();
  batches_.sink = &sink_;
  batches_.pool = threads_ > 1 ? pool_.get() : nullptr;
  PointSink& sink = externalSink_ ? *externalSink_ : static_cast<PointSink&>(sink_);
  // One thread colours point by point: batches pay only when shared.
  const bool batched = !externalSink_ && threads_ > 1;
  ShapeContext context{p, anim, s, curves, host_, state_.random, sink, batched ? &batches_ : nullptr};
  context.plan = planning_ ? &planning_->plan : nullptr;
  ShapeResult result = DrawByParameters(a, context);
  if (result.outcome == ShapeOutcome::kPlanned) {
    AheadStep& ahead = *planning_;
    ahead.sink.BeginShape(step, steps, a.limit, ahead.plan.PointCount());
    // A step whose points would take more room than one batch is drawn now.
    result.outcome = ShapeOutcome::kNotPlanned;
    if (ahead.plan.Count() <= DotBatch::CapacityFor(ahead.sink.kernel)) {
      // The steps drawn together share one way of colouring: the first
      // chooses it.
      const int threads = pool_ ? std::min(pool_->Threads(), PointBatchSink::kMaxParts) : 1;
      const AheadStep& first = *groups_[planningGroup_].steps[0];
      const int parts = planning_ != &first ? first.sink.Parts()
                        : ColoursInLine(ahead.sink.kernel.SubSampleCount(), threads)
                            ? 1
                            : std::min(threads * 8, PointBatchSink::kMaxParts);
      ahead.sink.Reserve(ahead.plan.Count(), parts);
      ahead.planned = true;
      return true;
    }
  }
  if (result.outcome == ShapeOutcome::kNotPlanned) {
    // Drawn now, after the steps planned before it.
    DrawAheadSteps();
    context.plan = nullptr;
    result = DrawByParameters(a, context);
  }
  // Every thread has stored this step's points by now.
  counters_.offCanvas += sink_.TakeFaults();
  if (result.outcome == ShapeOutcome::kNoPoints) {
    ShowOnce(shownHuh_, "huh");
    return true;
  }
  if (result.capped) {
    ++counters_.cappedSteps;
    ShowOnce(shownCap_,
             "A curve asks for more points in a step than Quorl draws; every such step is held to 2,000,000 "
             "points.");
  }
  ++counters_.stepsDrawn;
  counters_.points += result.points;
  if (!externalSink_)
    counters_.subSamples += static_cast<long long>(result.points) * sink_.kernel.SubSampleCount();
  return true;
}

void DrawingRun::Clear() {
  ParameterSet& p = state_.params;
  const bool animating = state_.flags.InAnimation;
  state_.canvas.KeepPicture = false;
  NoteCleared(state_);
  if (!animating) host_.ShowStatus("Clearing...");
  std::string error;
  if (state_.canvas.SetImageDimensions(p, &error)) {
    state_.canvas.MakePictureBlack(p, state_.background, &host_);
  } else {
    host_.ShowMessage("Clear: " + error);
  }
  if (WriteSettings) WriteSettings();
  host_.OnRunEvent(RunEvent::kCanvasCleared);
  if (!animating) host_.ShowStatus("Cleared");
  state_.canvas.MultiplierMode = false;
}

}  // namespace quorl
