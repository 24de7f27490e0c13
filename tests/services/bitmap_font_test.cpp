#include "services/bitmap_font.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace quorl {
namespace {

std::string GlyphBits(char c) {
  std::string bits;
  for (int row = 0; row < kGlyphHeight; ++row)
    for (int column = 0; column < kGlyphWidth; ++column) bits += GlyphPixel(c, column, row) ? '#' : '.';
  return bits;
}

// A slip in the glyph table (a row too short, two glyphs pasted twice)
// shows up as a blank or repeated glyph.
TEST(BitmapFont, EveryPrintableCharacterHasItsOwnVisibleGlyph) {
  std::set<std::string> seen;
  for (char c = 33; c < 127; ++c) {
    const std::string bits = GlyphBits(c);
    EXPECT_NE(bits.find('#'), std::string::npos) << "'" << c << "' is blank";
    EXPECT_TRUE(seen.insert(bits).second) << "'" << c << "' looks like another character";
  }
  EXPECT_EQ(GlyphBits(' ').find('#'), std::string::npos);
  // Outside printable ASCII the question mark stands in.
  EXPECT_EQ(GlyphBits('\x01'), GlyphBits('?'));
  EXPECT_EQ(GlyphBits('\xe9'), GlyphBits('?'));
}

TEST(BitmapFont, DrawsTheGlyphsScaledAtTheirPlaceAndNothingElse) {
  Picture24 picture(40, 20);
  DrawText(picture, 3, 2, "=1", 2, {10, 20, 30});
  EXPECT_EQ(TextWidth("=1", 2), (2 * kGlyphAdvance - 1) * 2);
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      const int gx = (x - 3) / 2, gy = (y - 2) / 2;
      bool expected = false;
      if (x >= 3 && y >= 2 && gy < kGlyphHeight) {
        const int k = gx / kGlyphAdvance, column = gx % kGlyphAdvance;
        if (k < 2) expected = GlyphPixel("=1"[k], column, gy);
      }
      const std::uint8_t* p = picture.Row(y) + 3 * x;
      if (expected) {
        EXPECT_TRUE(p[0] == 30 && p[1] == 20 && p[2] == 10) << x << "," << y;
      } else {
        EXPECT_TRUE(p[0] == 0 && p[1] == 0 && p[2] == 0) << x << "," << y;
      }
    }
  }
}

TEST(BitmapFont, ClipsAtTheRightLimitAndThePictureEdges) {
  Picture24 picture(12, 5);
  // Starts left of and above the picture, and is cut at column 8.
  DrawText(picture, -4, -3, "MMMM", 1, {255, 255, 255}, 8);
  bool any = false;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      const bool lit = picture.Row(y)[3 * x] != 0;
      any |= lit;
      if (x >= 8) {
        EXPECT_FALSE(lit) << x << "," << y;
      }
    }
  EXPECT_TRUE(any);
}

}  // namespace
}  // namespace quorl
