#include "services/sweep.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <variant>

#include "base/number_text.h"
#include "services/bitmap_font.h"
#include "settings/field_ranges.h"
#include "settings/settings_table.h"

namespace quorl {
namespace {

bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The row of a key that holds a number or a switch, or null.
const KeyDescriptor* NumericKey(std::string_view key) {
  for (const KeyDescriptor& row : SettingsTable()) {
    if (!SameKey(row.key, key)) continue;
    if (std::holds_alternative<int ParameterSet::*>(row.member) ||
        std::holds_alternative<double ParameterSet::*>(row.member) ||
        std::holds_alternative<bool ParameterSet::*>(row.member))
      return &row;
  }
  return nullptr;
}

int NearestInt(double value) {
  if (!(value > INT_MIN)) return INT_MIN;
  if (!(value < INT_MAX)) return INT_MAX;
  return static_cast<int>(std::lround(value));
}

const TextColour kLabelColour{225, 225, 225};
constexpr std::uint8_t kSheetGrey = 38;

}  // namespace

bool ParseSweepAxis(const std::string& text, SweepAxis& axis, std::string& error) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) {
    error = "--vary needs KEY=FROM:TO[:COUNT], not '" + text + "'";
    return false;
  }
  const std::string key = text.substr(0, equals);
  const KeyDescriptor* row = NumericKey(key);
  if (!row) {
    error = "'" + key + "' is not a settings key that holds a number";
    return false;
  }
  if (SameKey(key, "ImageWidth") || SameKey(key, "ImageHeight")) {
    error = "the tile size sets ImageWidth and ImageHeight (use --tile WxH)";
    return false;
  }
  std::vector<std::string> parts;
  std::size_t start = equals + 1;
  for (;;) {
    const std::size_t colon = text.find(':', start);
    parts.push_back(text.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  if (parts.size() < 2 || parts.size() > 3) {
    error = "--vary needs KEY=FROM:TO[:COUNT], not '" + text + "'";
    return false;
  }
  const std::optional<double> from = ParseFloat(parts[0]);
  const std::optional<double> to = ParseFloat(parts[1]);
  if (!from || !to) {
    error = "--vary " + key + ": FROM and TO must be numbers, not '" + parts[0] + "' and '" + parts[1] + "'";
    return false;
  }
  int count = 5;
  if (parts.size() == 3) {
    const std::optional<int> n = ParseInt(parts[2]);
    if (!n || *n < 1 || *n > kMaxSweepCount) {
      error = "--vary " + key + ": COUNT must be a whole number from 1 to " + std::to_string(kMaxSweepCount) +
              ", not '" + parts[2] + "'";
      return false;
    }
    count = *n;
  }
  axis = {row->key, *from, *to, count};
  return true;
}

double SweepValue(const SweepAxis& axis, int i) {
  if (axis.count <= 1) return axis.from;
  return axis.from + (axis.to - axis.from) * static_cast<double>(i) / static_cast<double>(axis.count - 1);
}

std::string ApplySweepValue(ParameterSet& params, const std::string& key, double value) {
  const KeyDescriptor* row = NumericKey(key);
  if (!row) return "";
  std::string text;
  if (auto* member = std::get_if<int ParameterSet::*>(&row->member)) {
    params.*(*member) = NearestInt(value);
    KeepInFieldRanges(params);
    text = FormatInt(params.*(*member));
  } else if (auto* real = std::get_if<double ParameterSet::*>(&row->member)) {
    // As a settings file stores it, so a saved tile draws again exactly.
    params.*(*real) = ParseFloat(FormatFloat(value)).value_or(value);
    KeepInFieldRanges(params);
    text = FormatFloat(params.*(*real));
  } else if (auto* flag = std::get_if<bool ParameterSet::*>(&row->member)) {
    params.*(*flag) = NearestInt(value) != 0;
    KeepInFieldRanges(params);
    text = params.*(*flag) ? "1" : "0";
  }
  return text;
}

std::vector<SweepTile> MakeSweepTiles(const DrawableRecipe& base, const std::vector<SweepAxis>& axes) {
  std::vector<SweepTile> tiles;
  if (axes.empty()) return tiles;
  const int columns = axes[0].count;
  const int rows = axes.size() > 1 ? axes[1].count : 1;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      SweepTile tile;
      tile.recipe = base;
      tile.column = c;
      tile.row = r;
      for (std::size_t a = 0; a < axes.size() && a < 2; ++a) {
        const int i = a == 0 ? c : r;
        tile.labels.push_back(axes[a].key + "=" +
                              ApplySweepValue(tile.recipe.params, axes[a].key, SweepValue(axes[a], i)));
      }
      tiles.push_back(std::move(tile));
    }
  }
  return tiles;
}

int SheetLayout::LabelHeight() const {
  return labelLines * (kGlyphHeight + 3) * textScale + 6;
}
int SheetLayout::SheetWidth() const {
  return margin + columns * (tileWidth + margin);
}
int SheetLayout::SheetHeight() const {
  return margin + rows * (tileHeight + LabelHeight() + margin);
}
int SheetLayout::TileX(int column) const {
  return margin + column * (tileWidth + margin);
}
int SheetLayout::TileY(int row) const {
  return margin + row * (tileHeight + LabelHeight() + margin);
}

bool SheetFits(const SheetLayout& layout) {
  return static_cast<long long>(layout.SheetWidth()) * layout.SheetHeight() <= kMaxSheetPixels;
}

SheetLayout LayoutFor(const std::vector<SweepTile>& tiles, int tileWidth, int tileHeight) {
  SheetLayout layout;
  layout.tileWidth = tileWidth;
  layout.tileHeight = tileHeight;
  std::size_t longest = 0;
  for (const SweepTile& tile : tiles) {
    layout.columns = std::max(layout.columns, tile.column + 1);
    layout.rows = std::max(layout.rows, tile.row + 1);
    layout.labelLines = std::max(layout.labelLines, static_cast<int>(tile.labels.size()));
    for (const std::string& label : tile.labels) longest = std::max(longest, label.size());
  }
  // Twice the size when the longest label still fits under its tile.
  layout.textScale = TextWidth(std::string(longest, 'M'), 2) <= tileWidth ? 2 : 1;
  return layout;
}

Picture24 ComposeSheet(const std::vector<SweepTile>& tiles, const std::vector<Picture24>& pictures,
                       const SheetLayout& layout) {
  Picture24 sheet(layout.SheetWidth(), layout.SheetHeight());
  std::fill(sheet.Bytes().begin(), sheet.Bytes().end(), kSheetGrey);
  for (std::size_t i = 0; i < tiles.size() && i < pictures.size(); ++i) {
    const SweepTile& tile = tiles[i];
    const Picture24& picture = pictures[i];
    const int x0 = layout.TileX(tile.column);
    const int y0 = layout.TileY(tile.row);
    const int w = std::min(picture.Width(), layout.tileWidth);
    for (int y = 0; y < std::min(picture.Height(), layout.tileHeight); ++y)
      std::copy_n(picture.Row(y), 3 * w, sheet.Row(y0 + y) + 3 * x0);
    int textY = y0 + layout.tileHeight + 5;
    for (const std::string& label : tile.labels) {
      DrawText(sheet, x0, textY, label, layout.textScale, kLabelColour, x0 + layout.tileWidth);
      textY += (kGlyphHeight + 3) * layout.textScale;
    }
  }
  return sheet;
}

}  // namespace quorl
