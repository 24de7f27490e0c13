// A small set of threads that live as long as the pool and run one job at a
// time on all of them: the drawing run hands each step's work to it instead
// of starting threads per step.
#pragma once

#include <atomic>
#include <barrier>
#include <thread>
#include <vector>

namespace quorl {

// The number of threads the machine runs at once (at least 1).
int HardwareThreads();

class WorkerPool {
 public:
  // `threads` counts the calling thread too: a pool of 1 starts no thread.
  explicit WorkerPool(int threads);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  int Threads() const { return threads_; }

  // Runs job(t) for every t from 0 to Threads() - 1 at the same time, t = 0
  // on the calling thread, and returns when every one has returned. Jobs
  // must not throw. Inside a job, Sync() waits until all of them reach it.
  template <typename Job>
  void Run(Job& job) {
    RunErased(&job, [](void* j, int t) { (*static_cast<Job*>(j))(t); });
  }
  void Sync();

 private:
  using Trampoline = void (*)(void*, int);
  void RunErased(void* job, Trampoline call);
  void WorkerLoop(int index);

  const int threads_;
  std::vector<std::thread> workers_;
  std::barrier<> sync_;
  // Bumped once per job; workers wait for it to change.
  std::atomic<unsigned> generation_{0};
  // Workers still running the current job.
  std::atomic<int> busy_{0};
  std::atomic<bool> quit_{false};
  void* job_ = nullptr;
  Trampoline call_ = nullptr;
};

}  // namespace quorl
