// A quick walk over a PNG file's chunks without decoding the picture: a
// chunk that claims more bytes than the file holds is refused at once
// (instead of libpng first reserving memory for it), and the text chunks
// can be read on their own, inflated only up to a limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorl {

// True when every chunk's length fits in the bytes that follow it; false
// with the reason otherwise. The signature itself is not checked here.
bool PngChunksFit(const std::uint8_t* data, std::size_t size, std::string& error);

struct PngTextChunk {
  std::string keyword;
  std::string text;
};

// The most text a picture's chunks may inflate to, all together.
inline constexpr std::size_t kMaxPngTextBytes = 16u << 20;

// Reads the tEXt, zTXt and iTXt chunks of a PNG file (signature included in
// `data`), checking each chunk's CRC; the picture data is not decoded.
// False with the reason for a file that is not a PNG, is damaged, or whose
// texts inflate past `maxTextBytes` together.
bool ReadPngTextChunks(const std::uint8_t* data, std::size_t size, std::vector<PngTextChunk>& texts,
                       std::string& error, std::size_t maxTextBytes = kMaxPngTextBytes);

}  // namespace quorl
