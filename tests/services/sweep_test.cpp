#include "services/sweep.h"

#include <gtest/gtest.h>

#include "services/bitmap_font.h"

namespace quorl {
namespace {

TEST(SweepAxisText, ReadsKeyRangeAndCountAndRefusesTheRest) {
  SweepAxis axis;
  std::string error;
  ASSERT_TRUE(ParseSweepAxis("startbumps=2:10", axis, error)) << error;
  EXPECT_EQ(axis.key, "StartBumps");  // the table's spelling
  EXPECT_EQ(axis.from, 2);
  EXPECT_EQ(axis.to, 10);
  EXPECT_EQ(axis.count, 5);
  ASSERT_TRUE(ParseSweepAxis("StartEllipseWidth=0.5:-1.5:3", axis, error)) << error;
  EXPECT_EQ(axis.count, 3);
  EXPECT_EQ(SweepValue(axis, 0), 0.5);
  EXPECT_EQ(SweepValue(axis, 1), -0.5);
  EXPECT_EQ(SweepValue(axis, 2), -1.5);

  for (const char* bad :
       {"StartBumps", "=1:2", "NoSuchKey=1:2", "StartBumps=1", "StartBumps=1:2:3:4", "StartBumps=a:2",
        "StartBumps=1:2:0", "StartBumps=1:2:99", "SourceImageFileName=1:2", "ImageWidth=100:200"}) {
    error.clear();
    EXPECT_FALSE(ParseSweepAxis(bad, axis, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
}

TEST(SweepValues, AreKeptToTheFieldRangesAndTheLabelSaysSo) {
  ParameterSet params;
  EXPECT_EQ(ApplySweepValue(params, "StartBumps", 500), "180");
  EXPECT_EQ(params.StartBumps, 180);
  EXPECT_EQ(ApplySweepValue(params, "StartBumps", -7.6), "-8");
  EXPECT_EQ(ApplySweepValue(params, "StartDepth", 0), "1");
  // Far beyond an int: clamped, not undefined.
  EXPECT_EQ(ApplySweepValue(params, "Steps", 1e300), "60000");
  EXPECT_EQ(ApplySweepValue(params, "StartEllipseWidth", 0.25), "0.25");
  EXPECT_EQ(ApplySweepValue(params, "White", 0.2), "0");
  EXPECT_FALSE(params.White);
}

TEST(SweepTiles, MakeARowForOneKeyAndAGridForTwo) {
  DrawableRecipe base;
  std::vector<SweepAxis> axes = {{"StartBumps", 0, 4, 3}};
  std::vector<SweepTile> row = MakeSweepTiles(base, axes);
  ASSERT_EQ(row.size(), 3u);
  EXPECT_EQ(row[1].labels, std::vector<std::string>{"StartBumps=2"});
  EXPECT_EQ(row[2].recipe.params.StartBumps, 4);
  EXPECT_EQ(row[2].recipe.params.EndBumps, base.params.EndBumps);

  axes.push_back({"EndIota", -90, 90, 2});
  const std::vector<SweepTile> grid = MakeSweepTiles(base, axes);
  ASSERT_EQ(grid.size(), 6u);
  EXPECT_EQ(grid[4].column, 1);
  EXPECT_EQ(grid[4].row, 1);
  EXPECT_EQ(grid[4].labels, (std::vector<std::string>{"StartBumps=2", "EndIota=90"}));
  EXPECT_EQ(grid[4].recipe.params.StartBumps, 2);
  EXPECT_EQ(grid[4].recipe.params.EndIota, 90);
}

TEST(SweepSheet, PutsEachTileAtItsPlaceWithItsLabelBelow) {
  DrawableRecipe base;
  const std::vector<SweepTile> tiles = MakeSweepTiles(base, {{"StartBumps", 1, 2, 2}});
  std::vector<Picture24> pictures;
  for (std::uint8_t shade : {std::uint8_t{90}, std::uint8_t{200}}) {
    Picture24 p(30, 20);
    std::fill(p.Bytes().begin(), p.Bytes().end(), shade);
    pictures.push_back(p);
  }
  const SheetLayout layout = LayoutFor(tiles, 30, 20);
  EXPECT_EQ(layout.textScale, 1);  // "StartBumps=1" is wider than 30 pixels at any scale
  const Picture24 sheet = ComposeSheet(tiles, pictures, layout);
  ASSERT_EQ(sheet.Width(), layout.SheetWidth());
  ASSERT_EQ(sheet.Height(), layout.SheetHeight());
  for (int t = 0; t < 2; ++t) {
    const int x0 = layout.TileX(t), y0 = layout.TileY(0);
    EXPECT_EQ(sheet.Row(y0)[3 * x0], t == 0 ? 90 : 200);
    EXPECT_EQ(sheet.Row(y0 + 19)[3 * (x0 + 29)], t == 0 ? 90 : 200);
    EXPECT_NE(sheet.Row(y0 + 20)[3 * x0], t == 0 ? 90 : 200);  // the tile ends there
    // The label band holds exactly the label's text, clipped to the tile.
    Picture24 expected(sheet.Width(), sheet.Height());
    DrawText(expected, x0, y0 + 20 + 5, tiles[static_cast<size_t>(t)].labels[0], 1, {225, 225, 225}, x0 + 30);
    for (int y = y0 + 20; y < y0 + 20 + layout.LabelHeight(); ++y)
      for (int x = x0; x < x0 + 30; ++x)
        EXPECT_EQ(sheet.Row(y)[3 * x] == 225, expected.Row(y)[3 * x] == 225) << t << ": " << x << "," << y;
  }
}

}  // namespace
}  // namespace quorl
