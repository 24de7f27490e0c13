// `quorl render --bench`: the figures of a run, as lines to read or as one
// JSON object for scripts (--json), with the machine they were taken on.
#pragma once

#include <string>

namespace quorl {

struct BenchFigures {
  int steps = 0;
  long long points = 0;
  long long subSamples = 0;
  double seconds = 0;
  int threads = 0;
};

std::string BenchText(const BenchFigures& figures);
std::string BenchJson(const BenchFigures& figures);

// `text` as a JSON string, quotes included.
std::string JsonString(const std::string& text);

}  // namespace quorl
