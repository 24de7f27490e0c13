#include "canvas/png_writer.h"

#include <png.h>

#include <algorithm>
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

// Everything between setjmp and the end of the picture. No object with a
// destructor lives in this frame; the caller owns the buffers.
bool WritePngRows(png_structp png, png_infop info, const Picture24& picture, const std::uint8_t* alpha,
                  std::uint8_t* scratch, png_text* texts, int text_count) {
  if (setjmp(png_jmpbuf(png))) return false;
  const int width = picture.Width();
  const int height = picture.Height();
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (text_count > 0) png_set_text(png, info, texts, text_count);
  png_write_info(png, info);
  // Our bytes are blue, green, red.
  png_set_bgr(png);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = picture.Row(y);
    if (alpha) {
      const std::uint8_t* a = alpha + static_cast<std::size_t>(y) * width;
      for (int x = 0; x < width; ++x) {
        std::memcpy(scratch + 4 * static_cast<std::size_t>(x), row + 3 * static_cast<std::size_t>(x), 3);
        scratch[4 * static_cast<std::size_t>(x) + 3] = a[x];
      }
      png_write_row(png, scratch);
    } else {
      png_write_row(png, row);
    }
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

bool EncodePng(const Picture24& picture, const PngWriteOptions& options, std::string& out,
               std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (picture.Empty()) return fail("the picture has no pixels");
  const bool with_alpha = !options.alpha.empty();
  if (with_alpha && options.alpha.size() != GridCellCount(picture.Width(), picture.Height(), 1))
    return fail("the alpha values do not match the picture's size");

  std::vector<std::uint8_t> scratch(with_alpha ? static_cast<std::size_t>(picture.Width()) * 4 : 0);
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
  const bool ok = WritePngRows(png, info, picture, with_alpha ? options.alpha.data() : nullptr,
                               scratch.data(), texts.data(), static_cast<int>(texts.size()));
  png_destroy_write_struct(&png, &info);
  if (!ok) return fail(state.message);
  out.swap(encoded);
  return true;
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
