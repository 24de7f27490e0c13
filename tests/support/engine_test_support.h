// Helpers shared by the engine tests: a sink that records the points of a
// step, a host with a settable mouse, and curve set-up.
#pragma once

#include <string>
#include <vector>

#include "base/host.h"
#include "curves/curve_slots.h"
#include "engine/point_batch.h"
#include "engine/point_sink.h"
#include "engine/step_state.h"

namespace quorl::testing {

struct RecordedPoint {
  double x, y;
  int index;
  double z;
};

class RecordingSink : public PointSink {
 public:
  void BeginShape(int step, int steps, double limit, int count) override {
    ++shapes;
    last_step = step;
    last_steps = steps;
    last_limit = limit;
    last_count = count;
  }
  bool AddPoint(double x, double y, int index, double z) override {
    if (fail_at_point > 0 && static_cast<int>(points.size()) + 1 == fail_at_point) return false;
    points.push_back({x, y, index, z});
    return true;
  }
  int shapes = 0;
  int last_step = -1, last_steps = -1, last_count = -1;
  double last_limit = -1;
  int fail_at_point = 0;  // 1-based; 0 never fails
  std::vector<RecordedPoint> points;
};

// Batches: keeps what part 0 colours, in order, as the recording sink does.
class RecordingBatchSink : public PointBatchSink {
 public:
  explicit RecordingBatchSink(int capacity) : capacity_(capacity), batch_(static_cast<size_t>(capacity)) {}
  void BeginShape(int, int, double, int count) override { last_count = count; }
  int BatchCapacity() const override { return capacity_; }
  int WorkPerPoint() const override { return 9; }
  void SetParts(int parts) override { last_parts = parts; }
  void StorePoints(int first, const OutlinePoint* block, int count) override {
    for (int k = 0; k < count; ++k) batch_[static_cast<size_t>(first + k)] = block[k];
  }
  int PointsIn(int, int) const override { return 1; }
  void ApplyPoints(int count, int part) override {
    if (part != 0) return;
    ++batches;
    for (int k = 0; k < count; ++k) {
      const OutlinePoint& p = batch_[static_cast<size_t>(k)];
      points.push_back({p.x, p.y, p.index, p.z});
    }
  }
  int last_count = -1, last_parts = 0, batches = 0;
  std::vector<RecordedPoint> points;

 private:
  int capacity_;
  std::vector<OutlinePoint> batch_;
};

class TestHost : public Host {
 public:
  void ShowStatus(const std::string& message) override { status.push_back(message); }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool MousePosition(int& px, int& py) override {
    if (!has_mouse) return false;
    px = mouse_x;
    py = mouse_y;
    return true;
  }
  bool has_mouse = false;
  int mouse_x = 0, mouse_y = 0;
  std::vector<std::string> status;
  std::vector<std::string> messages;
};

}  // namespace quorl::testing
