#include "base/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace quorl {
namespace {

// Many short jobs in a row, as steps come, each sharing out numbered items
// through its own counter: every item is done exactly once, the job is over
// for everyone when Share returns, the caller runs as thread 0, and every
// helper keeps its own number from job to job. A lost wake-up would hang.
TEST(WorkerPool, SharedItemsAreEachDoneOnceByThreadsThatKeepTheirNumbers) {
  for (int threads : {1, 2, 5}) {
    WorkerPool pool(threads);
    ASSERT_EQ(pool.Threads(), threads);
    constexpr int kItems = 64;
    std::vector<std::atomic<int>> done(kItems);
    bool all_done_on_return = true;
    std::mutex numbers_lock;
    std::map<std::thread::id, int> numbers;
    bool numbers_kept = true;
    const std::thread::id caller = std::this_thread::get_id();
    for (int job = 0; job < 3000; ++job) {
      for (auto& d : done) d.store(0);
      std::atomic<int> next{0};
      std::atomic<int> inside{0};
      auto work = [&](int self) {
        ++inside;
        {
          std::lock_guard<std::mutex> lock(numbers_lock);
          const auto [it, added] = numbers.emplace(std::this_thread::get_id(), self);
          numbers_kept = numbers_kept && it->second == self && self >= 0 && self < threads &&
                         (self == 0) == (std::this_thread::get_id() == caller);
        }
        for (int i = next++; i < kItems; i = next++) done[static_cast<size_t>(i)].fetch_add(1);
        --inside;
      };
      pool.Share(work);
      all_done_on_return = all_done_on_return && inside.load() == 0;
      for (const auto& d : done) all_done_on_return = all_done_on_return && d.load() == 1;
    }
    EXPECT_TRUE(all_done_on_return) << threads << " threads";
    EXPECT_TRUE(numbers_kept) << threads << " threads";
    EXPECT_EQ(numbers.count(caller), 1u);
  }
}

// Open lets the helpers start while the caller does other work; Join runs
// the caller's share and waits for the helpers'. Alone, the caller does it
// all in Join.
TEST(WorkerPool, AnOpenedJobRunsOnHelpersBeforeTheCallerJoins) {
  for (int threads : {1, 2, 3}) {
    WorkerPool pool(threads);
    std::atomic<int> helpers{0};
    std::atomic<bool> caller_ran{false};
    std::atomic<int> next{0};
    constexpr int kItems = 1000;
    std::vector<std::atomic<int>> done(kItems);
    auto work = [&](int self) {
      if (self == 0)
        caller_ran = true;
      else
        ++helpers;
      for (int i = next++; i < kItems; i = next++) done[static_cast<size_t>(i)].fetch_add(1);
    };
    pool.Open(work);
    // The caller's other work: waiting (boundedly) for a helper to start.
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (threads > 1 && helpers.load() == 0 && std::chrono::steady_clock::now() < give_up)
      std::this_thread::yield();
    EXPECT_EQ(helpers.load() > 0, threads > 1) << threads << " threads";
    EXPECT_FALSE(caller_ran.load());
    pool.Join();
    EXPECT_TRUE(caller_ran.load());
    for (const auto& d : done) EXPECT_EQ(d.load(), 1) << threads << " threads";
  }
}

}  // namespace
}  // namespace quorl
