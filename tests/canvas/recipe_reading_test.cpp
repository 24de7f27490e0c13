#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>

#include "canvas/pixel_digest.h"
#include "canvas/png_chunks.h"
#include "canvas/png_recipe.h"
#include "canvas/png_writer.h"

namespace quorl {
namespace {

Picture24 Gradient(int w, int h) {
  Picture24 p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      p.SetPixel(x, y, static_cast<std::uint8_t>(x * 9), static_cast<std::uint8_t>(y * 7), 40);
  return p;
}

std::string Encode(const Picture24& picture, const std::vector<PngText>& texts) {
  PngWriteOptions options;
  options.texts = texts;
  std::string bytes;
  EXPECT_TRUE(EncodePng(picture, options, bytes));
  return bytes;
}

// A chunk with its length and checksum, as a PNG file holds it.
std::string Chunk(const std::string& type, const std::string& body) {
  std::string chunk;
  const auto put32 = [&chunk](std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) chunk += static_cast<char>((v >> shift) & 0xff);
  };
  put32(static_cast<std::uint32_t>(body.size()));
  const std::string typed = type + body;
  chunk += typed;
  put32(static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), typed.size())));
  return chunk;
}

// Puts a chunk just before the end chunk.
std::string WithChunk(const std::string& png, const std::string& chunk) {
  return png.substr(0, png.size() - 12) + chunk + png.substr(png.size() - 12);
}

std::string Deflated(const std::string& text) {
  uLongf size = compressBound(text.size());
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(text.data()),
            text.size(), 9);
  out.resize(size);
  return out;
}

TEST(RecipeReading, ReadsTheTextsWithoutDecodingThePicture) {
  Recipe recipe{"[start]\nstyle=tan\n", {{"Values_-_Radius", "1\r\n2\r\n"}, {"anim_end", "3\r\n4\r\n"}}};
  std::string png = Encode(Gradient(40, 30), RecipeChunks(recipe));
  // Damage the pixel data but keep its checksum right: the recipe is still
  // read, because the pixels are never decoded for it.
  const size_t idat = png.find("IDAT");
  ASSERT_NE(idat, std::string::npos);
  std::uint32_t length = 0;
  for (int i = 4; i >= 1; --i) length = (length << 8) | static_cast<std::uint8_t>(png[idat - i]);
  std::string damaged = png.substr(0, idat - 4) + Chunk("IDAT", std::string(length, '\x55')) +
                        png.substr(idat + 4 + length + 4);
  Recipe read;
  std::string error;
  ASSERT_TRUE(ReadPngRecipe(damaged, read, error)) << error;
  EXPECT_EQ(read.settings, recipe.settings);
  EXPECT_EQ(read.curves, recipe.curves);
  DecodedPixels pixels;
  EXPECT_FALSE(DecodePngPixels(damaged, pixels, error));

  // A wrong checksum, a cut file, or a second set of settings: refused.
  std::string flipped = png;
  flipped[png.find("quorl-settings") + 2] ^= 1;
  EXPECT_FALSE(ReadPngRecipe(flipped, read, error));
  EXPECT_NE(error.find("checksum"), std::string::npos) << error;
  EXPECT_FALSE(ReadPngRecipe(png.substr(0, png.size() - 20), read, error));
  const std::string twice =
      WithChunk(png, Chunk("tEXt", std::string("quorl-settings") + '\0' + "[start]\nstyle=sine\n"));
  EXPECT_FALSE(ReadPngRecipe(twice, read, error));
  EXPECT_NE(error.find("two sets of settings"), std::string::npos) << error;
}

TEST(RecipeReading, TextThatInflatesPastTheLimitIsRefusedQuickly) {
  const std::string png = Encode(Gradient(8, 8), RecipeChunks({"[start]\n", {}}));
  // Ten chunks of 60 MB of zeros each, about 60 KB apiece on disk.
  const std::string bomb = Deflated(std::string(60u << 20, '0'));
  std::string big = png;
  for (int i = 0; i < 10; ++i)
    big = WithChunk(big, Chunk("zTXt", "quorl-curve:c" + std::to_string(i) + '\0' + '\0' + bomb));
  ASSERT_LT(big.size(), 1u << 20);
  Recipe read;
  std::string error;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(ReadPngRecipe(big, read, error));
  EXPECT_NE(error.find("larger than 16 MB"), std::string::npos) << error;
  // Not a timing test of speed: only that it stops at the limit rather than
  // inflating all 600 MB (which takes many seconds).
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  // Below the limit, the same kind of chunk reads.
  const std::string fine = WithChunk(
      png, Chunk("zTXt", std::string("quorl-curve:c") + '\0' + '\0' + Deflated(std::string(1u << 20, '0'))));
  ASSERT_TRUE(ReadPngRecipe(fine, read, error)) << error;
  ASSERT_EQ(read.curves.size(), 1u);
  EXPECT_EQ(read.curves[0].second.size(), 1u << 20);
}

TEST(PixelDigest, ThePixelsOfAPictureAndOfItsDecodingAgree) {
  const Picture24 picture = Gradient(13, 7);
  std::vector<std::uint8_t> alpha(13 * 7);
  for (size_t i = 0; i < alpha.size(); ++i) alpha[i] = static_cast<std::uint8_t>(i * 3);
  for (bool withAlpha : {false, true}) {
    PngWriteOptions options;
    if (withAlpha) options.alpha = alpha;
    std::string bytes, error;
    ASSERT_TRUE(EncodePng(picture, options, bytes));
    DecodedPixels decoded;
    ASSERT_TRUE(DecodePngPixels(bytes, decoded, error)) << error;
    EXPECT_EQ(decoded.channels, withAlpha ? 4 : 3);
    EXPECT_EQ(decoded.bytes, PixelsOf(picture, options.alpha).bytes);
    EXPECT_EQ(PixelDigest(decoded), PixelDigest(PixelsOf(picture, options.alpha)));
  }
  EXPECT_NE(PixelDigest(PixelsOf(picture)), PixelDigest(PixelsOf(picture, alpha)));

  Picture24 changed = picture;
  changed.SetPixel(3, 2, 0, 0, 255);  // was (27, 14, 40)
  changed.SetPixel(4, 2, 36, 14, 41);
  const PixelDifference d = ComparePixels(PixelsOf(picture), PixelsOf(changed));
  EXPECT_EQ(d.pixels, 2);
  EXPECT_EQ(d.maxChannel, 215);
  EXPECT_NE(PixelDigest(PixelsOf(picture)), PixelDigest(PixelsOf(changed)));
  EXPECT_FALSE(ComparePixels(PixelsOf(picture), PixelsOf(Gradient(13, 8))).sameShape);
}

}  // namespace
}  // namespace quorl
