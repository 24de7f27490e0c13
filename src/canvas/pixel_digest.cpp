#include "canvas/pixel_digest.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/sha256.h"
#include "canvas/png_chunks.h"

namespace quorl {

DecodedPixels PixelsOf(const Picture24& picture, const std::vector<std::uint8_t>& alpha) {
  DecodedPixels out;
  out.width = picture.Width();
  out.height = picture.Height();
  const bool withAlpha = !alpha.empty();
  out.channels = withAlpha ? 4 : 3;
  out.bytes.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height) *
                   static_cast<std::size_t>(out.channels));
  std::uint8_t* to = out.bytes.data();
  std::size_t pixel = 0;
  for (int y = 0; y < out.height; ++y) {
    const std::uint8_t* row = picture.Row(y);
    for (int x = 0; x < out.width; ++x, ++pixel) {
      // Stored blue, green, red.
      *to++ = row[3 * x + 2];
      *to++ = row[3 * x + 1];
      *to++ = row[3 * x];
      if (withAlpha) *to++ = alpha[pixel];
    }
  }
  return out;
}

bool DecodePngPixels(const std::string& pngBytes, DecodedPixels& pixels, std::string& error) {
  if (pngBytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(pngBytes.data()), 0, 8) != 0) {
    error = "not a PNG file";
    return false;
  }
  if (!PngChunksFit(reinterpret_cast<const std::uint8_t*>(pngBytes.data()), pngBytes.size(), error)) {
    error = "the PNG file is damaged: " + error;
    return false;
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, pngBytes.data(), pngBytes.size())) {
    error = std::string("the PNG file is damaged: ") + image.message;
    return false;
  }
  const bool withAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  image.format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  // The largest canvas is 6000 x 6000; refuse what could not be one of ours
  // before reserving memory for it.
  if (image.width > 20000 || image.height > 20000) {
    png_image_free(&image);
    error = "the picture is too large";
    return false;
  }
  DecodedPixels out;
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.channels = withAlpha ? 4 : 3;
  out.bytes.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.bytes.data(), 0, nullptr)) {
    error = std::string("the PNG file is damaged: ") + image.message;
    png_image_free(&image);
    return false;
  }
  pixels = std::move(out);
  return true;
}

std::string PixelDigest(const DecodedPixels& pixels) {
  Sha256 digest;
  const std::string header = std::string(pixels.channels == 4 ? "RGBA " : "RGB ") +
                             std::to_string(pixels.width) + "x" + std::to_string(pixels.height) + "\n";
  digest.Update(header);
  digest.Update(pixels.bytes.data(), pixels.bytes.size());
  return digest.FinishHex();
}

PixelDifference ComparePixels(const DecodedPixels& a, const DecodedPixels& b) {
  PixelDifference d;
  if (a.width != b.width || a.height != b.height || a.channels != b.channels) {
    d.sameShape = false;
    d.pixels =
        std::max(static_cast<long long>(a.width) * a.height, static_cast<long long>(b.width) * b.height);
    d.maxChannel = 255;
    return d;
  }
  const std::size_t channels = static_cast<std::size_t>(a.channels);
  for (std::size_t at = 0; at + channels <= a.bytes.size(); at += channels) {
    int worst = 0;
    for (std::size_t c = 0; c < channels; ++c)
      worst = std::max(worst, std::abs(int{a.bytes[at + c]} - int{b.bytes[at + c]}));
    if (worst > 0) {
      ++d.pixels;
      d.maxChannel = std::max(d.maxChannel, worst);
    }
  }
  return d;
}

}  // namespace quorl
