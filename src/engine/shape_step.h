// One step of a drawing run: the step's shape, placed on the path, bent by
// its bumps, rocked, wobbled and rotated, sent point by point to a sink.
#pragma once

#include <array>
#include <cmath>
#include <memory>

#include "base/host.h"
#include "curves/curve_slots.h"
#include "engine/point_batch.h"
#include "engine/point_sink.h"
#include "engine/step_state.h"
#include "settings/parameter_set.h"

namespace quorl {

// Shape functions by their number fn = FunctionNumber + 1.
enum ShapeFunction : int {
  kSineWobble = 1,
  kTanThing = 2,
  kLine = 3,
  kCircles = 4,
  kEllipses = 5,
  kLissajous = 6,
  kTest = 7,
  kZarvk9032 = 8,
};

// Each function's style: the settings section that holds its parameters.
// Index is FunctionNumber.
inline constexpr std::array<const char*, 8> kStyleKeywords = {"sine",     "tan",       "line", "circles",
                                                              "ellipses", "lissajous", "test", "zarvk9032"};

// The step's interpolated values, as the run computes them.
struct ShapeArguments {
  int fn = kSineWobble;
  int step = 0;
  double r = 1;      // radius, real units
  double limit = 2;  // dot size, handed on to colouring
  double g = 2;      // grain
  double b = 0;      // bumps
  Point rotation_centre;
  double d = 2;    // smooth: divisor of the bump term
  double phi = 0;  // rotation, radians
  int steps = 1000;
  double D = 1;  // the function's delta
  double path_start_x = -2, path_end_x = 2, path_start_y = 0, path_end_y = 0;
};

class ShapePlan;

// What a step reads and writes besides its arguments.
struct ShapeContext {
  const ParameterSet& params;
  const AnimationOverrides& anim;
  StepState& state;
  const CurveSlots& curves;
  Host& host;
  RandomSource& random;
  // Where the points go one by one, unless `batches` is given: then they go
  // there in batches, computed and coloured on its threads.
  PointSink& sink;
  PointBatches* batches = nullptr;
  // When given, the step is only planned (see ShapePlan): no point is made
  // or sent anywhere, and the step's points count as none.
  ShapePlan* plan = nullptr;
};

enum class ShapeOutcome {
  kDrawn,       // every point of the outline went to the sink
  kFailed,      // an arithmetic error ended the step; the points sent stay
  kNoPoints,    // GrainMultiplier * grain is not positive: nothing to draw
  kPlanned,     // the step was planned (ShapeContext::plan)
  kNotPlanned,  // too many points for a plan, or points that must be made
                // in order: nothing done yet
};

struct ShapeResult {
  ShapeOutcome outcome = ShapeOutcome::kDrawn;
  int points = 0;  // points sent to the sink
};

// A turn by a fixed angle, for many points.
struct RotationByIota {
  explicit RotationByIota(double angle) : cos_angle(std::cos(angle)), sin_angle(std::sin(angle)) {}
  // (x, y) turned about (cx, cy), exactly as RotatePointByIota gives it.
  Point Apply(double x, double y, double cx, double cy) const;
  double cos_angle;
  double sin_angle;
};

// A step's outline made ready ahead of its points: everything the points
// need, copied out of the run's state when the step was planned, so that
// they can be made later, on any thread, block by block, while the run
// plans the steps that follow.
class ShapePlan {
 public:
  ShapePlan();
  ~ShapePlan();
  ShapePlan(const ShapePlan&) = delete;
  ShapePlan& operator=(const ShapePlan&) = delete;

  // The most points a step may have to be planned; larger steps are drawn
  // the usual way.
  int limit = 1 << 16;
  // The outline's points (indices 1 ... Count()).
  int Count() const;
  // The step's point count n, which colouring divides indices by.
  int PointCount() const;
  // Makes points begin ... end - 1 into the sink: begin a multiple of
  // PointBatchSink::kBlock and at most kBlock points. Returns the first
  // point that failed, or end. Threads may make different blocks at once.
  int MakePoints(int begin, int end, PointBatchSink& sink) const;

  // What DrawByParameters fills in, made on first use.
  struct Outline;
  Outline& Room();

 private:
  std::unique_ptr<Outline> outline_;
};

ShapeResult DrawByParameters(const ShapeArguments& args, ShapeContext& context);

// The mouse position in real units through the StartScale mapping; the
// centre of the plane when the host has no pointer.
Point MouseRealPosition(const ParameterSet& params, Host& host);

}  // namespace quorl
