#include "engine/shape_step.h"

#include <gtest/gtest.h>

#include "base/seeded_random.h"
#include "base/worker_pool.h"
#include "support/engine_test_support.h"

namespace quorl {
namespace {

using testing::RecordingSink;
using testing::TestHost;

class ShapeStep : public ::testing::Test {
 protected:
  ShapeResult Draw(const ShapeArguments& args) {
    ShapeContext context{params, anim, state, curves, host, random, sink};
    return DrawByParameters(args, context);
  }

  ParameterSet params;
  AnimationOverrides anim;
  StepState state;
  CurveSlots curves;
  TestHost host;
  SeededRandom random{1};
  RecordingSink sink;
};

TEST_F(ShapeStep, DefaultGrainGives714AndAClosedOutline) {
  const ShapeResult result = Draw({});
  EXPECT_EQ(result.outcome, ShapeOutcome::kDrawn);
  EXPECT_EQ(sink.last_count, 714);  // GrainMultiplier 357 x grain 2
  ASSERT_EQ(sink.points.size(), 715u);
  EXPECT_EQ(result.points, 715);
  for (size_t k = 0; k < sink.points.size(); ++k) EXPECT_EQ(sink.points[k].index, static_cast<int>(k) + 1);
  EXPECT_NEAR(sink.points.front().x, sink.points.back().x, 1e-12);
  EXPECT_NEAR(sink.points.front().y, sink.points.back().y, 1e-12);
  // Radius 1 about the path start (-2, 0).
  EXPECT_NEAR(sink.points.front().x, -1, 1e-15);
  EXPECT_EQ(sink.last_limit, 2);
}

TEST_F(ShapeStep, ArithmeticErrorsEndTheStepKeepingEarlierPoints) {
  ShapeArguments args;
  args.d = 0;  // a smooth of 0: the bump term of the first point is 0 / 0
  for (int fn = kSineWobble; fn <= kZarvk9032; ++fn) {
    args.fn = fn;
    sink.points.clear();
    EXPECT_EQ(Draw(args).outcome, ShapeOutcome::kFailed) << "fn " << fn;
    EXPECT_TRUE(sink.points.empty()) << "fn " << fn;
  }

  // Circles at the edge of the double range overflow a few points in, once
  // the bump term grows.
  args = {};
  args.fn = kCircles;
  args.r = 1.7e308;
  args.b = 1;
  args.d = 1;
  sink.points.clear();
  const ShapeResult result = Draw(args);
  EXPECT_EQ(result.outcome, ShapeOutcome::kFailed);
  EXPECT_GT(sink.points.size(), 1u);
  EXPECT_LT(sink.points.size(), 50u);
  EXPECT_EQ(result.points, static_cast<int>(sink.points.size()));

  // A failure inside colouring ends the step the same way.
  sink.points.clear();
  sink.fail_at_point = 10;
  EXPECT_EQ(Draw({}).outcome, ShapeOutcome::kFailed);
  EXPECT_EQ(sink.points.size(), 9u);
}

TEST_F(ShapeStep, NoPointsWithoutAGrainMultiplier) {
  params.GrainMultiplier = 0;
  EXPECT_EQ(Draw({}).outcome, ShapeOutcome::kNoPoints);
  params.GrainMultiplier = -5;  // would otherwise never reach 2 pi
  EXPECT_EQ(Draw({}).outcome, ShapeOutcome::kNoPoints);
  EXPECT_EQ(sink.shapes, 0);
  EXPECT_TRUE(sink.points.empty());

  // An error earlier in the step comes first: that step fails, it is not "huh".
  state.StepEllipseWidth = -1;  // zarvk9032's centre divides by W + 1
  ShapeArguments args;
  args.fn = kZarvk9032;
  EXPECT_EQ(Draw(args).outcome, ShapeOutcome::kFailed);
}

// Batches, computed on several threads, must give exactly the points of
// the point-by-point loop, end a failing step at the same point, and leave
// the random generator, the depth factor and the mouse point as it does.
TEST_F(ShapeStep, BatchesOnAnyThreadsGiveThePointByPointResult) {
  struct Variant {
    const char* name;
    void (*set)(ParameterSet&, ShapeArguments&, TestHost&);
  };
  const Variant variants[] = {
      {"plain", [](ParameterSet&, ShapeArguments& a, TestHost&) { a.b = 3; }},
      {"scatter", [](ParameterSet& p, ShapeArguments&, TestHost&) { p.UseIotaExtra = true; }},
      {"mouse",
       [](ParameterSet& p, ShapeArguments&, TestHost& h) {
         p.QuorlPointsFollowRotate = true;
         p.Wobble = true;
         h.has_mouse = true;
         h.mouse_x = 300;
       }},
      {"depth",
       [](ParameterSet& p, ShapeArguments& a, TestHost&) {
         p.UseZFactor = true;
         a.phi = 0.7;
       }},
      {"bezier rotate",
       [](ParameterSet& p, ShapeArguments& a, TestHost&) {
         p.QuorlPointsUseBezierRotate = true;
         a.phi = 0.9;
         a.rotation_centre = {0.5, -0.3};
       }},
      // Overflows a few points in: inside a later batch, in the middle share.
      {"overflow",
       [](ParameterSet&, ShapeArguments& a, TestHost&) {
         a.r = 1.7e308;
         a.b = 1;
         a.d = 1;
       }},
      {"overflow with scatter",
       [](ParameterSet& p, ShapeArguments& a, TestHost&) {
         p.UseIotaExtra = true;
         a.r = 1.7e308;
         a.b = 1;
         a.d = 1;
       }},
  };
  WorkerPool pool(3);
  for (const Variant& v : variants) {
    for (int fn = kSineWobble; fn <= kZarvk9032; ++fn) {
      const std::string label = std::string(v.name) + ", fn " + std::to_string(fn);
      params = {};
      host = {};
      curves = {};
      if (std::string(v.name) == "bezier rotate") {
        // The shapes turn about the point on the path curve, not the step's
        // rotation centre.
        for (const Point& at : {Point{-1.5, -1}, Point{-0.8, 0.6}, Point{-0.2, 0.9}, Point{0.4, -0.7},
                                Point{0.9, 0.1}, Point{1.2, 0.8}})
          curves[kPathCurveSlot].Curve.AddPoint(at.X, at.Y);
        ASSERT_TRUE(curves.SetUpBezier(BezierKind::kSlot, kPathCurveSlot));
      }
      ShapeArguments args;
      args.fn = fn;
      args.step = 300;
      v.set(params, args, host);
      if (std::string(v.name).rfind("overflow", 0) == 0 && fn != kCircles) continue;

      random = SeededRandom(9);
      sink.points.clear();
      const ShapeResult expected = Draw(args);
      const double expected_z = state.ZFactor;
      const Point expected_mouse = state.MouseRealPoint;
      const double expected_next = random.Random();

      for (WorkerPool* threads : {static_cast<WorkerPool*>(nullptr), &pool}) {
        random = SeededRandom(9);
        state.ZFactor = -1;
        testing::RecordingBatchSink batch_sink(4);
        PointBatches batches;
        batches.sink = &batch_sink;
        batches.pool = threads;
        batches.parallelWork = 0;
        ShapeContext context{params, anim, state, curves, host, random, sink, &batches};
        const ShapeResult result = DrawByParameters(args, context);
        const std::string where = label + (threads ? ", 3 threads" : ", 1 thread");
        EXPECT_EQ(batch_sink.last_parts > 1, threads != nullptr) << where;
        EXPECT_EQ(result.outcome, expected.outcome) << where;
        EXPECT_EQ(result.points, expected.points) << where;
        ASSERT_EQ(batch_sink.points.size(), sink.points.size()) << where;
        for (size_t k = 0; k < sink.points.size(); ++k) {
          const auto& a = sink.points[k];
          const auto& b = batch_sink.points[k];
          ASSERT_TRUE(a.x == b.x && a.y == b.y && a.index == b.index && a.z == b.z)
              << where << ", point " << k;
        }
        EXPECT_EQ(state.ZFactor, expected_z) << where;
        EXPECT_EQ(state.MouseRealPoint, expected_mouse) << where;
        EXPECT_EQ(random.Random(), expected_next) << where << ": the random generator moved on differently";
      }
      if (std::string(v.name).rfind("overflow", 0) == 0) {
        EXPECT_EQ(expected.outcome, ShapeOutcome::kFailed) << label;
        EXPECT_GT(expected.points, 4) << label << ": should fail after the first batch";
      }
    }
  }
}

}  // namespace
}  // namespace quorl
