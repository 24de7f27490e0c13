// Frames of a series drawn side by side, for frames too small to keep every
// core busy on their own: each worker has a program state of its own and
// draws a whole frame on one thread. Frames are handed back in the order
// they were started, so they are saved in frame order. A frame is the same
// picture as when drawn alone: it starts from a cleared canvas, with its
// own random numbers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "base/host.h"
#include "engine/drawing_run.h"
#include "engine/program_state.h"

namespace quorl {

class SideBySideFrames {
 public:
  // Takes a drawn frame, in frame order.
  using Done = std::function<void(int frame, ProgramState& state)>;

  explicit SideBySideFrames(int workers);
  ~SideBySideFrames();
  SideBySideFrames(const SideBySideFrames&) = delete;
  SideBySideFrames& operator=(const SideBySideFrames&) = delete;

  // Whether a series with these settings is drawn side by side with
  // `threads` threads: when one frame's steps are too small to be shared
  // among threads, and the frames need no pictures loaded.
  static bool Suits(const ProgramState& state, int threads);
  // Frames in flight for `threads` threads: one more when the canvas is
  // small, so that while the calling thread saves a frame every core still
  // draws one.
  static int WorkersFor(const ProgramState& state, int threads);

  // Starts frame f with the parameters, overrides, flags and curves `model`
  // holds now, and random numbers from `seed`. When every worker is busy,
  // first waits for the oldest frame and hands it to `done`.
  void Start(int frame, const ProgramState& model, std::uint64_t seed, const Done& done);
  // Waits for every frame in flight, handing each to `done` in order.
  void Finish(const Done& done);
  // Waits for the frames in flight and drops them.
  void Drop();

 private:
  struct Worker {
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    Host host;  // silent: the series reports the frames
    std::unique_ptr<DrawingRun> run;
    std::thread thread;
    int frame = 0;
  };
  void HandBackOldest(const Done* done);

  std::vector<Worker> workers_;
  // Workers with a frame in flight, oldest first.
  std::vector<int> inFlight_;
};

}  // namespace quorl
