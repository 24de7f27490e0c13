// The pixels of a picture as a decoder gives them back, and their SHA-256:
// what a recipe promises and what `quorl verify` compares.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/picture24.h"

namespace quorl {

// 8-bit pixels, rows top to bottom, red, green, blue and (with 4 channels)
// alpha.
struct DecodedPixels {
  int width = 0;
  int height = 0;
  int channels = 3;
  std::vector<std::uint8_t> bytes;
};

// A picture as its PNG decodes: the alpha (when not empty) is one byte per
// pixel as the writer takes it.
DecodedPixels PixelsOf(const Picture24& picture, const std::vector<std::uint8_t>& alpha = {});

// Decodes a PNG file's bytes into 8-bit RGB, or RGBA when it has alpha.
// False with the reason for a file that is not a PNG or is damaged.
bool DecodePngPixels(const std::string& pngBytes, DecodedPixels& pixels, std::string& error);

// SHA-256 of "RGB WxH\n" (or "RGBA") followed by the bytes.
std::string PixelDigest(const DecodedPixels& pixels);

// How two decodings differ: pixels that differ in any channel and the
// largest difference of one channel. A different size or channel count
// counts every pixel of the larger.
struct PixelDifference {
  long long pixels = 0;
  int maxChannel = 0;
  bool sameShape = true;
};
PixelDifference ComparePixels(const DecodedPixels& a, const DecodedPixels& b);

}  // namespace quorl
