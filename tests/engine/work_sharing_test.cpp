#include "engine/work_sharing.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace quorl {
namespace {

// A sink that only answers how many points of a block reach a part.
class CountingSink : public PointBatchSink {
 public:
  CountingSink(int blocks, int parts) : parts_(parts), counts_(static_cast<size_t>(blocks * parts)) {}
  void Set(int block, int part, int n) { counts_[static_cast<size_t>(block * parts_ + part)] = n; }
  int PointsIn(int block, int part) const override {
    return counts_[static_cast<size_t>(block * parts_ + part)];
  }
  void BeginShape(int, int, double, int) override {}
  int BatchCapacity() const override { return 1; }
  int WorkPerPoint() const override { return 1; }
  void SetParts(int) override {}
  void StorePoints(int, const OutlinePoint*, int) override {}
  void ApplyPoints(int, int) override {}

 private:
  int parts_;
  std::vector<int> counts_;
};

TEST(WorkSharing, AThreadTakesItsOwnFromTheFrontThenTheOthersFromTheBack) {
  const std::vector<int> items = {10, 11, 12, 20, 21, 30};
  const std::vector<int> begin = {0, 3, 5, 6};  // thread 0: 10 11 12, 1: 20 21, 2: 30
  auto counters = std::make_unique<WorkCounter[]>(3);
  const DealtWork work{items.data(), begin.data(), counters.get(), 3};
  std::vector<int> order;
  work.Take(1, [&](int item) { order.push_back(item); });
  EXPECT_EQ(order, (std::vector<int>{20, 21, 30, 12, 11, 10}));

  // What one thread has taken is gone for the others.
  for (int t = 0; t < 3; ++t) counters[t].taken.store(0);
  EXPECT_EQ(work.Claim(0, true), 0);
  EXPECT_EQ(work.Claim(0, false), 2);
  EXPECT_EQ(work.Claim(0, false), 1);
  EXPECT_EQ(work.Claim(0, true), -1);
}

TEST(WorkSharing, ThreadsTakingAtOnceTakeEveryItemExactlyOnce) {
  constexpr int kThreads = 4;
  constexpr int kItems = 4000;
  std::vector<int> items(kItems);
  for (int i = 0; i < kItems; ++i) items[static_cast<size_t>(i)] = i;
  // Uneven lists: thread 3 has most of the work and others help it.
  const std::vector<int> begin = {0, 10, 20, 30, kItems};
  auto counters = std::make_unique<WorkCounter[]>(kThreads);
  const DealtWork work{items.data(), begin.data(), counters.get(), kThreads};
  std::vector<std::atomic<int>> taken(kItems);
  std::vector<int> per_thread(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      work.Take(t, [&](int item) {
        taken[static_cast<size_t>(item)].fetch_add(1);
        ++per_thread[static_cast<size_t>(t)];
      });
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int i = 0; i < kItems; ++i) ASSERT_EQ(taken[static_cast<size_t>(i)].load(), 1) << i;
  int total = 0;
  for (int n : per_thread) total += n;
  EXPECT_EQ(total, kItems);
}

TEST(WorkSharing, PartsGoToTheThreadThatMadeMostOfTheirPointsLargestFirst) {
  // Blocks 0 and 1 made by thread 0, block 2 by thread 1.
  CountingSink sink(3, 4);
  const int makers[] = {0, 0, 1};
  sink.Set(0, 0, 5);  // part 0: 5 + 1 from thread 0, 2 from thread 1 -> thread 0, size 8
  sink.Set(1, 0, 1);
  sink.Set(2, 0, 2);
  sink.Set(2, 1, 9);  // part 1: 9 from thread 1 -> thread 1, size 9
  sink.Set(0, 2, 3);  // part 2: 3 + 4 from thread 0 -> thread 0, size 7
  sink.Set(1, 2, 4);
  sink.Set(2, 3, 1);  // part 3: thread 1, size 1
  int items[4];
  int begin[3];
  DealParts(sink, 3, makers, 4, 2, items, begin);
  EXPECT_EQ(std::vector<int>(items, items + 4), (std::vector<int>{0, 2, 1, 3}));
  EXPECT_EQ(std::vector<int>(begin, begin + 3), (std::vector<int>{0, 2, 4}));

  // Parts no point reaches still go to a thread (the first), so every part
  // is applied once.
  CountingSink empty(1, 3);
  const int one_maker[] = {0};
  DealParts(empty, 1, one_maker, 3, 2, items, begin);
  EXPECT_EQ(std::vector<int>(items, items + 3), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(std::vector<int>(begin, begin + 3), (std::vector<int>{0, 3, 3}));
}

}  // namespace
}  // namespace quorl
