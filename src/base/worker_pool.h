// A small set of threads that live as long as the pool and help the calling
// thread with one job at a time: the drawing run hands each step's work to
// it instead of starting threads per step.
//
// A job shares its work out through its own counters, and whichever threads
// run it finish it: the caller alone if need be. So a helper that the
// system does not schedule in time (other programs busy on the cores) holds
// nobody up; the caller never waits for a helper that has not started.
#pragma once

#include <atomic>
#include <thread>
#include <vector>

namespace quorl {

// The number of CPUs this process may run on (at least 1).
int HardwareThreads();

// Waits until done() holds, spinning briefly, then giving the core away
// between looks. For waits of microseconds, on work other threads finish.
template <typename Done>
void SpinUntil(Done done) {
  for (int i = 0; !done(); ++i) {
    if (i < 2000) {
#if defined(__x86_64__) || defined(__i386__)
      __builtin_ia32_pause();
#endif
    } else {
      std::this_thread::yield();
    }
  }
}

class WorkerPool {
 public:
  // `threads` counts the calling thread too: a pool of 1 starts no thread.
  explicit WorkerPool(int threads);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  int Threads() const { return threads_; }

  // Runs job(self) on the calling thread (self 0) and on every helper
  // (self 1 ... Threads() - 1, the same for a helper from job to job) that
  // joins before the caller's run of it returns; returns when every thread
  // that joined has returned. job() must not throw.
  template <typename Job>
  void Share(Job& job) {
    Open(job);
    Join();
  }

  // Share in two halves, for a caller with other work meanwhile: Open lets
  // the helpers start job(self) at once; Join runs the caller's job(0) and
  // returns when every thread that joined has returned. `job` must live
  // until Join returns, and the caller shares no other job in between.
  template <typename Job>
  void Open(Job& job) {
    OpenErased(&job, [](void* j, int self) { (*static_cast<Job*>(j))(self); });
  }
  void Join();

 private:
  using Trampoline = void (*)(void*, int);
  void OpenErased(void* job, Trampoline call);
  void WorkerLoop(int self);

  const int threads_;
  std::vector<std::thread> workers_;
  // Bumped once per job; helpers wait for it to change.
  std::atomic<unsigned> generation_{0};
  // kOpen while the current job may be joined, plus the helpers inside it.
  static constexpr unsigned kOpen = 1u << 31;
  std::atomic<unsigned> entry_{0};
  std::atomic<bool> quit_{false};
  // Written only while no helper can join.
  void* job_ = nullptr;
  Trampoline call_ = nullptr;
};

}  // namespace quorl
