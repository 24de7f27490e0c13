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

// What the bytes are, by their signature, whatever the file is called.
PictureType PictureTypeOfContent(const std::uint8_t* data, size_t size);
// For messages: "a PNG picture", "a GIF picture", "a PDF document", "text",
// "empty", "an unknown kind of file".
std::string DescribeContent(const std::uint8_t* data, size_t size);

// A progressive JPEG may hold any number of scans, each costing a pass over
// the whole picture; a file with more is refused before decoding.
inline constexpr int kMaxJpegScans = 300;
// The start-of-scan markers of a JPEG stream, counted without decoding
// (stops counting past kMaxJpegScans + 1).
int CountJpegScans(const std::uint8_t* data, size_t size);

// Each decoder replaces `out` only on success.
bool DecodePng(const std::uint8_t* data, size_t size, Picture24& out, std::string& error);
bool DecodeJpeg(const std::uint8_t* data, size_t size, Picture24& out, std::string& error);
bool DecodeBmp(const std::uint8_t* data, size_t size, Picture24& out, std::string& error);

// Reads and decodes a PNG, JPEG or BMP file, by its content; `out` is
// replaced only on success. A folder, or a file of another kind, is named
// as what it is.
bool DecodePictureFile(const std::string& path, Picture24& out, std::string& error);

}  // namespace quorl
