#include "app/side_by_side_frames.h"

#include <algorithm>
#include <cmath>

#include "canvas/canvas_grids.h"
#include "engine/draw_record.h"

namespace quorl {
namespace {

// A step with less colouring work than this is drawn on one thread (see
// DrawingRun::SetParallelWork), so frames of such steps go side by side.
constexpr double kSharedStepWork = 16384;

// The most colouring work of a step, in sub-samples, from the stored
// parameters (curve multipliers aside).
double StepWork(const ParameterSet& p) {
  const double grain = std::max(std::fabs(p.StartGrain), std::fabs(p.EndGrain));
  const double side = std::round(std::max(std::fabs(p.StartLimit), std::fabs(p.EndLimit))) + 1;
  return std::max(grain, 1.0) * std::fabs(p.GrainMultiplier) * side * side;
}

}  // namespace

SideBySideFrames::SideBySideFrames(int workers) : workers_(static_cast<std::size_t>(std::max(workers, 1))) {
  for (Worker& w : workers_) {
    w.run = std::make_unique<DrawingRun>(*w.state, w.host);
    w.run->SetThreads(1);
    w.run->SetShowsPictureWhileDrawing(false);
  }
}

SideBySideFrames::~SideBySideFrames() {
  Drop();
}

bool SideBySideFrames::Suits(const ProgramState& state, int threads) {
  return threads > 1 && !state.source.Loaded() && !state.background.Loaded() &&
         StepWork(state.params) < kSharedStepWork;
}

int SideBySideFrames::WorkersFor(const ProgramState& state, int threads) {
  // Each frame in flight holds a canvas of its own.
  constexpr std::uint64_t kSmallGrids = 64ULL << 20;
  return threads + (GridBytesFor(state.params.ImageWidth, state.params.ImageHeight) <= kSmallGrids ? 1 : 0);
}

void SideBySideFrames::Start(int frame, const ProgramState& model, std::uint64_t seed, const Done& done) {
  if (inFlight_.size() == workers_.size()) HandBackOldest(&done);
  int free = 0;
  while (std::find(inFlight_.begin(), inFlight_.end(), free) != inFlight_.end()) ++free;
  Worker& w = workers_[static_cast<std::size_t>(free)];
  ProgramState& s = *w.state;
  s.params = model.params;
  s.layout = model.layout;
  s.flags = model.flags;
  s.anim = model.anim;
  s.curves = model.curves;
  s.UseArctan2 = model.UseArctan2;
  SetScatterSeed(s, seed);
  w.frame = frame;
  // The canvas as a series leaves it after the frame before: cleared.
  w.thread = std::thread([&w] {
    w.run->Clear();
    w.run->DrawAllSteps();
  });
  inFlight_.push_back(free);
}

void SideBySideFrames::HandBackOldest(const Done* done) {
  const int oldest = inFlight_.front();
  inFlight_.erase(inFlight_.begin());
  Worker& w = workers_[static_cast<std::size_t>(oldest)];
  w.thread.join();
  if (done) (*done)(w.frame, *w.state);
}

void SideBySideFrames::Finish(const Done& done) {
  while (!inFlight_.empty()) HandBackOldest(&done);
}

void SideBySideFrames::Drop() {
  while (!inFlight_.empty()) HandBackOldest(nullptr);
}

}  // namespace quorl
