#include "canvas/png_writer.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>

#include "base/atomic_file.h"
#include "base/pixel_math.h"

namespace quorl {

namespace {

// What the libpng callbacks share. Plain data only: libpng leaves through
// longjmp, which must not skip any destructor.
struct PngWriteState {
  std::string* out = nullptr;
  char message[200] = {};
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* state = static_cast<PngWriteState*>(png_get_error_ptr(png));
  std::strncpy(state->message, message ? message : "PNG error", sizeof state->message - 1);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void OnPngWrite(png_structp png, png_bytep data, png_size_t length) {
  auto* state = static_cast<PngWriteState*>(png_get_io_ptr(png));
  bool appended = true;
  try {
    state->out->append(reinterpret_cast<const char*>(data), length);
  } catch (...) {
    appended = false;
  }
  if (!appended) png_error(png, "out of memory while encoding the picture");
}

void OnPngFlush(png_structp) {}

// What the rows come from: a 24-bit picture (with optional alpha) or a
// 16-bit one. Plain data, read inside the setjmp frame.
struct RowSource {
  int width = 0;
  int height = 0;
  const Picture24* picture = nullptr;
  const DeepPicture* deep = nullptr;
  const std::uint8_t* alpha = nullptr;  // one byte per pixel, or null
  int ChannelCount() const { return alpha ? 4 : 3; }
  int BitDepth() const { return deep ? 16 : 8; }
  std::size_t RowBytes() const { return static_cast<std::size_t>(width) * ChannelCount() * (deep ? 2 : 1); }
  // Row y in PNG order: red, green, blue (alpha), big-endian at 16 bits.
  void Fill(int y, std::uint8_t* row) const {
    const std::size_t n = static_cast<std::size_t>(width);
    const std::uint8_t* a = alpha ? alpha + static_cast<std::size_t>(y) * n : nullptr;
    if (deep) {
      const std::uint16_t* in = deep->rgb.data() + static_cast<std::size_t>(y) * n * 3;
      for (std::size_t x = 0; x < n; ++x) {
        for (int c = 0; c < 3; ++c) {
          const std::uint16_t v = in[3 * x + c];
          row[0] = static_cast<std::uint8_t>(v >> 8);
          row[1] = static_cast<std::uint8_t>(v & 0xFF);
          row += 2;
        }
        if (a) {
          // The 8-bit alpha at 16 bits: 255 becomes 65535.
          row[0] = a[x];
          row[1] = a[x];
          row += 2;
        }
      }
      return;
    }
    const std::uint8_t* in = picture->Row(y);
    for (std::size_t x = 0; x < n; ++x, in += 3) {
      // Our bytes are blue, green, red.
      row[0] = in[2];
      row[1] = in[1];
      row[2] = in[0];
      row += 3;
      if (a) *row++ = a[x];
    }
  }
};

// Everything between setjmp and the end of the picture. No object with a
// destructor lives in this frame; the caller owns the buffers.
bool WritePngRows(png_structp png, png_infop info, const RowSource& source, std::uint8_t* scratch,
                  png_text* texts, int text_count, int dpi) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(source.width), static_cast<png_uint_32>(source.height),
               source.BitDepth(), source.alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (dpi > 0) {
    // Pixels per metre, as PNG keeps the physical size.
    const auto perMetre = static_cast<png_uint_32>(std::llround(dpi / 0.0254));
    png_set_pHYs(png, info, perMetre, perMetre, PNG_RESOLUTION_METER);
  }
  if (text_count > 0) png_set_text(png, info, texts, text_count);
  png_write_info(png, info);
  for (int y = 0; y < source.height; ++y) {
    source.Fill(y, scratch);
    png_write_row(png, scratch);
  }
  png_write_end(png, info);
  return true;
}

bool Encode(const RowSource& source, const PngWriteOptions& options, std::string& out, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (source.width <= 0 || source.height <= 0) return fail("the picture has no pixels");
  if (options.dpi < 0 || options.dpi > 100000)
    return fail("the resolution must be 1 to 100000 dots per inch");
  std::vector<std::uint8_t> scratch(source.RowBytes());
  std::vector<png_text> texts(options.texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    std::memset(&texts[i], 0, sizeof texts[i]);
    texts[i].compression =
        options.texts[i].compressed ? PNG_ITXT_COMPRESSION_zTXt : PNG_ITXT_COMPRESSION_NONE;
    texts[i].key = const_cast<char*>(options.texts[i].keyword.c_str());
    texts[i].text = const_cast<char*>(options.texts[i].text.c_str());
    texts[i].itxt_length = options.texts[i].text.size();
  }

  std::string encoded;
  PngWriteState state;
  state.out = &encoded;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, OnPngError, OnPngWarning);
  if (!png) return fail("cannot start the PNG encoder");
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return fail("cannot start the PNG encoder");
  }
  png_set_write_fn(png, &state, OnPngWrite, OnPngFlush);
  const bool ok = WritePngRows(png, info, source, scratch.data(), texts.data(),
                               static_cast<int>(texts.size()), options.dpi);
  png_destroy_write_struct(&png, &info);
  if (!ok) return fail(state.message);
  out.swap(encoded);
  return true;
}

}  // namespace

bool EncodePng(const Picture24& picture, const PngWriteOptions& options, std::string& out,
               std::string* error) {
  if (picture.Empty()) {
    if (error) *error = "the picture has no pixels";
    return false;
  }
  const bool with_alpha = !options.alpha.empty();
  if (with_alpha && options.alpha.size() != GridCellCount(picture.Width(), picture.Height(), 1)) {
    if (error) *error = "the alpha values do not match the picture's size";
    return false;
  }
  RowSource source;
  source.width = picture.Width();
  source.height = picture.Height();
  source.picture = &picture;
  source.alpha = with_alpha ? options.alpha.data() : nullptr;
  return Encode(source, options, out, error);
}

bool EncodeDeepPng(const DeepPicture& picture, const PngWriteOptions& options, std::string& out,
                   std::string* error) {
  const std::size_t pixels = GridCellCount(picture.width, picture.height, 1);
  if (picture.width <= 0 || picture.height <= 0 || picture.rgb.size() != pixels * 3) {
    if (error) *error = "the picture has no pixels";
    return false;
  }
  const bool with_alpha = !options.alpha.empty();
  if (with_alpha && options.alpha.size() != pixels) {
    if (error) *error = "the alpha values do not match the picture's size";
    return false;
  }
  RowSource source;
  source.width = picture.width;
  source.height = picture.height;
  source.deep = &picture;
  source.alpha = with_alpha ? options.alpha.data() : nullptr;
  return Encode(source, options, out, error);
}

bool WritePngFile(const std::string& path, const Picture24& picture, const PngWriteOptions& options,
                  std::string* error) {
  std::string bytes;
  if (!EncodePng(picture, options, bytes, error)) return false;
  return WriteFileAtomically(path, bytes, error);
}

std::vector<std::uint8_t> TransparencyAlpha(const Picture24& picture, bool white, int opacity) {
  const double f = opacity / 10.0;
  std::vector<std::uint8_t> alpha(GridCellCount(picture.Width(), picture.Height(), 1));
  std::size_t i = 0;
  for (int y = 0; y < picture.Height(); ++y) {
    const std::uint8_t* p = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x, p += 3, ++i) {
      const int a = white ? 255 - std::min({p[0], p[1], p[2]}) : std::max({p[0], p[1], p[2]});
      alpha[i] = ClampedByteOfRounded(a * f);
    }
  }
  return alpha;
}

}  // namespace quorl
