#include "engine/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace quorl {
namespace {

TEST(WorkerPool, EveryThreadRunsEachJobOnceAndSyncWaitsForAll) {
  for (int threads : {1, 2, 5}) {
    WorkerPool pool(threads);
    ASSERT_EQ(pool.Threads(), threads);
    // Many short jobs in a row, as steps come: a lost wake-up would hang
    // here and a job run twice or not at all would miscount.
    std::vector<int> runs(static_cast<size_t>(threads), 0);
    std::vector<int> written(static_cast<size_t>(threads), -1);
    std::atomic<int> mismatches{0};
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<int> on_caller{0};
    for (int job = 0; job < 2000; ++job) {
      auto work = [&](int t) {
        ++runs[static_cast<size_t>(t)];
        if (std::this_thread::get_id() == caller) on_caller += t == 0 ? 1 : 100;
        written[static_cast<size_t>(t)] = job;
        pool.Sync();
        // After Sync every thread has written this job's value.
        for (int other = 0; other < threads; ++other)
          if (written[static_cast<size_t>(other)] != job) ++mismatches;
        pool.Sync();  // nobody writes the next job's value while others read
      };
      pool.Run(work);
    }
    for (int t = 0; t < threads; ++t) EXPECT_EQ(runs[static_cast<size_t>(t)], 2000) << threads << " threads";
    EXPECT_EQ(mismatches, 0) << threads << " threads";
    EXPECT_EQ(on_caller, 2000) << "part 0, and only part 0, runs on the calling thread";
  }
}

TEST(WorkerPool, HardwareThreadsIsAtLeastOne) { EXPECT_GE(HardwareThreads(), 1); }

}  // namespace
}  // namespace quorl
