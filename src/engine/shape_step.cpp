#include "engine/shape_step.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "base/angles.h"
#include "base/seeded_random.h"
#include "base/step_arithmetic.h"
#include "base/worker_pool.h"
#include "engine/shape_outline.h"
#include "engine/work_sharing.h"

namespace quorl {
namespace {

// A step ends at its first failed arithmetic. Each failure (division by
// zero, invalid operation, overflow) leaves an infinity or a NaN in its
// result, and every formula below carries such a value through to the point
// it computes, so testing the computed values is enough.
bool Finite(double a, double b) {
  return std::isfinite(a) && std::isfinite(b);
}

// Largest point count whose indices (up to n + 2) still fit an int.
constexpr double kMaxPointCount = 2147483600.0;

// The largest double not above extended 2 pi: comparing a double angle with
// it gives the same answer as comparing with 2 pi itself.
double TwoPiBound() {
  double bound = static_cast<double>(kTwoPiL);
  if (static_cast<long double>(bound) > kTwoPiL) bound = std::nextafter(bound, 0.0);
  return bound;
}

}  // namespace

// The same arithmetic as RotatePointByIota, with the sine and cosine of the
// angle worked out once for many points; results are identical to the bit.
Point RotationByIota::Apply(double x, double y, double cx, double cy) const {
  return {cos_angle * (x - cx) - sin_angle * (y - cy) + cx, sin_angle * (x - cx) + cos_angle * (y - cy) + cy};
}

namespace {

// What carries from one point of a step to the next: the rotation (new at
// every point with random scatter) and the rotation centre (replaced at
// every point when it follows the mouse or the path curve).
struct PointCarry {
  double phi;
  RotationByIota rotation;
  Point rotation_centre;
};

// The part of a point that must run in order along the outline.
struct PointCarrier {
  const ParameterSet& params;
  ShapeContext& context;
  double phi0;
  bool bezier_rotate;

  // With neither random scatter nor the mouse, points can be computed in
  // any order by any thread.
  bool InOrder() const { return params.UseIotaExtra || params.QuorlPointsFollowRotate; }

  void Advance(double theta, PointCarry& carry) const {
    if (params.UseIotaExtra) {
      carry.phi = phi0 + std::sin(RandomInteger(context.random, 1000) * theta);
      carry.rotation = RotationByIota(carry.phi);
    }
    if (params.QuorlPointsFollowRotate) {
      context.state.MouseRealPoint = MouseRealPosition(params, context.host);
      carry.rotation_centre = context.state.MouseRealPoint;
    } else if (bezier_rotate) {
      carry.rotation_centre = context.state.PathCurvePoint;
    }
  }
};

// The rest of a point: a pure function of its angle, index and carry.
struct PointMaker {
  Outline outline;
  int fn;
  bool use_z;
  bool wobble;
  bool diagonal;  // "31": the wobble runs along a diagonal
  double r;
  double shift_x, shift_y;
  double height;

  double DepthFactor(double c) const { return use_z ? (c + 1) / 2 : 1.0; }

  // False when the arithmetic failed; out.z is set either way.
  bool Make(double theta, int i, const PointCarry& carry, OutlinePoint& out) const {
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    out.z = DepthFactor(c);
    const Point centre = carry.rotation_centre;
    double qx = centre.X, qy = centre.Y;
    if (wobble) {
      qx = r * c / 2 + centre.X;
      qy = r * (diagonal ? c : s) / 2 + centre.Y;
    }
    qx += shift_x;
    qy += shift_y;

    const Point point = outline.At(theta, c, s, i, carry.phi);
    if (fn == kZarvk9032) {
      const double lift = std::sin(height * theta);
      qx += lift;
      qy += lift;
    }
    if (!Finite(point.X, point.Y) || !Finite(qx, qy) || !std::isfinite(carry.phi)) return false;
    const Point final_point = carry.rotation.Apply(point.X, point.Y, qx, qy);
    if (!Finite(final_point.X, final_point.Y)) return false;
    out.x = final_point.X;
    out.y = final_point.Y;
    out.index = i;
    return true;
  }
};

// Points are computed in blocks, each block by one thread.
constexpr int kBlock = PointBatchSink::kBlock;

// Computes points begin ... end - 1 of a batch (angles thetas, indices from
// first_index) into the sink, advancing the carry first when given. Returns
// the first point that failed, or end.
int MakePoints(const PointMaker& maker, const PointCarrier* carrier, PointCarry& carry, const double* thetas,
               int first_index, int begin, int end, PointBatchSink& sink) {
  OutlinePoint block[kBlock];
  int filled = 0;
  int block_begin = begin;
  int k = begin;
  for (; k < end; ++k) {
    if (carrier) carrier->Advance(thetas[k], carry);
    if (!maker.Make(thetas[k], first_index + k, carry, block[filled])) break;
    if (++filled == kBlock) {
      sink.StorePoints(block_begin, block, filled);
      block_begin += filled;
      filled = 0;
    }
  }
  if (filled > 0) sink.StorePoints(block_begin, block, filled);
  return k;
}

// A point's own arithmetic, counted in sub-samples of colouring.
constexpr long long kPointWork = 8;

// The outline loop with the points going to a batch sink. A batch's angles
// are summed up in order first (each is the previous plus dtheta, exactly as
// the loop does). Then its points are computed block by block, the blocks
// dealt out to the threads in runs along the outline, unless something
// carries from point to point, when the calling thread computes them in
// order; the batch ends at its first failed point, and the points before it
// are coloured part by part of the canvas, the parts dealt out too.
ShapeResult DrawInBatches(const ShapeArguments& args, ShapeContext& context, const PointMaker& maker,
                          const PointCarrier& carrier, PointCarry& carry, double dtheta, double bound,
                          int n) {
  ShapeResult result;
  PointBatches& batches = *context.batches;
  PointBatchSink& sink = *batches.sink;
  sink.BeginShape(args.step, args.steps, args.limit, n);
  WorkerPool* pool = batches.pool;
  const long long work = (static_cast<long long>(n) + 1) * (sink.WorkPerPoint() + kPointWork);
  const bool share = pool && pool->Threads() > 1 && work >= batches.parallelWork;
  // Threads beyond the most parts would find nothing to do.
  const int threads = share ? std::min(pool->Threads(), PointBatchSink::kMaxParts) : 1;
  const int parts = share ? std::min(threads * kPartsPerThread, PointBatchSink::kMaxParts) : 1;
  sink.SetParts(parts);
  const int capacity = sink.BatchCapacity();
  const std::size_t blocks_most = static_cast<std::size_t>((capacity + kBlock - 1) / kBlock);
  const auto room = [](std::vector<int>& v, std::size_t size) {
    if (v.size() < size) v.resize(size);
  };
  if (batches.thetas.size() < static_cast<std::size_t>(capacity))
    batches.thetas.resize(static_cast<std::size_t>(capacity));
  room(batches.failures, blocks_most);
  room(batches.makers, blocks_most);
  room(batches.blockItems, blocks_most);
  room(batches.blockBegin, static_cast<std::size_t>(threads) + 1);
  room(batches.partItems, static_cast<std::size_t>(parts));
  room(batches.partBegin, static_cast<std::size_t>(threads) + 1);
  if (!batches.counters) batches.counters = std::make_unique<WorkCounter[]>(2 * PointBatchSink::kMaxParts);
  const bool in_order = carrier.InOrder();

  double theta = 0;
  int first_index = 1;
  for (;;) {
    double* thetas = batches.thetas.data();
    int count = 0;
    while (count < capacity && theta <= bound) {
      thetas[count++] = theta;
      theta += dtheta;
    }
    if (count == 0) break;

    const int blocks = (count + kBlock - 1) / kBlock;
    int* failures = batches.failures.data();
    int* makers = batches.makers.data();
    WorkCounter* counters = batches.counters.get();
    for (int c = 0; c < 2 * threads; ++c) counters[c].taken.store(0, std::memory_order_relaxed);
    // Each thread's own blocks are a run of consecutive points.
    for (int b = 0; b < blocks; ++b) batches.blockItems[static_cast<std::size_t>(b)] = b;
    for (int t = 0; t <= threads; ++t) batches.blockBegin[static_cast<std::size_t>(t)] = blocks * t / threads;
    const DealtWork block_work{batches.blockItems.data(), batches.blockBegin.data(), counters, threads};
    const DealtWork part_work{batches.partItems.data(), batches.partBegin.data(), counters + threads,
                              threads};
    const auto deal_parts = [&] {
      DealParts(sink, blocks, makers, parts, threads, batches.partItems.data(), batches.partBegin.data());
    };

    int made = count;
    if (in_order) {
      made = MakePoints(maker, &carrier, carry, thetas, first_index, 0, count, sink);
      std::fill(makers, makers + blocks, 0);
      deal_parts();
    }
    // The thread that finishes the last block finds the cut and deals the
    // parts out; the others wait for it.
    std::atomic<int> blocks_done{0};
    std::atomic<bool> dealt{in_order};
    auto job = [&](int self) {
      if (self >= threads) return;
      if (!in_order) {
        block_work.Take(self, [&](int b) {
          const int begin = b * kBlock;
          const int end = std::min(count, begin + kBlock);
          PointCarry own = carry;
          const int failed = MakePoints(maker, nullptr, own, thetas, first_index, begin, end, sink);
          failures[b] = failed == end ? count : failed;
          makers[b] = self;
          if (blocks_done.fetch_add(1, std::memory_order_acq_rel) + 1 == blocks) {
            made = *std::min_element(failures, failures + blocks);
            deal_parts();
            dealt.store(true, std::memory_order_release);
          }
        });
        SpinUntil([&] { return dealt.load(std::memory_order_acquire); });
      }
      part_work.Take(self, [&](int part) { sink.ApplyPoints(made, part); });
    };
    if (share)
      pool->Share(job);
    else
      job(0);

    result.points += made;
    context.state.ZFactor = maker.DepthFactor(std::cos(thetas[made < count ? made : count - 1]));
    if (made < count) {
      result.outcome = ShapeOutcome::kFailed;
      return result;
    }
    first_index += count;
  }
  return result;
}

}  // namespace

struct ShapePlan::Outline {
  PointMaker maker{};
  PointCarry carry{0, RotationByIota(0), {}};
  std::vector<double> thetas;  // the angles, summed in order
  int n = 0;
};

ShapePlan::ShapePlan() = default;
ShapePlan::~ShapePlan() = default;

ShapePlan::Outline& ShapePlan::Room() {
  if (!outline_) outline_ = std::make_unique<Outline>();
  return *outline_;
}

int ShapePlan::Count() const {
  return outline_ ? static_cast<int>(outline_->thetas.size()) : 0;
}

int ShapePlan::PointCount() const {
  return outline_ ? outline_->n : 0;
}

int ShapePlan::MakePoints(int begin, int end, PointBatchSink& sink) const {
  PointCarry carry = outline_->carry;
  return quorl::MakePoints(outline_->maker, nullptr, carry, outline_->thetas.data(), 1, begin, end, sink);
}

Point MouseRealPosition(const ParameterSet& params, Host& host) {
  int px = 0, py = 0;
  if (!host.MousePosition(px, py)) return {0, 0};
  const double s = params.StartScale / 100.0;
  const double w = params.ImageWidth;
  const double h = params.ImageHeight;
  return {-s * w / h + (2 * s * w / h / w) * px, s - (2 * s / h) * py};
}

ShapeResult DrawByParameters(const ShapeArguments& args, ShapeContext& context) {
  const ParameterSet& p = context.params;
  const AnimationOverrides& anim = context.anim;
  StepState& state = context.state;
  const CurveSlots& curves = context.curves;
  ShapeResult result;
  const auto fail = [&result] {
    result.outcome = ShapeOutcome::kFailed;
    return result;
  };
  if (args.fn < kSineWobble || args.fn > kZarvk9032 || args.steps == 0) return fail();

  const double m3 = curves[kRadiusSlot].Multiplier, m6 = curves[kSmoothSlot].Multiplier;
  const double ex = state.EllipseFactorX, ey = state.EllipseFactorY;
  const double width = state.StepEllipseWidth, height = state.StepEllipseHeight;

  double g = args.g;
  if (p.AdjustGrain || p.UseDimmer) {
    state.DimmerFactor = std::fabs(m3) * (args.fn == kEllipses ? (ex + ey) / 2 : std::fabs(args.r));
  }
  if (p.AdjustGrain && p.GrainByDepth && std::fabs(m6) > 0) {
    g = g * state.DimmerFactor / std::fmax(std::fabs(m6), 0.01);
  }
  // Checked before the floor of 1, which would hide a NaN.
  if (!Finite(g, state.DimmerFactor)) return fail();
  g = std::fmax(g, 1.0);

  state.StepFraction = static_cast<double>(args.step) / args.steps;
  state.MouseRealPoint = {0, 0};
  double u = state.StepFraction - anim.AnimPathOffset;
  if (u < 0) u += 1;
  state.PathFraction = u;
  const double f = p.RockOffsetInAnimation ? state.StepFraction : u;

  const bool has_path_curve = curves[kPathCurveSlot].Curve.GetLength() > 0;
  if (has_path_curve) {
    const Point on_path = curves[kPathCurveSlot].Bezier.Eval(u);
    state.PathCurvePoint = {on_path.X, on_path.Y};
  }

  Point centre = PathCentre(args, u, width, height);
  if (!Finite(centre.X, centre.Y)) return fail();

  // Rocking swings the rotation to and fro over the run.
  const double rock_start =
      p.StartRockerAmount * curves[kRocksStartSlot].Multiplier + anim.AnimRockerStartAdd;
  const double rock_end = p.EndRockerAmount * curves[kRocksEndSlot].Multiplier + anim.AnimRockerEndAdd;
  const double amplitude = static_cast<double>((rock_start + (rock_end - rock_start) * f) * kPiL / 180);
  const double rocks = p.NumberOfRocks * curves[kRocksSlot].Multiplier + anim.AnimRocksAdd;
  const double rock_angle = static_cast<double>(rocks * f * kTwoPiL);
  const double phi0 = args.phi + std::sin(rock_angle) * amplitude;
  if (!std::isfinite(phi0)) return fail();

  if (p.QuorlPointsFollow) {
    state.MouseRealPoint = MouseRealPosition(p, context.host);
    centre = state.MouseRealPoint;
  } else if (p.QuorlPointsUseBezier && has_path_curve) {
    centre = state.PathCurvePoint;
  }
  centre.X += state.StepShiftX;
  centre.Y += state.StepShiftY;
  if (!Finite(centre.X, centre.Y)) return fail();

  double count = p.GrainMultiplier * g;
  if (!std::isfinite(count)) return fail();
  if (count <= 0) {
    result.outcome = ShapeOutcome::kNoPoints;
    return result;
  }
  if (count > kStepPointCap) {
    count = kStepPointCap;
    result.capped = true;
  }
  static_assert(kStepPointCap < kMaxPointCount, "the point count must fit an int");
  const double dtheta = static_cast<double>(kTwoPiL / count);
  const int n = static_cast<int>(std::floor(count));

  PointMaker maker{};
  Outline& outline = maker.outline;
  outline.fn = args.fn;
  outline.step = args.step;
  outline.steps = args.steps;
  outline.r = args.r;
  outline.b = args.b;
  outline.d = args.d;
  outline.D = args.D;
  outline.cx = centre.X;
  outline.cy = centre.Y;
  outline.width = width;
  outline.height = height;
  outline.ex = ex;
  outline.ey = ey;
  outline.lissa_delta = p.LissaDelta;
  outline.test_l = p.LissaDelta + 1 + anim.AnimLissaAdd;
  outline.ellipses_two = p.UseEllipsesTwo;
  outline.from_curves = p.QuorlPointsUseStartAndEndBezier && curves[kStartCurveSlot].Curve.GetLength() > 0 &&
                        (curves[kEndCurveSlot].Curve.GetLength() > 0 || p.QuorlPointsUseStartAsEnd);
  outline.start_as_end = p.QuorlPointsUseStartAsEnd;
  outline.point_count = count;
  outline.curves = &curves;

  maker.fn = args.fn;
  maker.use_z = p.UseZFactor;
  maker.wobble = p.Wobble;
  maker.diagonal = p.Style031;
  maker.r = args.r;
  maker.shift_x = state.StepShiftX;
  maker.shift_y = state.StepShiftY;
  maker.height = height;

  PointCarry carry{phi0, RotationByIota(phi0), args.rotation_centre};
  const PointCarrier carrier{p, context, phi0, p.QuorlPointsUseBezierRotate && has_path_curve};
  // Turning about the path curve's point holds for the whole step: set it
  // before the first point, so points made out of order (in batches, or
  // planned ahead) turn about it too, as the point-by-point loop does.
  if (carrier.bezier_rotate && !p.QuorlPointsFollowRotate) carry.rotation_centre = state.PathCurvePoint;
  const double bound = TwoPiBound();

  if (context.plan) {
    if (carrier.InOrder() || n > context.plan->limit - 2) {
      result.outcome = ShapeOutcome::kNotPlanned;
      return result;
    }
    ShapePlan::Outline& plan = context.plan->Room();
    plan.maker = maker;
    plan.carry = carry;
    plan.n = n;
    // The loop's own sum, angle after angle: about n + 1 of them.
    std::vector<double>& thetas = plan.thetas;
    thetas.resize(static_cast<std::size_t>(n) + 2);
    std::size_t made = 0;
    for (double theta = 0; theta <= bound; theta += dtheta) {
      if (made == thetas.size()) thetas.resize(2 * made);
      thetas[made++] = theta;
    }
    thetas.resize(made);
    result.outcome = ShapeOutcome::kPlanned;
    return result;
  }
  if (context.batches) {
    ShapeResult batched = DrawInBatches(args, context, maker, carrier, carry, dtheta, bound, n);
    batched.capped = result.capped;
    return batched;
  }

  context.sink.BeginShape(args.step, args.steps, args.limit, n);
  int i = 1;
  for (double theta = 0; theta <= bound; theta += dtheta, ++i) {
    carrier.Advance(theta, carry);
    OutlinePoint point;
    const bool made = maker.Make(theta, i, carry, point);
    state.ZFactor = point.z;
    if (!made || !context.sink.AddPoint(point.x, point.y, i, point.z)) return fail();
    ++result.points;
  }
  return result;
}

}  // namespace quorl
