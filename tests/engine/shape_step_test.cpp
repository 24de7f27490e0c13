#include "engine/shape_step.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/angles.h"
#include "engine/seeded_random.h"
#include "engine/step_arithmetic.h"
#include "engine/worker_pool.h"
#include "engine_test_support.h"

namespace quorl {
namespace {

using testing::RecordingSink;
using testing::SetCurve;
using testing::TestHost;

constexpr double kPi = 3.14159265358979323846;

class ShapeStep : public ::testing::Test {
 protected:
  ShapeResult Draw(const ShapeArguments& args) {
    ShapeContext context{params, anim, state, curves, host, random, sink};
    return DrawByParameters(args, context);
  }
  // The angle of point k (1-based), accumulated the way the step does.
  static double ThetaOf(int k, double count) {
    const double dtheta = static_cast<double>(kTwoPiL / count);
    double theta = 0;
    for (int i = 1; i < k; ++i) theta += dtheta;
    return theta;
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

TEST_F(ShapeStep, GrainIsRaisedToOneAndScaledByDepth) {
  ShapeArguments args;
  args.g = 0.2;
  Draw(args);
  EXPECT_EQ(sink.last_count, 357);

  params.AdjustGrain = true;
  params.GrainByDepth = true;
  args.g = 2;
  args.r = 2;  // DimmerFactor = |m3| * |r| = 2, so grain 2 * 2 / |m6|
  Draw(args);
  EXPECT_EQ(state.DimmerFactor, 2);
  EXPECT_EQ(sink.last_count, 357 * 4);

  // Ellipses take the mean stretch factor instead of the radius.
  state.EllipseFactorX = 0.5;
  state.EllipseFactorY = 1.5;
  args.fn = kEllipses;
  Draw(args);
  EXPECT_EQ(state.DimmerFactor, 1);
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

TEST_F(ShapeStep, LineWithoutBumpsIsAVerticalSegment) {
  ShapeArguments args;
  args.fn = kLine;
  args.step = 500;  // centre (0, 0) on the default path
  Draw(args);
  ASSERT_EQ(sink.points.size(), 715u);
  for (const auto& p : sink.points) {
    EXPECT_EQ(p.x, 0);
    EXPECT_LE(std::fabs(p.y), 1.0);
  }
  EXPECT_EQ(sink.points[0].y, 1);
  EXPECT_NEAR(sink.points[357].y, -1, 1e-12);
}

TEST_F(ShapeStep, CirclesWithoutBumpsDrawTheFifthPowerCurve) {
  ShapeArguments args;
  args.fn = kCircles;
  args.r = 1.5;
  args.step = 500;
  Draw(args);
  // (x/r)^(2/5) + (y/r)^(2/5) = cos^2 + sin^2 = 1
  for (const auto& p : sink.points) {
    const double sum = std::pow(std::fabs(p.x / 1.5), 0.4) + std::pow(std::fabs(p.y / 1.5), 0.4);
    EXPECT_NEAR(sum, 1, 1e-9);
  }
}

TEST_F(ShapeStep, WobbleCirclesTheRotationCentreOrRunsAlongADiagonal) {
  ShapeArguments args;
  args.phi = kPi;  // a half turn: final = 2q - p, so q can be read back
  args.rotation_centre = {0.5, 0.25};
  params.Wobble = true;
  for (bool diagonal : {false, true}) {
    params.Style031 = diagonal;
    sink.points.clear();
    Draw(args);
    ASSERT_EQ(sink.points.size(), 715u);
    for (const auto& p : sink.points) {
      const double theta = ThetaOf(p.index, 714);
      const double px = std::cos(theta) - 2, py = std::sin(theta);  // outline about (-2, 0)
      const double qx = (p.x + px) / 2 - 0.5, qy = (p.y + py) / 2 - 0.25;
      EXPECT_NEAR(qx, std::cos(theta) / 2, 1e-9);
      EXPECT_NEAR(qy, (diagonal ? std::cos(theta) : std::sin(theta)) / 2, 1e-9);
    }
  }
}

TEST_F(ShapeStep, RockingFollowsTheRockFraction) {
  params.NumberOfRocks = 1;
  params.StartRockerAmount = 90;
  params.EndRockerAmount = 90;
  ShapeArguments args;
  args.step = 250;  // a quarter of the run: the swing is at its widest, 90 degrees
  args.rotation_centre = {1, 1};
  Draw(args);
  // First point (0, 0) turned a quarter about (1, 1).
  EXPECT_NEAR(sink.points[0].x, 2, 1e-12);
  EXPECT_NEAR(sink.points[0].y, 0, 1e-12);

  // Delaying the path by a quarter puts the path position at 0 (no swing)
  // unless the rocks follow the step.
  anim.AnimPathOffset = 0.25;
  sink.points.clear();
  Draw(args);
  EXPECT_EQ(state.PathFraction, 0);
  EXPECT_NEAR(sink.points[0].x, -1, 1e-12);
  EXPECT_NEAR(sink.points[0].y, 0, 1e-12);
  params.RockOffsetInAnimation = true;
  sink.points.clear();
  Draw(args);
  EXPECT_NEAR(sink.points[0].x, 2, 1e-12);  // first point (-1, 0) turned about (1, 1)
  EXPECT_NEAR(sink.points[0].y, -1, 1e-12);
}

TEST_F(ShapeStep, CentreFollowsTheMouseOrThePathCurve) {
  params.QuorlPointsFollow = true;
  host.has_mouse = true;  // top-left pixel of an 800 x 800 canvas at scale 2
  Draw({});
  EXPECT_EQ(state.MouseRealPoint, (RealPoint{-2, 2}));
  EXPECT_NEAR(sink.points[0].x, -1, 1e-12);
  EXPECT_NEAR(sink.points[0].y, 2, 1e-12);

  host.has_mouse = false;  // no pointer: the centre of the plane
  sink.points.clear();
  Draw({});
  EXPECT_NEAR(sink.points[0].x, 1, 1e-12);

  params.QuorlPointsFollow = false;
  params.QuorlPointsUseBezier = true;
  SetCurve(curves, kPathCurveSlot, testing::FlatLine(1));
  sink.points.clear();
  Draw({});
  EXPECT_NEAR(state.PathCurvePoint.x, -2, 1e-9);
  EXPECT_NEAR(sink.points[0].x, -1, 1e-9);
  EXPECT_NEAR(sink.points[0].y, 1, 1e-9);
}

TEST_F(ShapeStep, RotationCentreFollowsTheMouseAtEveryPoint) {
  params.QuorlPointsFollowRotate = true;
  host.has_mouse = true;
  host.mouse_x = 400;
  host.mouse_y = 200;  // real (0, 1)
  ShapeArguments args;
  args.phi = kPi;
  Draw(args);
  // The first point (-1, 0) half-turned about (0, 1).
  EXPECT_NEAR(sink.points[0].x, 1, 1e-12);
  EXPECT_NEAR(sink.points[0].y, 2, 1e-12);
  EXPECT_EQ(state.MouseRealPoint, (RealPoint{0, 1}));
}

TEST_F(ShapeStep, OutlineFromTheStartCurveIsCentredOnItsCentroid) {
  params.QuorlPointsUseStartAndEndBezier = true;
  ShapeArguments args;
  args.step = 500;  // centre (0, 0)
  Draw(args);  // no start curve yet: the sine rule
  const auto from_function = sink.points;

  // A circle of radius 1 drawn about (5, 5).
  std::vector<kCoord> circle;
  for (int k = 0; k < 16; ++k) circle.push_back({5 + std::cos(k * kPi / 8), 5 + std::sin(k * kPi / 8)});
  SetCurve(curves, kStartCurveSlot, circle);
  sink.points.clear();
  Draw(args);  // no end curve and not "start as end": still the function
  ASSERT_EQ(sink.points.size(), from_function.size());
  EXPECT_EQ(sink.points[10].x, from_function[10].x);

  params.QuorlPointsUseStartAsEnd = true;
  sink.points.clear();
  Draw(args);
  double mean_x = 0, mean_y = 0;
  for (const auto& p : sink.points) {
    mean_x += p.x / sink.points.size();
    mean_y += p.y / sink.points.size();
    EXPECT_LT(std::hypot(p.x, p.y), 1.05);
    EXPECT_GT(std::hypot(p.x, p.y), 0.8);
  }
  EXPECT_NEAR(mean_x, 0, 0.1);
  EXPECT_NEAR(mean_y, 0, 0.1);
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
      {"depth", [](ParameterSet& p, ShapeArguments& a, TestHost&) {
         p.UseZFactor = true;
         a.phi = 0.7;
       }},
      // Overflows a few points in: inside a later batch, in the middle share.
      {"overflow", [](ParameterSet&, ShapeArguments& a, TestHost&) {
         a.r = 1.7e308;
         a.b = 1;
         a.d = 1;
       }},
      {"overflow with scatter", [](ParameterSet& p, ShapeArguments& a, TestHost&) {
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
      ShapeArguments args;
      args.fn = fn;
      args.step = 300;
      v.set(params, args, host);
      if (std::string(v.name).rfind("overflow", 0) == 0 && fn != kCircles) continue;

      random = SeededRandom(9);
      sink.points.clear();
      const ShapeResult expected = Draw(args);
      const double expected_z = state.ZFactor;
      const RealPoint expected_mouse = state.MouseRealPoint;
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
          ASSERT_TRUE(a.x == b.x && a.y == b.y && a.index == b.index && a.z == b.z) << where << ", point " << k;
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

TEST(RotationByIota, MatchesRotatePointByIotaToTheBit) {
  SeededRandom random(5);
  for (int k = 0; k < 1000; ++k) {
    const double v[5] = {random.Random() * 20 - 10, random.Random() * 20 - 10, random.Random() * 4 - 2,
                         random.Random() * 4 - 2, random.Random() * 100 - 50};
    const RealPoint p = RotationByIota(v[4]).Apply(v[0], v[1], v[2], v[3]);
    EXPECT_EQ(p.x, rotatePointByIota(Axis::X, v[0], v[1], v[2], v[3], v[4]));
    EXPECT_EQ(p.y, rotatePointByIota(Axis::Y, v[0], v[1], v[2], v[3], v[4]));
  }
}

}  // namespace
}  // namespace quorl
