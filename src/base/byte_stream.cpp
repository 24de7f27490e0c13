#include "base/byte_stream.h"

#include <bit>
#include <cstring>

namespace quorl {

static_assert(std::endian::native == std::endian::little, "the file formats are written little-endian");
static_assert(sizeof(double) == 8);

void ByteWriter::U32(std::uint32_t v) {
  Raw(&v, sizeof v);
}

void ByteWriter::U64(std::uint64_t v) {
  Raw(&v, sizeof v);
}

void ByteWriter::F64(double v) {
  Raw(&v, sizeof v);
}

void ByteWriter::String(std::string_view s) {
  U64(s.size());
  Raw(s.data(), s.size());
}

void ByteWriter::Raw(const void* data, std::size_t size) {
  if (size > 0) bytes_.append(static_cast<const char*>(data), size);
}

void ByteWriter::F64Array(const double* values, std::size_t count) {
  Raw(values, count * sizeof(double));
}

void ByteWriter::I32Array(const std::int32_t* values, std::size_t count) {
  Raw(values, count * sizeof(std::int32_t));
}

const char* ByteReader::Take(std::size_t size) {
  if (!ok_ || size > bytes_.size() - at_) {
    ok_ = false;
    return nullptr;
  }
  const char* p = bytes_.data() + at_;
  at_ += size;
  return p;
}

void ByteReader::Raw(void* data, std::size_t size) {
  if (const char* p = Take(size)) {
    if (size > 0) std::memcpy(data, p, size);
  } else if (size > 0) {
    std::memset(data, 0, size);
  }
}

std::uint8_t ByteReader::U8() {
  std::uint8_t v = 0;
  Raw(&v, 1);
  return v;
}

bool ByteReader::Bool() {
  const std::uint8_t v = U8();
  if (v > 1) ok_ = false;
  return v == 1;
}

std::uint32_t ByteReader::U32() {
  std::uint32_t v = 0;
  Raw(&v, sizeof v);
  return v;
}

std::uint64_t ByteReader::U64() {
  std::uint64_t v = 0;
  Raw(&v, sizeof v);
  return v;
}

double ByteReader::F64() {
  double v = 0;
  Raw(&v, sizeof v);
  return v;
}

std::size_t ByteReader::Count(std::size_t itemSize) {
  const std::uint64_t n = U64();
  if (!ok_) return 0;
  if (itemSize > 0 && n > Left() / itemSize) {
    ok_ = false;
    return 0;
  }
  return static_cast<std::size_t>(n);
}

std::string ByteReader::String() {
  const std::size_t n = Count(1);
  const char* p = Take(n);
  return p ? std::string(p, n) : std::string();
}

void ByteReader::F64Array(double* values, std::size_t count) {
  if (count > Left() / sizeof(double)) {
    ok_ = false;
    return;
  }
  Raw(values, count * sizeof(double));
}

void ByteReader::I32Array(std::int32_t* values, std::size_t count) {
  if (count > Left() / sizeof(std::int32_t)) {
    ok_ = false;
    return;
  }
  Raw(values, count * sizeof(std::int32_t));
}

}  // namespace quorl
