// Contact sheets: one recipe drawn for a row (or grid) of values of one or
// two settings keys, the tiles laid out side by side with the key and the
// value in force printed under each.
#pragma once

#include <string>
#include <vector>

#include "base/picture24.h"
#include "services/recipe_drawing.h"

namespace quorl {

// One --vary KEY=FROM:TO[:COUNT].
struct SweepAxis {
  std::string key;  // spelled as in the settings table
  double from = 0;
  double to = 0;
  int count = 5;
};

inline constexpr int kMaxSweepCount = 24;

// Reads "KEY=FROM:TO" or "KEY=FROM:TO:COUNT". The key must name a number in
// the settings (matched without regard to case), COUNT is 1 to
// kMaxSweepCount. False with a one-line reason.
bool ParseSweepAxis(const std::string& text, SweepAxis& axis, std::string& error);

// The i-th of count values from `from` to `to`, evenly spaced.
double SweepValue(const SweepAxis& axis, int i);

// Sets the axis's key to `value` in `params` (rounded to the nearest whole
// number for an integer key) and applies the tool windows' ranges to every
// field, as opening the file would. Returns the value now in force, as text.
std::string ApplySweepValue(ParameterSet& params, const std::string& key, double value);

struct SweepTile {
  DrawableRecipe recipe;
  std::vector<std::string> labels;  // "KEY=value", one per axis
  int column = 0;
  int row = 0;
};

// The tiles of a sweep: the first axis along the row, the second (if any)
// down the columns.
std::vector<SweepTile> MakeSweepTiles(const DrawableRecipe& base, const std::vector<SweepAxis>& axes);

struct SheetLayout {
  int tileWidth = 0;
  int tileHeight = 0;
  int columns = 0;
  int rows = 0;
  int labelLines = 1;
  int margin = 8;
  int textScale = 1;
  int LabelHeight() const;
  int SheetWidth() const;
  int SheetHeight() const;
  // Top-left corner of tile (column, row) on the sheet.
  int TileX(int column) const;
  int TileY(int row) const;
};

// A sheet is at most this many pixels (300 MB of picture); a larger one is
// refused before anything is drawn.
inline constexpr long long kMaxSheetPixels = 100'000'000;
bool SheetFits(const SheetLayout& layout);

SheetLayout LayoutFor(const std::vector<SweepTile>& tiles, int tileWidth, int tileHeight);

// Lays the drawn tiles (in the order of `tiles`) out on one picture.
Picture24 ComposeSheet(const std::vector<SweepTile>& tiles, const std::vector<Picture24>& pictures,
                       const SheetLayout& layout);

}  // namespace quorl
