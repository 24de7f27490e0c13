// Plain binary encoding for the program's own files: fixed-size little-endian
// numbers, doubles by their exact bit pattern, length-prefixed strings. The
// reader never reads past its end and never trusts a count it has not checked
// against the bytes that are left: it fails instead, and stays failed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/point.h"

namespace quorl {

class ByteWriter {
 public:
  void U8(std::uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
  void Bool(bool v) { U8(v ? 1 : 0); }
  void U32(std::uint32_t v);
  void U64(std::uint64_t v);
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void I64(std::int64_t v) { U64(static_cast<std::uint64_t>(v)); }
  void F64(double v);
  void String(std::string_view s);
  // Raw bytes without a length; the reader must know how many.
  void Raw(const void* data, std::size_t size);
  void F64Array(const double* values, std::size_t count);
  void I32Array(const std::int32_t* values, std::size_t count);

  const std::string& Bytes() const { return bytes_; }
  std::string Take() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  std::uint8_t U8();
  bool Bool();
  std::uint32_t U32();
  std::uint64_t U64();
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  std::int64_t I64() { return static_cast<std::int64_t>(U64()); }
  double F64();
  std::string String();
  // A count of items of `itemSize` bytes each that must still fit in what
  // is left; fails (and returns 0) when it cannot.
  std::size_t Count(std::size_t itemSize);
  void F64Array(double* values, std::size_t count);
  void I32Array(std::int32_t* values, std::size_t count);
  void Raw(void* data, std::size_t size);

  bool Ok() const { return ok_; }
  // Marks the input as bad, e.g. for a value out of its range.
  void Fail() { ok_ = false; }
  std::size_t Left() const { return ok_ ? bytes_.size() - at_ : 0; }
  bool AtEnd() const { return ok_ && at_ == bytes_.size(); }

 private:
  // The next `size` bytes, or nullptr (and failed) when fewer are left.
  const char* Take(std::size_t size);

  std::string_view bytes_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

// A plane point as two doubles, x first.
inline void WritePoint(ByteWriter& out, const Point& p) {
  out.F64(p.X);
  out.F64(p.Y);
}

inline Point ReadPoint(ByteReader& in) {
  Point p;
  p.X = in.F64();
  p.Y = in.F64();
  return p;
}

}  // namespace quorl
