// Sharing a step's work between threads: lists of work dealt out to the
// threads ahead of time, which each thread works through from the front
// while the others, once done with theirs, take from the back.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/point_batch.h"

namespace quorl {

// Parts of the canvas per thread: more parts than threads, so that a thread
// the system holds back leaves its share to the others.
inline constexpr int kPartsPerThread = 8;

// Work dealt out to threads: thread t's own items are items[begin[t]] ...
// items[begin[t + 1] - 1]. Each thread works through its own items from the
// front, then takes what is left of the others' from their backs. Own items
// keep a thread on the data it made itself and on the pixels it had last
// time, in its own cache; taking the others' last items keeps a thread that
// the system holds back from holding everyone up, and moves little.
struct DealtWork {
  const int* items;
  const int* begin;
  WorkCounter* counters;
  int threads;

  // The position in thread t's list of the item taken, or -1 when none is
  // left.
  int Claim(int t, bool own) const {
    const std::uint64_t size = static_cast<std::uint64_t>(begin[t + 1] - begin[t]);
    std::atomic<std::uint64_t>& taken = counters[t].taken;
    std::uint64_t now = taken.load(std::memory_order_relaxed);
    for (;;) {
      const std::uint64_t front = now & 0xFFFFFFFFu, back = now >> 32;
      if (front + back >= size) return -1;
      const std::uint64_t next = own ? now + 1 : now + (std::uint64_t{1} << 32);
      if (taken.compare_exchange_weak(now, next, std::memory_order_relaxed)) {
        return static_cast<int>(own ? front : size - 1 - back);
      }
    }
  }

  template <typename Do>
  void Take(int self, Do&& work) const {
    for (int k = 0; k < threads; ++k) {
      const int t = (self + k) % threads;
      for (int i = Claim(t, k == 0); i >= 0; i = Claim(t, k == 0)) work(items[begin[t] + i]);
    }
  }
};

// Deals the parts of a batch out to `threads` threads: each part goes to
// the thread that made most of its points (makers[b] made block b; the
// sink tells how many of a block's points reach a part), the largest parts
// first in each thread's list. Fills items[0 ... parts - 1] and
// begin[0 ... threads] as DealtWork reads them.
void DealParts(const PointBatchSink& sink, int blocks, const int* makers, int parts, int threads, int* items,
               int* begin);

}  // namespace quorl
