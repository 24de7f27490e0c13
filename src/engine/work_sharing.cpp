#include "engine/work_sharing.h"

#include <algorithm>

namespace quorl {

void DealParts(const PointBatchSink& sink, int blocks, const int* makers, int parts, int threads, int* items,
               int* begin) {
  int size[PointBatchSink::kMaxParts];
  int home[PointBatchSink::kMaxParts];
  for (int p = 0; p < parts; ++p) {
    int by_thread[PointBatchSink::kMaxParts] = {};
    size[p] = 0;
    for (int b = 0; b < blocks; ++b) {
      const int n = sink.PointsIn(b, p);
      size[p] += n;
      by_thread[makers[b]] += n;
    }
    home[p] = static_cast<int>(std::max_element(by_thread, by_thread + threads) - by_thread);
  }
  for (int p = 0; p < parts; ++p) items[p] = p;
  std::sort(items, items + parts, [&](int a, int b) {
    if (home[a] != home[b]) return home[a] < home[b];
    return size[a] != size[b] ? size[a] > size[b] : a < b;
  });
  for (int t = 0, p = 0; t <= threads; ++t) {
    while (p < parts && home[items[p]] < t) ++p;
    begin[t] = p;
  }
}

}  // namespace quorl
