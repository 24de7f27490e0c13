// Reading PNG, JPEG and BMP pictures into a Picture24. Every
// decoder checks sizes before it allocates and reports a damaged file as an
// error: a picture from anywhere must never crash the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/picture24.h"

namespace quorl {

enum class PictureType { Png, Jpeg, Bmp, Unknown };

// By extension without the dot, in any letter case: png, jpg, jpeg, bmp.
PictureType PictureTypeFromExtension(std::string_view extension);

// The extension of a file name without the dot ("" when there is none).
std::string ExtensionOf(const std::string& fileName);

// The largest picture side we decode; larger files are refused before any
// allocation.
inline constexpr int kMaxPictureSide = 30000;
inline constexpr long long kMaxPicturePixels = 150LL * 1000 * 1000;

// Each decoder replaces `out` only on success.
bool DecodePng(const std::uint8_t* data, size_t size, Picture24& out, std::string& error);
bool DecodeJpeg(const std::uint8_t* data, size_t size, Picture24& out, std::string& error);
bool DecodeBmp(const std::uint8_t* data, size_t size, Picture24& out, std::string& error);

// Reads and decodes a file of the given type; `out` is replaced only on
// success.
bool DecodePictureFile(const std::string& path, PictureType type, Picture24& out, std::string& error);

}  // namespace quorl
