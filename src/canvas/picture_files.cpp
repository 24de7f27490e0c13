#include "canvas/picture_files.h"

#include <png.h>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string_view>

#include "base/atomic_file.h"
#include "canvas/png_chunks.h"

namespace quorl {
namespace {

bool CheckSize(long long width, long long height, std::string& error) {
  if (width <= 0 || height <= 0) {
    error = "the picture has no pixels";
    return false;
  }
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
    error = "the picture is too large (" + std::to_string(width) + " x " + std::to_string(height) + ")";
    return false;
  }
  return true;
}

// Sizes `picture`, reporting a failed allocation as an error instead of
// letting it escape (the JPEG decoder must not unwind past libjpeg).
bool Allocate(Picture24& picture, long long width, long long height, std::string& error) {
  try {
    picture.Resize(static_cast<int>(width), static_cast<int>(height));
  } catch (const std::exception& e) {
    error = std::string("not enough memory for the picture: ") + e.what();
    return false;
  }
  return true;
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// ---- JPEG: libjpeg reports errors through a longjmp we own.
struct JpegErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, manager->message);
  std::longjmp(manager->jump, 1);
}

void JpegQuietOutput(j_common_ptr) {}

// ---- BMP: little-endian fields read with bounds checks.
struct ByteReader {
  const std::uint8_t* data;
  size_t size;
  bool Has(size_t offset, size_t n) const { return offset <= size && n <= size - offset; }
  std::uint32_t U16(size_t o) const { return data[o] | (data[o + 1] << 8); }
  std::uint32_t U32(size_t o) const {
    return static_cast<std::uint32_t>(data[o]) | (static_cast<std::uint32_t>(data[o + 1]) << 8) |
           (static_cast<std::uint32_t>(data[o + 2]) << 16) | (static_cast<std::uint32_t>(data[o + 3]) << 24);
  }
  std::int32_t S32(size_t o) const { return static_cast<std::int32_t>(U32(o)); }
};

// Scales a masked channel value to 0..255.
struct ChannelMask {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;
  explicit ChannelMask(std::uint32_t m) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1)) ++shift;
    max = m >> shift;
  }
  std::uint8_t Take(std::uint32_t pixel) const {
    if (!max) return 0;
    const std::uint64_t v = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
  }
};

}  // namespace

PictureType PictureTypeFromExtension(std::string_view extension) {
  std::string lower;
  for (char c : extension) lower += LowerAscii(c);
  if (lower == "png") return PictureType::Png;
  if (lower == "jpg" || lower == "jpeg") return PictureType::Jpeg;
  if (lower == "bmp") return PictureType::Bmp;
  return PictureType::Unknown;
}

std::string ExtensionOf(const std::string& fileName) {
  const size_t slash = fileName.find_last_of('/');
  const size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return fileName.substr(dot + 1);
}

bool DecodePng(const std::uint8_t* data, size_t size, Picture24& out, std::string& error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (size >= 8 && !PngChunksFit(data, size, error)) {
    error = "the PNG file is damaged: " + error;
    return false;
  }
  if (!png_image_begin_read_from_memory(&image, data, size)) {
    error = std::string("not a readable PNG file: ") + image.message;
    return false;
  }
  if (!CheckSize(image.width, image.height, error)) {
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_BGR;
  Picture24 picture;
  if (!Allocate(picture, image.width, image.height, error)) {
    png_image_free(&image);
    return false;
  }
  // Transparent pixels are laid onto black, as a picture drawn onto a new
  // 24-bit bitmap would be. BGR rows without padding are Picture24's layout.
  png_color black{0, 0, 0};
  if (!png_image_finish_read(&image, &black, picture.Bytes().data(), 0, nullptr)) {
    error = std::string("the PNG file is damaged: ") + image.message;
    png_image_free(&image);
    return false;
  }
  out = std::move(picture);
  return true;
}

namespace {

// Everything between setjmp and a possible longjmp lives in the caller's
// objects, so nothing local is left indeterminate by the jump.
bool DecodeJpegInto(jpeg_decompress_struct& cinfo, JpegErrorManager& manager, const std::uint8_t* data,
                    size_t size, Picture24& picture, std::string& error) {
  if (setjmp(manager.jump)) {
    error = std::string("the JPEG file is damaged: ") + manager.message;
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) {
    error = "CMYK pictures are not supported";
    return false;
  }
  if (!CheckSize(cinfo.image_width, cinfo.image_height, error)) return false;
  cinfo.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&cinfo);
  if (!Allocate(picture, cinfo.output_width, cinfo.output_height, error)) return false;
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = picture.Row(static_cast<int>(cinfo.output_scanline));
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  // A truncated file only draws a warning from libjpeg (the rest is grey);
  // we refuse it rather than use half a picture.
  if (cinfo.err->num_warnings > 0) {
    error = "the JPEG file is damaged or truncated";
    return false;
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

}  // namespace

bool DecodeJpeg(const std::uint8_t* data, size_t size, Picture24& out, std::string& error) {
  // Counted before libjpeg spends a pass over the picture on each one.
  const int scans = CountJpegScans(data, size);
  if (scans > kMaxJpegScans) {
    error = "the JPEG file has more than " + std::to_string(kMaxJpegScans) +
            " scans, which no camera or editor writes";
    return false;
  }
  jpeg_decompress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  JpegErrorManager manager;
  cinfo.err = jpeg_std_error(&manager.base);
  manager.base.error_exit = JpegErrorExit;
  manager.base.output_message = JpegQuietOutput;
  Picture24 picture;
  const bool ok = DecodeJpegInto(cinfo, manager, data, size, picture, error);
  jpeg_destroy_decompress(&cinfo);
  if (ok) out = std::move(picture);
  return ok;
}

bool DecodeBmp(const std::uint8_t* data, size_t size, Picture24& out, std::string& error) {
  const ByteReader r{data, size};
  if (!r.Has(0, 26) || data[0] != 'B' || data[1] != 'M') {
    error = "not a BMP file";
    return false;
  }
  const std::uint32_t pixelOffset = r.U32(10);
  const std::uint32_t headerSize = r.U32(14);
  if (headerSize < 12 || !r.Has(14, headerSize)) {
    error = "the BMP header is damaged";
    return false;
  }
  long long width = 0, height = 0;
  std::uint32_t bits = 0, compression = 0, colorsUsed = 0;
  size_t paletteEntrySize = 4;
  if (headerSize == 12) {  // the old OS/2 header
    width = r.U16(18);
    height = static_cast<std::int16_t>(r.U16(20));
    bits = r.U16(24);
    paletteEntrySize = 3;
  } else {
    if (headerSize < 40) {
      error = "the BMP header is damaged";
      return false;
    }
    width = r.S32(18);
    height = r.S32(22);
    bits = r.U16(28);
    compression = r.U32(30);
    colorsUsed = r.U32(46);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (!CheckSize(width, height, error)) return false;

  std::uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
  if (bits == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  }
  if (compression == 3 || compression == 6) {  // bit fields
    const size_t at = (headerSize >= 52) ? 54 : 14 + headerSize;
    if (!r.Has(at, 12)) {
      error = "the BMP colour masks are missing";
      return false;
    }
    for (int i = 0; i < 3; ++i) masks[i] = r.U32(at + 4 * static_cast<size_t>(i));
  } else if (compression != 0) {
    error = "compressed BMP files are not supported";
    return false;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    error = "a BMP file with " + std::to_string(bits) + " bits per pixel is not supported";
    return false;
  }

  // The palette for 1, 4 and 8 bits.
  std::vector<std::uint8_t> palette;
  if (bits <= 8) {
    const size_t maxColors = size_t{1} << bits;
    const size_t count = (colorsUsed == 0 || colorsUsed > maxColors) ? maxColors : colorsUsed;
    size_t at = 14 + headerSize;
    if (compression == 3 && headerSize == 40) at += 12;
    palette.assign(maxColors * 3, 0);
    for (size_t i = 0; i < count; ++i) {
      if (!r.Has(at + i * paletteEntrySize, 3)) {
        error = "the BMP palette is truncated";
        return false;
      }
      std::memcpy(&palette[i * 3], data + at + i * paletteEntrySize, 3);
    }
  }

  const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  if (!r.Has(pixelOffset, stride * static_cast<size_t>(height))) {
    error = "the BMP pixel data is truncated";
    return false;
  }
  const ChannelMask red(masks[0]), green(masks[1]), blue(masks[2]);

  Picture24 picture;
  if (!Allocate(picture, width, height, error)) return false;
  for (long long y = 0; y < height; ++y) {
    const long long fileRow = topDown ? y : height - 1 - y;
    const std::uint8_t* row = data + pixelOffset + static_cast<size_t>(fileRow) * stride;
    std::uint8_t* dst = picture.Row(static_cast<int>(y));
    for (long long x = 0; x < width; ++x, dst += 3) {
      switch (bits) {
        case 24:
          std::memcpy(dst, row + x * 3, 3);
          break;
        case 32:
        case 16: {
          const std::uint32_t pixel =
              bits == 32 ? r.U32(static_cast<size_t>(row - data) + static_cast<size_t>(x) * 4)
                         : r.U16(static_cast<size_t>(row - data) + static_cast<size_t>(x) * 2);
          if (bits == 32 && compression == 0) {
            std::memcpy(dst, row + x * 4, 3);
          } else {
            dst[0] = blue.Take(pixel);
            dst[1] = green.Take(pixel);
            dst[2] = red.Take(pixel);
          }
          break;
        }
        default: {  // 1, 4, 8 bits: palette indices, high bits first
          const size_t bit = static_cast<size_t>(x) * bits;
          const std::uint8_t byte = row[bit / 8];
          const unsigned index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
          std::memcpy(dst, &palette[index * 3], 3);
        }
      }
    }
  }
  out = std::move(picture);
  return true;
}

PictureType PictureTypeOfContent(const std::uint8_t* data, size_t size) {
  const auto starts = [&](std::string_view signature) {
    return size >= signature.size() && std::memcmp(data, signature.data(), signature.size()) == 0;
  };
  if (starts("\x89PNG\r\n\x1a\n")) return PictureType::Png;
  if (starts("\xFF\xD8\xFF")) return PictureType::Jpeg;
  if (starts("BM")) return PictureType::Bmp;
  return PictureType::Unknown;
}

std::string DescribeContent(const std::uint8_t* data, size_t size) {
  switch (PictureTypeOfContent(data, size)) {
    case PictureType::Png:
      return "a PNG picture";
    case PictureType::Jpeg:
      return "a JPEG picture";
    case PictureType::Bmp:
      return "a BMP picture";
    case PictureType::Unknown:
      break;
  }
  if (size == 0) return "empty";
  // Signatures are arrays, so those holding NUL bytes keep their length.
  const auto at = [&](size_t offset, const auto& signature) {
    const size_t n = sizeof signature - 1;
    return size >= offset + n && std::memcmp(data + offset, signature, n) == 0;
  };
  const auto starts = [&](const auto& signature) { return at(0, signature); };
  if (starts("GIF87a") || starts("GIF89a")) return "a GIF picture";
  if (starts("RIFF") && at(8, "WEBP")) return "a WebP picture";
  if (starts("II*\0") || starts("MM\0*")) return "a TIFF picture";
  if (at(4, "ftypavif") || at(4, "ftypheic") || at(4, "ftypmif1")) return "an AVIF or HEIF picture";
  if (starts("\0\0\0\x0CjXL ") || starts("\xFF\x0A")) return "a JPEG XL picture";
  if (at(4, "ftyp")) return "a video";
  if (starts("%PDF")) return "a PDF document";
  if (starts("PK\x03\x04")) return "a ZIP archive";
  if (starts("\x1F\x8B")) return "a gzip archive";
  if (starts("\x7F"
             "ELF"))
    return "a program";
  if (std::memchr(data, '\0', size) == nullptr) return "text";
  return "an unknown kind of file";
}

int CountJpegScans(const std::uint8_t* data, size_t size) {
  int scans = 0;
  size_t i = 2;  // after the start-of-image marker
  while (i + 1 < size && scans <= kMaxJpegScans) {
    if (data[i] != 0xFF) {
      ++i;
      continue;
    }
    const std::uint8_t marker = data[i + 1];
    if (marker == 0xFF) {  // fill byte
      ++i;
      continue;
    }
    if (marker == 0xD9) break;  // end of image
    if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
      i += 2;
      continue;
    }
    if (i + 3 >= size) break;
    const size_t length = static_cast<size_t>(data[i + 2]) << 8 | data[i + 3];
    i += 2 + length;
    if (marker != 0xDA) continue;
    ++scans;
    // The scan's coded data runs to the next marker that is neither a
    // stuffed zero nor a restart.
    while (i + 1 < size &&
           !(data[i] == 0xFF && data[i + 1] != 0x00 && !(data[i + 1] >= 0xD0 && data[i + 1] <= 0xD7)))
      ++i;
  }
  return scans;
}

bool DecodePictureFile(const std::string& path, Picture24& out, std::string& error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    error = "it is a folder, not a picture";
    return false;
  }
  std::string bytes;
  if (!ReadWholeFile(path, bytes, &error)) return false;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  switch (PictureTypeOfContent(data, bytes.size())) {
    case PictureType::Png:
      return DecodePng(data, bytes.size(), out, error);
    case PictureType::Jpeg:
      return DecodeJpeg(data, bytes.size(), out, error);
    case PictureType::Bmp:
      return DecodeBmp(data, bytes.size(), out, error);
    case PictureType::Unknown:
      break;
  }
  error = "it is " + DescribeContent(data, bytes.size()) + ", not a PNG, JPEG or BMP picture";
  return false;
}

}  // namespace quorl
