#include "base/sealed_file.h"

#include <zlib.h>
#include <zstd.h>

#include <cstring>
#include <new>

#include "base/atomic_file.h"
#include "base/byte_stream.h"

namespace quorl {
namespace {

// magic, version, payload size, compressed size, checksum
constexpr std::size_t kHeaderSize = 8 + 4 + 8 + 8 + 4;
constexpr std::size_t kChecksumAt = kHeaderSize - 4;

std::uint32_t Crc(std::string_view head, std::string_view body) {
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32(crc, reinterpret_cast<const Bytef*>(head.data()), static_cast<uInt>(head.size()));
  // zlib takes at most 4 GB a call.
  for (std::size_t at = 0; at < body.size();) {
    const std::size_t n = std::min<std::size_t>(body.size() - at, 1u << 30);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(body.data() + at), static_cast<uInt>(n));
    at += n;
  }
  return static_cast<std::uint32_t>(crc);
}

}  // namespace

std::string SealBytes(const SealedKind& kind, std::string_view payload, int level) {
  const std::size_t bound = ZSTD_compressBound(payload.size());
  std::string file(kHeaderSize + bound, '\0');
  const std::size_t packed =
      ZSTD_compress(file.data() + kHeaderSize, bound, payload.data(), payload.size(), level);
  // Compressing into a buffer of the bound cannot fail but for memory.
  if (ZSTD_isError(packed)) throw std::bad_alloc();
  file.resize(kHeaderSize + packed);
  ByteWriter head;
  head.Raw(kind.magic, 8);
  head.U32(kind.version);
  head.U64(payload.size());
  head.U64(packed);
  std::memcpy(file.data(), head.Bytes().data(), kChecksumAt);
  const std::uint32_t crc =
      Crc(std::string_view(file).substr(0, kChecksumAt), std::string_view(file).substr(kHeaderSize));
  std::memcpy(file.data() + kChecksumAt, &crc, 4);
  return file;
}

bool UnsealBytes(const SealedKind& kind, std::string_view file, std::string& payload, std::string& error,
                 std::uint64_t maxPayload) {
  payload.clear();
  const std::string what = std::string("This is not a Quorl ") + kind.name;
  if (file.size() < 8 || std::memcmp(file.data(), kind.magic, 8) != 0) {
    error = what + ".";
    return false;
  }
  if (file.size() < kHeaderSize) {
    error = std::string("The ") + kind.name + " is cut short.";
    return false;
  }
  ByteReader head(file.substr(8, kHeaderSize - 8));
  const std::uint32_t version = head.U32();
  const std::uint64_t size = head.U64();
  const std::uint64_t packed = head.U64();
  const std::uint32_t crc = head.U32();
  if (version == 0) {
    error = what + " (format 0).";
    return false;
  }
  if (version > kind.version) {
    error = std::string("The ") + kind.name + " was written by a newer version of Quorl (format " +
            std::to_string(version) + "; this version reads up to " + std::to_string(kind.version) + ").";
    return false;
  }
  if (packed != file.size() - kHeaderSize) {
    error = std::string("The ") + kind.name +
            (packed > file.size() - kHeaderSize ? " is cut short." : " is damaged.");
    return false;
  }
  const std::string_view body = file.substr(kHeaderSize);
  if (Crc(file.substr(0, kChecksumAt), body) != crc) {
    error = std::string("The ") + kind.name + " is damaged (checksum mismatch).";
    return false;
  }
  const unsigned long long declared = ZSTD_getFrameContentSize(body.data(), body.size());
  if (declared != size) {
    error = std::string("The ") + kind.name + " is damaged.";
    return false;
  }
  if (size > maxPayload) {
    error = std::string("The ") + kind.name + " is too large to open.";
    return false;
  }
  try {
    payload.resize(static_cast<std::size_t>(size));
  } catch (const std::exception&) {
    error = std::string("Not enough memory to open the ") + kind.name + ".";
    return false;
  }
  const std::size_t got = ZSTD_decompress(payload.data(), payload.size(), body.data(), body.size());
  if (ZSTD_isError(got) || got != size) {
    payload.clear();
    error = std::string("The ") + kind.name + " is damaged.";
    return false;
  }
  return true;
}

bool WriteSealedFile(const std::string& path, const SealedKind& kind, std::string_view payload,
                     std::string& error, int level) {
  std::string file;
  try {
    file = SealBytes(kind, payload, level);
  } catch (const std::exception&) {
    error = std::string("Not enough memory to write the ") + kind.name + ".";
    return false;
  }
  return WriteFileAtomically(path, file, &error);
}

bool ReadSealedFile(const std::string& path, const SealedKind& kind, std::string& payload, std::string& error,
                    std::uint64_t maxPayload) {
  std::string file;
  if (!ReadWholeFile(path, file, &error)) return false;
  return UnsealBytes(kind, file, payload, error, maxPayload);
}

}  // namespace quorl
