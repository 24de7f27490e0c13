// A yes/no that one thread may set while another reads it: a run drawing
// its steps on the window's worker ends itself (clearing "drawing") while
// the window's thread asks whether a run is on. Reads and writes are
// atomic; copies take the value.
#pragma once

#include <atomic>

namespace quorl {

class SharedFlag {
 public:
  SharedFlag(bool value = false) noexcept : value_(value) {}  // NOLINT: used as a bool
  SharedFlag(const SharedFlag& other) noexcept : value_(other) {}
  SharedFlag& operator=(const SharedFlag& other) noexcept { return *this = static_cast<bool>(other); }
  SharedFlag& operator=(bool value) noexcept {
    value_.store(value, std::memory_order_release);
    return *this;
  }
  operator bool() const noexcept { return value_.load(std::memory_order_acquire); }  // NOLINT

 private:
  std::atomic<bool> value_;
};

}  // namespace quorl
