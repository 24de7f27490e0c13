// A quick walk over a PNG file's chunks before libpng reads it: a chunk
// that claims more bytes than the file holds is refused at once, instead of
// libpng first reserving memory for it (a gigabyte for a few damaged bytes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorl {

// True when every chunk's length fits in the bytes that follow it; false
// with the reason otherwise. The signature itself is not checked here.
bool PngChunksFit(const std::uint8_t* data, std::size_t size, std::string& error);

}  // namespace quorl
