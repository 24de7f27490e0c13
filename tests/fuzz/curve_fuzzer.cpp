// Arbitrary bytes as a curve file: loading must never crash and a loaded
// curve must be finite.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "curves/curve.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/quorl-curve-fuzz-" + std::to_string(::getpid()) + ".curve";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);
  quorl::CurvePoints curve;
  curve.Load(path);
  // Leaves nothing behind in /tmp once the input is read.
  ::unlink(path.c_str());
  for (const quorl::Point& p : curve.Points) {
    if (!std::isfinite(p.X) || !std::isfinite(p.Y)) std::abort();
  }
  return 0;
}
