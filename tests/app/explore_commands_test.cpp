// The exploring commands as a user runs them: gallery pictures drawn again,
// contact sheets against separate renders, random pictures by seed.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/gallery_command.h"
#include "app/random_command.h"
#include "app/render_command.h"
#include "app/sweep_command.h"
#include "canvas/picture_files.h"
#include "services/bitmap_font.h"
#include "services/gallery.h"
#include "support/app_test_support.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;
using test::Outcome;
using test::ScratchFolder;
using test::WriteFile;

Picture24 Decode(const fs::path& path) {
  Picture24 picture;
  std::string error;
  EXPECT_TRUE(DecodePictureFile(path.string(), picture, error)) << path << ": " << error;
  return picture;
}

Outcome Gallery(const std::vector<std::string>& words) {
  return test::RunQuorl("gallery", words);
}
Outcome Sweep(const std::vector<std::string>& words) {
  return test::RunQuorl("sweep", words);
}
Outcome Random(const std::vector<std::string>& words) {
  return test::RunQuorl("random", words);
}

const std::string kGallery = std::string(QUORL_SOURCE_DIR) + "/gallery";

TEST(GalleryCommand, EveryPictureDrawsAgainPixelForPixel) {
  const std::vector<GalleryEntry> entries = ListGallery(kGallery);
  ASSERT_GE(entries.size(), 24u);
  int animations = 0;
  ScratchFolder scratch("quorl-gallery");
  for (const GalleryEntry& entry : entries) {
    const fs::path out = scratch / (entry.name + ".png");
    const Outcome run = Gallery({entry.name, "-o", out.string(), "--folder", kGallery});
    ASSERT_EQ(run.status, 0) << entry.name << ": " << run.err;
    const Picture24 shipped = Decode(entry.path);
    const Picture24 again = Decode(out);
    EXPECT_TRUE(shipped == again) << entry.name << " came out different";
    animations += entry.frame > 0;
  }
  EXPECT_GE(animations, 2);
}

TEST(GalleryCommand, ListsTheGalleryAndRefusesUnknownNames) {
  const Outcome list = Gallery({"--folder", kGallery});
  ASSERT_EQ(list.status, 0) << list.err;
  for (const GalleryEntry& entry : ListGallery(kGallery))
    EXPECT_NE(list.out.find(entry.name), std::string::npos) << entry.name;
  const Outcome unknown = Gallery({"no-such-picture", "-o", "/tmp/x.png", "--folder", kGallery});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.err.find("no picture"), std::string::npos);
  EXPECT_EQ(Gallery({"01", "--folder", kGallery}).status, 2);  // no -o
}

const char* kSweepSettings =
    "[start]\nstyle=circles\nImageWidth=300\nImageHeight=300\n[circles]\nFunctionNumber=3\nSteps=120\n"
    "StartBumps=2\nEndBumps=6\nStartDepth=3\nEndDepth=3\nGrainMultiplier=120\nStartRadius=120\n"
    "White=0\nBgMaxRed=0\nBgMaxGreen=0\nBgMaxBlue=0\n";

TEST(SweepCommand, EachTileEqualsASeparateRenderAtTileSize) {
  ScratchFolder scratch("quorl-sweep");
  WriteFile(scratch / "s.ini", kSweepSettings);
  const fs::path sheetPath = scratch / "sheet.png";
  const Outcome run = Sweep({(scratch / "s.ini").string(), "--vary", "StartBumps=1:9:3", "--tile", "64x48",
                             "-o", sheetPath.string(), "--threads", "2"});
  ASSERT_EQ(run.status, 0) << run.err;
  const Picture24 sheet = Decode(sheetPath);

  std::vector<SweepTile> tiles(3);
  for (int i = 0; i < 3; ++i) tiles[static_cast<size_t>(i)].column = i;
  tiles[0].labels = {"StartBumps=1"};
  const SheetLayout layout = LayoutFor(tiles, 64, 48);
  ASSERT_EQ(sheet.Width(), layout.SheetWidth());
  ASSERT_EQ(sheet.Height(), layout.SheetHeight());
  for (int i = 0; i < 3; ++i) {
    const int bumps = 1 + 4 * i;
    const fs::path single = scratch / ("single" + std::to_string(i) + ".png");
    RenderOptions render;
    render.settingsPath = (scratch / "s.ini").string();
    render.outputPath = single.string();
    render.overrides = {{"StartBumps", std::to_string(bumps)}, {"ImageWidth", "64"}, {"ImageHeight", "48"}};
    render.quiet = true;
    CommandIo io;
    ASSERT_EQ(RunRender(render, io), 0);
    const Picture24 alone = Decode(single);
    ASSERT_EQ(alone.Width(), 64);
    int differing = 0;
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64 * 3; ++x)
        differing += sheet.Row(layout.TileY(0) + y)[3 * layout.TileX(i) + x] != alone.Row(y)[x];
    EXPECT_EQ(differing, 0) << "tile " << i;
  }
}

TEST(SweepCommand, AValueOutsideTheFieldRangeIsClampedAndLabelledSo) {
  ScratchFolder scratch("quorl-sweep");
  WriteFile(scratch / "s.ini", kSweepSettings);
  const fs::path sheetPath = scratch / "sheet.png";
  ASSERT_TRUE(fs::create_directory(scratch / "tiles"));
  const Outcome run = Sweep({(scratch / "s.ini").string(), "--vary", "StartDepth=-5:100:2", "--tile",
                             "120x40", "-o", sheetPath.string(), "--save", (scratch / "tiles").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const Picture24 sheet = Decode(sheetPath);
  std::vector<SweepTile> tiles(2);
  tiles[1].column = 1;
  tiles[0].labels = {"StartDepth=50"};
  const SheetLayout layout = LayoutFor(tiles, 120, 40);
  // The labels read the clamped values 1 and 50, not -5 and 100.
  for (const auto& [column, label] : {std::pair{0, "StartDepth=1"}, std::pair{1, "StartDepth=50"}}) {
    Picture24 expected(sheet.Width(), sheet.Height());
    const int x0 = layout.TileX(column), y0 = layout.TileY(0) + 40;
    DrawText(expected, x0, y0 + 5, label, layout.textScale, {225, 225, 225}, x0 + 120);
    int wrong = 0;
    for (int y = y0; y < y0 + layout.LabelHeight(); ++y)
      for (int x = x0; x < x0 + 120; ++x)
        wrong += (sheet.Row(y)[3 * x] == 225) != (expected.Row(y)[3 * x] == 225);
    EXPECT_EQ(wrong, 0) << label;
  }
  // Each tile's recipe is saved with the clamped value and the full size.
  EXPECT_NE(run.out.find("sweep_StartDepth_50.png"), std::string::npos) << run.out;
  const std::string settings = test::ReadFile(scratch / "tiles" / "sweep_StartDepth_50.ini");
  EXPECT_NE(settings.find("StartDepth=50"), std::string::npos);
  EXPECT_NE(settings.find("ImageWidth=300"), std::string::npos);
}

TEST(SweepCommand, RefusesBadArguments) {
  for (const std::vector<std::string>& words :
       {std::vector<std::string>{"s.ini", "-o", "x.png"},
        {"s.ini", "--vary", "StartBumps=1:2", "--vary", "startbumps=3:4", "-o", "x.png"},
        {"s.ini", "--vary", "StartBumps=1:2", "--vary", "EndBumps=1:2", "--vary", "StartIota=1:2", "-o",
         "x.png"},
        {"s.ini", "--vary", "StartBumps=1:2"},
        {"s.ini", "--vary", "StartBumps=1:2", "-o", "x.png", "--tile", "5x5"},
        {"--vary", "StartBumps=1:2", "-o", "x.png"}}) {
    const Outcome run = Sweep(words);
    EXPECT_EQ(run.status, 2) << words[0];
    EXPECT_FALSE(run.err.empty());
  }
}

TEST(SweepCommand, ASheetTooLargeToHoldIsRefusedBeforeDrawing) {
  ScratchFolder scratch("quorl-sweep");
  WriteFile(scratch / "s.ini", kSweepSettings);
  const Outcome run =
      Sweep({(scratch / "s.ini").string(), "--vary", "StartBumps=1:24:24", "--vary", "EndBumps=1:24:24",
             "--tile", "2000x2000", "-o", (scratch / "sheet.png").string()});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("too large"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(scratch / "sheet.png"));
}

TEST(RandomCommand, TheSameSeedGivesTheSameBytesAndOtherSeedsDiffer) {
  ScratchFolder scratch("quorl-random");
  const auto draw = [&](const std::string& seed, const std::string& name) {
    const Outcome run = Random({"--seed", seed, "--size", "80x64", "-o", (scratch / name).string()});
    EXPECT_EQ(run.status, 0) << run.err;
    return test::ReadFile(scratch / name);
  };
  const std::string a = draw("17", "a.png");
  EXPECT_EQ(draw("17", "b.png"), a);
  EXPECT_NE(draw("18", "c.png"), a);
  EXPECT_FALSE(a.empty());
  EXPECT_EQ(Random({"-o", "x.png"}).status, 2);
  EXPECT_EQ(Random({"--seed", "1"}).status, 2);
}

TEST(RandomCommand, ASavedRandomPictureDrawsAgainFromItsRecipe) {
  ScratchFolder scratch("quorl-random");
  const Outcome run = Random({"--seed", "5", "--size", "72x72", "--save", scratch.Path().string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const fs::path saved = scratch / "quorl_random_5.png";
  ASSERT_TRUE(fs::exists(saved)) << run.out;
  RenderOptions render;
  render.settingsPath = saved.string();
  render.outputPath = (scratch / "again.png").string();
  render.quiet = true;
  CommandIo io;
  ASSERT_EQ(RunRender(render, io), 0);
  EXPECT_TRUE(Decode(saved) == Decode(scratch / "again.png"));
}

}  // namespace
}  // namespace quorl
