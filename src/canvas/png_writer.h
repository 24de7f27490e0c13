// Writing a 24-bit picture as a PNG file: 8-bit RGB, or RGBA when an alpha
// value per pixel is given, with optional iTXt text chunks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/picture24.h"
#include "canvas/deep_picture.h"

namespace quorl {

// A text chunk, written as iTXt so any UTF-8 text fits; compressed unless
// asked otherwise. The keyword is 1 to 79 printable Latin-1 characters.
struct PngText {
  std::string keyword;
  std::string text;
  bool compressed = true;
};

struct PngWriteOptions {
  // One alpha byte per pixel, rows top to bottom like the picture. Empty for
  // a picture without alpha; otherwise it must hold width * height bytes.
  std::vector<std::uint8_t> alpha;
  std::vector<PngText> texts;
  // Dots per inch kept in the file (pHYs), so it opens at its print size;
  // 0 writes none.
  int dpi = 0;
};

// Encodes `picture` into `out`. On failure returns false with the reason.
bool EncodePng(const Picture24& picture, const PngWriteOptions& options, std::string& out,
               std::string* error = nullptr);

// The same at 16 bits a channel (alpha, when given, widened from 8 bits).
bool EncodeDeepPng(const DeepPicture& picture, const PngWriteOptions& options, std::string& out,
                   std::string* error = nullptr);

// Encodes and writes atomically: a failed write leaves any old file as it was.
bool WritePngFile(const std::string& path, const Picture24& picture, const PngWriteOptions& options,
                  std::string* error = nullptr);

// The alpha of "Use transparency?": a = 255 - min(red, green, blue) on a
// light background (White), otherwise max(red, green, blue); alpha is
// a * Opacity / 10 rounded (halves to even) and limited to 0 ... 255. A
// light picture is thus transparent where it is still white, a dark one
// where it is still black.
std::vector<std::uint8_t> TransparencyAlpha(const Picture24& picture, bool white, int opacity);

}  // namespace quorl
