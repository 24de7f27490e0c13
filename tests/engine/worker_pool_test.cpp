#include "engine/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace quorl {
namespace {

// Many short jobs in a row, as steps come, each sharing out numbered items
// through its own counter: every item is done exactly once, the caller
// takes part, the job is over for everyone when Share returns, and a lost
// wake-up would hang here.
TEST(WorkerPool, SharedItemsAreEachDoneOnceAndAllDoneOnReturn) {
  for (int threads : {1, 2, 5}) {
    WorkerPool pool(threads);
    ASSERT_EQ(pool.Threads(), threads);
    constexpr int kItems = 64;
    std::vector<std::atomic<int>> done(kItems);
    int by_caller = 0;
    bool all_done_on_return = true;
    const std::thread::id caller = std::this_thread::get_id();
    for (int job = 0; job < 3000; ++job) {
      for (auto& d : done) d.store(0);
      std::atomic<int> next{0};
      std::atomic<int> inside{0};
      auto work = [&] {
        ++inside;
        for (int i = next++; i < kItems; i = next++) {
          done[static_cast<size_t>(i)].fetch_add(1);
          if (std::this_thread::get_id() == caller) ++by_caller;
        }
        --inside;
      };
      pool.Share(work);
      all_done_on_return = all_done_on_return && inside.load() == 0;
      for (const auto& d : done) all_done_on_return = all_done_on_return && d.load() == 1;
    }
    EXPECT_TRUE(all_done_on_return) << threads << " threads";
    EXPECT_GT(by_caller, 0) << threads << " threads";
  }
}

// A job that waits for its items to be finished by others finishes even when
// the helpers take their time to join.
TEST(WorkerPool, SpinUntilSeesOtherThreadsWork) {
  WorkerPool pool(3);
  for (int job = 0; job < 500; ++job) {
    std::atomic<int> next{0}, finished{0};
    auto work = [&] {
      for (int i = next++; i < 8; i = next++) finished.fetch_add(1, std::memory_order_release);
      SpinUntil([&] { return finished.load(std::memory_order_acquire) == 8; });
    };
    pool.Share(work);
    ASSERT_EQ(finished.load(), 8);
  }
}

TEST(WorkerPool, HardwareThreadsIsAtLeastOne) { EXPECT_GE(HardwareThreads(), 1); }

}  // namespace
}  // namespace quorl
