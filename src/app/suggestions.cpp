#include "app/suggestions.h"

#include <algorithm>

namespace quorl {

int EditDistance(std::string_view a, std::string_view b) {
  const size_t n = a.size(), m = b.size();
  // Three rows of the table suffice for the swap of neighbours.
  std::vector<int> before(m + 1), previous(m + 1), current(m + 1);
  for (size_t j = 0; j <= m; ++j) previous[j] = static_cast<int>(j);
  for (size_t i = 1; i <= n; ++i) {
    current[0] = static_cast<int>(i);
    for (size_t j = 1; j <= m; ++j) {
      const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        current[j] = std::min(current[j], before[j - 2] + 1);
    }
    before.swap(previous);
    previous.swap(current);
  }
  return previous[m];
}

std::string NearestWord(std::string_view word, const std::vector<std::string>& candidates) {
  std::string best;
  int bestDistance = 3;
  for (const std::string& candidate : candidates) {
    const int d = EditDistance(word, candidate);
    if (d < bestDistance && d < static_cast<int>(word.size())) {
      best = candidate;
      bestDistance = d;
    }
  }
  return best;
}

}  // namespace quorl
