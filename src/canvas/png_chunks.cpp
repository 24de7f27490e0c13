#include "canvas/png_chunks.h"

#include <zlib.h>

#include <cstring>

namespace quorl {
namespace {

constexpr std::size_t kSignature = 8;

std::uint32_t BigEndian(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}

bool TooLarge(std::string& error) {
  error = "the texts inside the picture are larger than " + std::to_string(kMaxPngTextBytes >> 20) + " MB";
  return false;
}

// Inflates a zlib stream, appending to `out`, never past `budget` bytes.
bool Inflate(const std::uint8_t* data, std::size_t size, std::string& out, std::size_t& budget,
             std::string& error) {
  z_stream stream;
  std::memset(&stream, 0, sizeof stream);
  if (inflateInit(&stream) != Z_OK) {
    error = "cannot start inflating";
    return false;
  }
  stream.next_in = const_cast<Bytef*>(data);
  stream.avail_in = static_cast<uInt>(size);
  char buffer[16384];
  int status = Z_OK;
  while (status != Z_STREAM_END) {
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    status = inflate(&stream, Z_NO_FLUSH);
    if (status != Z_OK && status != Z_STREAM_END) {
      inflateEnd(&stream);
      error = "a text chunk of the PNG file is damaged";
      return false;
    }
    const std::size_t produced = sizeof buffer - stream.avail_out;
    if (produced > budget) {
      inflateEnd(&stream);
      return TooLarge(error);
    }
    budget -= produced;
    out.append(buffer, produced);
    if (status == Z_OK && produced == 0 && stream.avail_in == 0) {
      inflateEnd(&stream);
      error = "a text chunk of the PNG file ends too early";
      return false;
    }
  }
  inflateEnd(&stream);
  return true;
}

// The next NUL-ended field at `at`; false when there is none.
bool Field(const std::uint8_t* data, std::size_t size, std::size_t& at, std::string& field) {
  const void* nul = std::memchr(data + at, 0, size - at);
  if (!nul) return false;
  const std::size_t end = static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - data);
  field.assign(reinterpret_cast<const char*>(data + at), end - at);
  at = end + 1;
  return true;
}

bool ReadText(const char type[4], const std::uint8_t* body, std::size_t length, PngTextChunk& text,
              std::size_t& budget, std::string& error) {
  std::size_t at = 0;
  const auto damaged = [&error] {
    error = "a text chunk of the PNG file is damaged";
    return false;
  };
  if (!Field(body, length, at, text.keyword)) return damaged();
  if (std::memcmp(type, "tEXt", 4) == 0) {
    if (length - at > budget) return TooLarge(error);
    budget -= length - at;
    text.text.assign(reinterpret_cast<const char*>(body + at), length - at);
    return true;
  }
  if (std::memcmp(type, "zTXt", 4) == 0) {
    if (at >= length || body[at] != 0) return damaged();
    ++at;
    return Inflate(body + at, length - at, text.text, budget, error);
  }
  // iTXt: compression flag and method, language tag, translated keyword.
  if (at + 2 > length) return damaged();
  const bool compressed = body[at] != 0;
  if (compressed && body[at + 1] != 0) return damaged();
  at += 2;
  std::string ignored;
  if (!Field(body, length, at, ignored) || !Field(body, length, at, ignored)) return damaged();
  if (compressed) return Inflate(body + at, length - at, text.text, budget, error);
  if (length - at > budget) return TooLarge(error);
  budget -= length - at;
  text.text.assign(reinterpret_cast<const char*>(body + at), length - at);
  return true;
}

}  // namespace

bool PngChunksFit(const std::uint8_t* data, std::size_t size, std::string& error) {
  std::size_t at = kSignature;
  while (at + 8 <= size) {
    const std::uint32_t length = BigEndian(data + at);
    // Length, type, data and CRC.
    if (length > size - at - 8 || size - at - 8 - length < 4) {
      error = "a chunk of the PNG file is longer than the file";
      return false;
    }
    if (data[at + 4] == 'I' && data[at + 5] == 'E' && data[at + 6] == 'N' && data[at + 7] == 'D') return true;
    at += 12 + std::size_t{length};
  }
  // The file ends before its end chunk: libpng reports what is missing.
  return true;
}

bool ReadPngTextChunks(const std::uint8_t* data, std::size_t size, std::vector<PngTextChunk>& texts,
                       std::string& error, std::size_t maxTextBytes) {
  static const std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (size < kSignature || std::memcmp(data, kPngSignature, kSignature) != 0) {
    error = "not a PNG file";
    return false;
  }
  std::size_t budget = maxTextBytes;
  std::vector<PngTextChunk> found;
  for (std::size_t at = kSignature;;) {
    if (at + 12 > size) {
      error = "the PNG file is damaged: it ends before its end chunk";
      return false;
    }
    const std::uint32_t length = BigEndian(data + at);
    if (length > size - at - 12) {
      error = "the PNG file is damaged: a chunk is longer than the file";
      return false;
    }
    const char* type = reinterpret_cast<const char*>(data + at + 4);
    const std::uint8_t* body = data + at + 8;
    const std::uint32_t stored = BigEndian(body + length);
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), data + at + 4, 4 + length);
    if (crc != stored) {
      error = "the PNG file is damaged: a chunk's checksum is wrong";
      return false;
    }
    if (std::memcmp(type, "IEND", 4) == 0) break;
    if (std::memcmp(type, "tEXt", 4) == 0 || std::memcmp(type, "zTXt", 4) == 0 ||
        std::memcmp(type, "iTXt", 4) == 0) {
      PngTextChunk text;
      if (!ReadText(type, body, length, text, budget, error)) {
        if (error.rfind("the texts", 0) != 0) error = "the PNG file is damaged: " + error;
        return false;
      }
      found.push_back(std::move(text));
    }
    at += 12 + std::size_t{length};
  }
  texts = std::move(found);
  return true;
}

}  // namespace quorl
