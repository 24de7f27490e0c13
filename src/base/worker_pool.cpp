#include "base/worker_pool.h"

#include <sched.h>

#include <algorithm>

namespace quorl {
namespace {

// Steps follow each other within microseconds, so an idle helper first
// spins a little before it sleeps; on a busy machine sleeping soon matters
// more than waking fast.
constexpr int kSpins = 2000;

inline void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

// Waits until done() holds; done() must turn true only through a change of
// `value` that is followed by a notify.
template <typename T, typename Done>
void SpinThenSleep(const std::atomic<T>& value, Done done) {
  for (int i = 0; i < kSpins; ++i) {
    if (done()) return;
    CpuRelax();
  }
  for (;;) {
    const T now = value.load(std::memory_order_acquire);
    if (done()) return;
    value.wait(now, std::memory_order_acquire);
  }
}

}  // namespace

int HardwareThreads() {
  // The CPUs this process may run on (taskset, cgroups' cpusets), not the
  // machine's count: more threads than those only take turns.
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
    const int n = CPU_COUNT(&allowed);
    if (n > 0) return std::min(n, 1024);
  }
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 1 : static_cast<int>(std::min(n, 1024u));
}

WorkerPool::WorkerPool(int threads) : threads_(std::max(1, threads)) {
  workers_.reserve(static_cast<std::size_t>(threads_ - 1));
  for (int t = 1; t < threads_; ++t) workers_.emplace_back([this, t] { WorkerLoop(t); });
}

WorkerPool::~WorkerPool() {
  quit_.store(true, std::memory_order_release);
  generation_.fetch_add(1, std::memory_order_acq_rel);
  generation_.notify_all();
  for (std::thread& w : workers_) w.join();
}

void WorkerPool::OpenErased(void* job, Trampoline call) {
  job_ = job;
  call_ = call;
  if (threads_ == 1) return;
  entry_.store(kOpen, std::memory_order_release);
  generation_.fetch_add(1, std::memory_order_release);
  generation_.notify_all();
}

void WorkerPool::Join() {
  call_(job_, 0);
  if (threads_ == 1) return;
  // No one joins from here on; wait for those inside. The last to leave
  // wakes the caller.
  entry_.fetch_and(~kOpen, std::memory_order_acq_rel);
  SpinThenSleep(entry_, [&] { return entry_.load(std::memory_order_acquire) == 0; });
}

void WorkerPool::WorkerLoop(int self) {
  unsigned seen = 0;
  for (;;) {
    SpinThenSleep(generation_, [&] { return generation_.load(std::memory_order_acquire) != seen; });
    seen = generation_.load(std::memory_order_acquire);
    if (quit_.load(std::memory_order_acquire)) return;
    // Join the open job, if there still is one: it may be this generation's
    // or, after a long sleep, a later one's.
    unsigned entry = entry_.load(std::memory_order_acquire);
    bool joined = false;
    while ((entry & kOpen) != 0 && !joined) {
      joined = entry_.compare_exchange_weak(entry, entry + 1, std::memory_order_acq_rel,
                                            std::memory_order_acquire);
    }
    if (!joined) continue;
    call_(job_, self);
    if (entry_.fetch_sub(1, std::memory_order_acq_rel) == 1) entry_.notify_one();
  }
}

}  // namespace quorl
