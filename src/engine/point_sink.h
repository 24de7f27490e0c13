// Where the points of one step's outline go: colour accumulation in a run,
// a recorder in the tests.
#pragma once

namespace quorl {

class PointSink {
 public:
  virtual ~PointSink() = default;
  // Called once per step before the first point, after the step's shared
  // values (DimmerFactor and the rest) are set. `count` is the step's point
  // count n; point indices run 1, 2, 3, ... and may reach n + 1.
  virtual void BeginShape(int step, int steps, double limit, int count) = 0;
  // One point in real units. `z_factor` is the point's depth factor.
  // Returns false when the accumulation failed; the step then ends.
  virtual bool AddPoint(double x, double y, int index, double z_factor) = 0;
};

}  // namespace quorl
