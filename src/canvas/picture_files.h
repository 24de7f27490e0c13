// Reading PNG, JPEG and BMP pictures into one plain 24-bit form. Every
// decoder checks sizes before it allocates and reports a damaged file as an
// error: a picture from anywhere must never crash the program.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorl {

struct DecodedPicture {
  int width = 0;
  int height = 0;
  // Rows top to bottom, three bytes per pixel in blue, green, red order,
  // no padding between rows.
  std::vector<std::uint8_t> bgr;

  const std::uint8_t* Pixel(int x, int y) const {
    return bgr.data() + (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
  }
};

enum class PictureType { Png, Jpeg, Bmp, Unknown };

// By extension without the dot, in any letter case: png, jpg, jpeg, bmp.
PictureType PictureTypeFromExtension(std::string_view extension);

// The extension of a file name without the dot ("" when there is none).
std::string ExtensionOf(const std::string& fileName);

// The largest picture side we decode; larger files are refused before any
// allocation.
inline constexpr int kMaxPictureSide = 30000;
inline constexpr long long kMaxPicturePixels = 150LL * 1000 * 1000;

bool DecodePng(const std::uint8_t* data, size_t size, DecodedPicture& out, std::string& error);
bool DecodeJpeg(const std::uint8_t* data, size_t size, DecodedPicture& out, std::string& error);
bool DecodeBmp(const std::uint8_t* data, size_t size, DecodedPicture& out, std::string& error);

// Reads and decodes a file of the given type; `out` is replaced only on
// success.
bool DecodePictureFile(const std::string& path, PictureType type, DecodedPicture& out, std::string& error);

}  // namespace quorl
