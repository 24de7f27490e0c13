// Small PNG, JPEG and BMP files made in memory, for the decoder and loader
// tests.
#pragma once

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace quorl::testing {

using Bytes = std::vector<std::uint8_t>;

// A w x h test pattern, RGB, rows top to bottom.
inline Bytes PatternRgb(int w, int h) {
  Bytes rgb;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      rgb.push_back(static_cast<std::uint8_t>(x * 60));
      rgb.push_back(static_cast<std::uint8_t>(y * 100));
      rgb.push_back(static_cast<std::uint8_t>(200 - x * 10));
    }
  return rgb;
}

inline Bytes EncodePng(const Bytes& pixels, int w, int h, png_uint_32 format) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = format;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr));
  Bytes out(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr));
  out.resize(size);
  return out;
}

inline Bytes EncodeJpeg(const Bytes& rgb, int w, int h) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(w);
  cinfo.image_height = static_cast<JDIMENSION>(h);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<std::uint8_t*>(rgb.data()) + cinfo.next_scanline * static_cast<size_t>(w) * 3;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

inline void Put16(Bytes& b, size_t at, unsigned v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(Bytes& b, size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A BMP with a 40-byte header; `rows` are stored bottom-up as given.
inline Bytes MakeBmp(int w, int h, int bits, const Bytes& palette, const Bytes& rowsBottomUp) {
  const size_t offset = 54 + palette.size();
  Bytes b(offset, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 10, static_cast<std::uint32_t>(offset));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<std::uint32_t>(w));
  Put32(b, 22, static_cast<std::uint32_t>(h));
  Put16(b, 26, 1);
  Put16(b, 28, static_cast<unsigned>(bits));
  Put32(b, 46, static_cast<std::uint32_t>(palette.size() / 4));  // colours used
  std::copy(palette.begin(), palette.end(), b.begin() + 54);
  b.insert(b.end(), rowsBottomUp.begin(), rowsBottomUp.end());
  Put32(b, 2, static_cast<std::uint32_t>(b.size()));
  return b;
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace quorl::testing
