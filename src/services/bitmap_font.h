// A small bitmap font of our own for labels drawn without a window toolkit:
// 5 x 7 pixel glyphs for printable ASCII, drawn at a whole-number scale.
// Characters outside printable ASCII are drawn as '?'.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/picture24.h"

namespace quorl {

struct TextColour {
  std::uint8_t red = 255, green = 255, blue = 255;
};

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
// A glyph and the blank column after it.
inline constexpr int kGlyphAdvance = kGlyphWidth + 1;

// Width in pixels of `text` at `scale`, without the blank after the last glyph.
int TextWidth(std::string_view text, int scale);

// True when pixel (column, row) of the glyph for `c` is set; row 0 is the top.
bool GlyphPixel(char c, int column, int row);

// Draws `text` with its top-left corner at (x, y) (y counted from the top).
// Pixels outside the picture, or at or beyond clipRight, are left out.
void DrawText(Picture24& picture, int x, int y, std::string_view text, int scale, TextColour colour,
              int clipRight = 1 << 30);

}  // namespace quorl
