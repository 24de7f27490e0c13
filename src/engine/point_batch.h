// A step's points computed ahead of colouring, a batch at a time, so that
// several threads can share both the computing and the colouring. The
// points of a batch are computed in any order by any thread; colouring then
// takes them in their order along the outline.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace quorl {

class WorkerPool;

// One point of a step's outline, in real units.
struct OutlinePoint {
  double x = 0;
  double y = 0;
  int index = 1;  // counted from 1 along the outline
  double z = 1;   // depth factor
};

class PointBatchSink {
 public:
  // The most parts a step's canvas is cut into.
  static constexpr int kMaxParts = 64;
  // Points are stored in blocks of up to this many.
  static constexpr int kBlock = 256;

  virtual ~PointBatchSink() = default;
  // Called once per step before the first batch, after the step's shared
  // values are set; `count` is the step's point count n.
  virtual void BeginShape(int step, int steps, double limit, int count) = 0;
  // The most points one batch may hold (at least 1).
  virtual int BatchCapacity() const = 0;
  // Work of colouring one point, in sub-samples, to judge whether a batch
  // is worth sharing out.
  virtual int WorkPerPoint() const = 0;
  // Into how many parts the canvas is cut for colouring this step's
  // batches (called once per step, before its first batch).
  virtual void SetParts(int parts) = 0;
  // Makes points first ... first + count - 1 of the current batch ready: a
  // block, with first a multiple of kBlock and count at most kBlock; every
  // point later coloured is stored in this batch. Threads call this at the
  // same time for different blocks.
  virtual void StorePoints(int first, const OutlinePoint* points, int count) = 0;
  // How many of the batch's points of block b (points b * kBlock ...) reach
  // canvas part `part`: a guide for sharing the parts out, read once all
  // points are stored.
  virtual int PointsIn(int block, int part) const = 0;
  // Colours points 0 ... count - 1 of the batch, in their order, in canvas
  // part `part`. Threads call this at the same time for different parts;
  // all the parts together colour every sub-sample once.
  virtual void ApplyPoints(int count, int part) = 0;
};

// How much of one thread's list of work has been taken from its front (its
// own thread) and from its back (other threads), in one word, with a cache
// line of its own.
struct alignas(64) WorkCounter {
  std::atomic<std::uint64_t> taken{0};
};

// How a step hands its points over in batches: the sink, the threads (none:
// the calling thread alone) and room that lasts from step to step.
struct PointBatches {
  PointBatchSink* sink = nullptr;
  WorkerPool* pool = nullptr;
  // The least work (in sub-samples) a step must have to be shared out;
  // smaller steps run on the calling thread alone. The picture does not
  // depend on it.
  long long parallelWork = 16384;
  std::vector<double> thetas;  // the angles of the current batch
  std::vector<int> failures;   // per block of points: its first failed point
  std::vector<int> makers;     // per block of points: the thread that made it
  // Blocks and parts dealt out to the threads (see shape_step.cpp).
  std::vector<int> blockItems, blockBegin, partItems, partBegin;
  std::unique_ptr<WorkCounter[]> counters;  // two per thread
};

}  // namespace quorl
