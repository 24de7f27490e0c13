#include "canvas/png_chunks.h"

namespace quorl {

bool PngChunksFit(const std::uint8_t* data, std::size_t size, std::string& error) {
  constexpr std::size_t kSignature = 8;
  std::size_t at = kSignature;
  while (at + 8 <= size) {
    const std::uint32_t length = (std::uint32_t{data[at]} << 24) | (std::uint32_t{data[at + 1]} << 16) |
                                 (std::uint32_t{data[at + 2]} << 8) | std::uint32_t{data[at + 3]};
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

}  // namespace quorl
