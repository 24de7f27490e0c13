// A picture made by Quorl comes back from the recipe inside it: drawn again
// from the PNG alone (or from its saved set) it has the same pixels, for
// every shape function, random scatter, curves, source and background
// pictures, transparency and animation frames; and `quorl verify` agrees.
#include <gtest/gtest.h>

#include <sstream>

#include "app/animate_command.h"
#include "app/recipe_command.h"
#include "app/render_command.h"
#include "app/verify_command.h"
#include "base/atomic_file.h"
#include "canvas/pixel_digest.h"
#include "canvas/png_recipe.h"
#include "canvas/png_writer.h"
#include "support/app_test_support.h"
#include "support/recipe_test_support.h"

namespace quorl {
namespace {

using test::ReadFile;
namespace fs = std::filesystem;

DecodedPixels Pixels(const fs::path& png) {
  DecodedPixels pixels;
  std::string error;
  EXPECT_TRUE(DecodePngPixels(ReadFile(png), pixels, error)) << png << ": " << error;
  return pixels;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class PictureComesBack : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir / "saved"); }

  // A scene for function `fn` with random scatter and a Path and a Radius
  // curve beside it.
  fs::path Scene(int fn, const std::string& extra = "", const std::string& startExtra = "") {
    const fs::path ini = dir / ("scene" + std::to_string(fn) + ".ini");
    std::ofstream(ini) << "[start]\nImageWidth=56\nImageHeight=44\nstyle=sine\n"
                       << startExtra << "[sine]\nFunctionNumber=" << fn
                       << "\nSteps=50\nGrainMultiplier=30\nUseIotaExtra=1\nStartBumps=3\nEndRadius=60\n"
                       << extra;
    const std::string base = ini.string().substr(0, ini.string().size() - 4);
    std::ofstream(base + "_Main_-_Path_curve.curve")
        << "-1\r\n-1\r\n-0.5\r\n0.2\r\n0\r\n0.9\r\n0.5\r\n0.1\r\n1\r\n-1\r\n";
    std::ofstream(base + "_Values_-_Radius.curve")
        << "0\r\n1\r\n0.3\r\n1.4\r\n0.6\r\n0.7\r\n1\r\n1.2\r\n1.3\r\n1\r\n";
    return ini;
  }
  test::Outcome Render(const std::vector<std::string>& words) { return test::RunQuorl("render", words); }
  test::Outcome Verify(const std::vector<std::string>& words) { return test::RunQuorl("verify", words); }
  // Renders with --save and returns the saved picture's path.
  std::string Save(std::vector<std::string> words) {
    words.push_back("--save");
    words.push_back((dir / "saved").string());
    const test::Outcome outcome = Render(words);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const auto lines = Lines(outcome.out);
    return lines.empty() ? "" : lines[0];
  }
  // P drawn again from its recipe alone: same pixels, and verify says so.
  void ExpectComesBack(const std::string& picture) {
    const fs::path again = dir / "again.png";
    const test::Outcome drawn = Render({picture, "-o", again.string()});
    ASSERT_EQ(drawn.status, 0) << drawn.err;
    const PixelDifference d = ComparePixels(Pixels(picture), Pixels(again));
    EXPECT_EQ(d.pixels, 0) << picture << " came back with " << d.pixels << " other pixels";
    EXPECT_TRUE(d.sameShape);
    const test::Outcome verified = Verify({picture, "--quick", again.string()});
    EXPECT_EQ(verified.status, 0) << verified.out;
    const test::Outcome full = Verify({picture});
    EXPECT_EQ(full.out, picture + ": same\n");
    EXPECT_EQ(full.status, 0);
  }

  test::ScratchFolder scratch{"quorl-comes-back"};
  const fs::path dir = scratch.Path();
};

TEST_F(PictureComesBack, EveryFunctionWithScatterAndCurves) {
  for (int fn = 0; fn < 8; ++fn) {
    SCOPED_TRACE("function " + std::to_string(fn));
    const std::string picture = Save({Scene(fn).string(), "--seed", std::to_string(100 + fn)});
    ASSERT_FALSE(picture.empty());
    ExpectComesBack(picture);
    // The settings file saved beside it makes the same picture too, and
    // agrees with the recipe on every key the recipe holds.
    const std::string ini = picture.substr(0, picture.size() - 4) + ".ini";
    Recipe recipe;
    std::string error;
    ASSERT_TRUE(ReadPngRecipe(ReadFile(picture), recipe, error)) << error;
    EXPECT_TRUE(test::RecipeAgreesWithSettings(recipe.settings, ReadFile(ini)));
    EXPECT_NE(recipe.settings.find("ScatterSeed=" + std::to_string(100 + fn)), std::string::npos);
    const fs::path fromIni = dir / "from_ini.png";
    ASSERT_EQ(Render({ini, "-o", fromIni.string()}).status, 0);
    EXPECT_EQ(ComparePixels(Pixels(picture), Pixels(fromIni)).pixels, 0);
  }
  // Another seed is another picture: the seed really is what comes back.
  const fs::path a = dir / "a.png", b = dir / "b.png";
  ASSERT_EQ(Render({Scene(3).string(), "--seed", "1", "-o", a.string()}).status, 0);
  ASSERT_EQ(Render({Scene(3).string(), "--seed", "2", "-o", b.string()}).status, 0);
  EXPECT_GT(ComparePixels(Pixels(a), Pixels(b)).pixels, 0);
}

TEST_F(PictureComesBack, PicturesWrittenWithMinusOCarryTheirRecipeAndTransparency) {
  const fs::path out = dir / "out.png";
  ASSERT_EQ(Render({Scene(2).string(), "--seed", "9", "-o", out.string(), "--transparent", "--opacity", "13"})
                .status,
            0);
  EXPECT_EQ(Pixels(out).channels, 4);
  ExpectComesBack(out.string());
  EXPECT_EQ(Pixels(dir / "again.png").channels, 4);
}

TEST_F(PictureComesBack, ADeepPictureComesBackDeep) {
  const fs::path out = dir / "deep.png";
  ASSERT_EQ(Render({Scene(4).string(), "--seed", "5", "-o", out.string(), "--depth", "16"}).status, 0);
  ExpectComesBack(out.string());
  // Drawn again at the depth its recipe names, to the very bytes.
  EXPECT_EQ(ReadFile(dir / "again.png"), ReadFile(out));
  // Asked for 8 bits, it is the 8-bit picture of the same drawing.
  const fs::path shallow = dir / "shallow.png";
  ASSERT_EQ(Render({out.string(), "--depth", "8", "-o", shallow.string()}).status, 0);
  const fs::path direct = dir / "direct.png";
  ASSERT_EQ(Render({Scene(4).string(), "--seed", "5", "-o", direct.string()}).status, 0);
  EXPECT_EQ(ComparePixels(Pixels(shallow), Pixels(direct)).pixels, 0);
}

TEST_F(PictureComesBack, SourceAndBackgroundPicturesAreNamedByTheirDigest) {
  Picture24 photo(9, 7), backdrop(56, 44);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 9; ++x)
      photo.SetPixel(x, y, static_cast<std::uint8_t>(20 * x), 90, static_cast<std::uint8_t>(30 * y));
  for (int y = 0; y < 44; ++y)
    for (int x = 0; x < 56; ++x)
      backdrop.SetPixel(x, y, 200, static_cast<std::uint8_t>(4 * y), static_cast<std::uint8_t>(4 * x));
  ASSERT_TRUE(WritePngFile((dir / "photo.png").string(), photo, {}));
  ASSERT_TRUE(WritePngFile((dir / "backdrop.png").string(), backdrop, {}));
  const fs::path scene = Scene(1, "",
                               "UseSourceImage=1\nUseBackgroundImage=1\nSaveSourceImageFile=1\n"
                               "SourceImageFileName=/home/author/photo.png\n");
  const std::string picture = Save({scene.string(), "--source-image", (dir / "photo.png").string(),
                                    "--background-image", (dir / "backdrop.png").string()});
  ASSERT_FALSE(picture.empty());
  const std::string base = picture.substr(0, picture.size() - 4);
  ASSERT_TRUE(fs::exists(base + "_source.png"));
  ASSERT_TRUE(fs::exists(base + "_background.png"));
  Recipe recipe;
  std::string error;
  ASSERT_TRUE(ReadPngRecipe(ReadFile(picture), recipe, error));
  EXPECT_NE(recipe.settings.find("SourceImageFileName=photo.png\n"), std::string::npos);  // no folder
  EXPECT_EQ(recipe.settings.find("/home/author"), std::string::npos);
  // The set's copies are found beside the picture.
  ExpectComesBack(picture);

  // Missing: an error that names it.
  fs::rename(base + "_source.png", dir / "kept.png");
  test::Outcome outcome = Render({picture, "-o", (dir / "x.png").string()});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("'photo.png' is missing"), std::string::npos) << outcome.err;
  // Given by hand: fine when it is the same picture, an error when not.
  EXPECT_EQ(
      Render({picture, "-o", (dir / "x.png").string(), "--source-image", (dir / "kept.png").string()}).status,
      0);
  outcome =
      Render({picture, "-o", (dir / "x.png").string(), "--source-image", (dir / "backdrop.png").string()});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("SHA-256 differs"), std::string::npos) << outcome.err;
  EXPECT_EQ(Verify({picture}).status, 1);
  // A shared "pictures" folder beside the picture serves as well.
  fs::create_directories(fs::path(picture).parent_path() / "pictures");
  fs::rename(dir / "kept.png", fs::path(picture).parent_path() / "pictures" / "photo.png");
  EXPECT_EQ(Render({picture, "-o", (dir / "x.png").string()}).status, 0);
}

TEST_F(PictureComesBack, AnimationFramesComeBackOneByOne) {
  const fs::path series =
      Scene(0, "NumberOfFrames=3\nAnimationChangeStartRadius=0.5\nAnimationChangeEndX=0.3\n");
  const test::Outcome made = test::RunQuorl(
      "animate", {series.string(), "--save", (dir / "saved").string(), "--frame-names", "--seed", "4"});
  ASSERT_EQ(made.status, 0) << made.err;
  const auto frames = Lines(made.out);
  ASSERT_EQ(frames.size(), 3u);
  for (const std::string& frame : frames) {
    SCOPED_TRACE(frame);
    ExpectComesBack(frame);
  }
  // A second run into the same names is refused unless asked otherwise.
  test::Outcome again = test::RunQuorl(
      "animate", {series.string(), "--save", (dir / "saved").string(), "--frame-names", "--frames", "1-1"});
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("exists already"), std::string::npos) << again.err;
  again = test::RunQuorl("animate", {series.string(), "--save", (dir / "saved").string(), "--frame-names",
                                     "--frames", "1-1", "--overwrite"});
  EXPECT_EQ(again.status, 0) << again.err;
}

TEST_F(PictureComesBack, TheSettingsFileLoadsExactlyItsListedCurves) {
  const std::string picture = Save({Scene(4).string()});
  const std::string base = picture.substr(0, picture.size() - 4);
  const fs::path before = dir / "before.png", after = dir / "after.png";
  ASSERT_EQ(Render({base + ".ini", "-o", before.string()}).status, 0);
  // An old curve file of the same name, left from another run, is not read.
  std::ofstream(base + "_Values_-_Bumps.curve") << "0\r\n3\r\n0.5\r\n0.1\r\n1\r\n3\r\n1.5\r\n0\r\n2\r\n2\r\n";
  ASSERT_EQ(Render({base + ".ini", "-o", after.string()}).status, 0);
  EXPECT_EQ(ComparePixels(Pixels(before), Pixels(after)).pixels, 0);
  // A listed one that is missing is an error naming it, unless allowed.
  fs::remove(base + "_Values_-_Radius.curve");
  test::Outcome outcome = Render({base + ".ini", "-o", after.string()});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("_Values_-_Radius.curve"), std::string::npos) << outcome.err;
  outcome = Render({base + ".ini", "-o", after.string(), "--allow-missing-curves"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_NE(outcome.err.find("warning"), std::string::npos);
}

TEST_F(PictureComesBack, VerifyTellsDifferentAndUnreproduciblePictures) {
  const std::string picture = Save({Scene(5).string()});
  // The same recipe over other pixels: two pixels changed.
  DecodedPixels pixels = Pixels(picture);
  Picture24 changed(pixels.width, pixels.height);
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x) {
      const std::uint8_t* p = &pixels.bytes[3 * (static_cast<size_t>(y) * pixels.width + x)];
      changed.SetPixel(x, y, p[0], p[1], p[2]);
    }
  changed.Row(3)[5] ^= 0x10;
  changed.Row(7)[9] ^= 0x03;
  Recipe recipe;
  std::string error;
  ASSERT_TRUE(ReadPngRecipe(ReadFile(picture), recipe, error));
  PngWriteOptions options;
  options.texts = RecipeChunks(recipe);
  const fs::path forged = dir / "forged.png";
  ASSERT_TRUE(WritePngFile(forged.string(), changed, options));
  test::Outcome outcome = Verify({picture, forged.string()});
  EXPECT_EQ(outcome.status, 1);
  const auto lines = Lines(outcome.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], picture + ": same");
  // Flipping bit 4 moves a channel by exactly 16; flipping the low two bits
  // by at most 3.
  EXPECT_EQ(lines[1], forged.string() + ": differs: 2 pixels, max channel difference 16");
  EXPECT_EQ(Verify({forged.string(), "--quick"}).status, 1);

  // Two Draws without Clear cannot come back from one recipe.
  std::string text = recipe.settings;
  text.replace(text.find("DrawsSinceClear=1"), 17, "DrawsSinceClear=2");
  options.texts = RecipeChunks({text, recipe.curves});
  ASSERT_TRUE(WritePngFile(forged.string(), changed, options));
  outcome = Verify({forged.string()});
  EXPECT_EQ(outcome.out, forged.string() + ": not reproducible (2 runs)\n");
  EXPECT_EQ(outcome.status, 1);
}

TEST_F(PictureComesBack, TheRecipeIsPrintedAndExtractedAsASetThatDrawsTheSame) {
  const std::string picture = Save({Scene(6).string(), "--seed", "31"});
  test::Outcome printed = test::RunQuorl("recipe", {picture});
  ASSERT_EQ(printed.status, 0);
  EXPECT_TRUE(
      test::RecipeAgreesWithSettings(printed.out, ReadFile(picture.substr(0, picture.size() - 4) + ".ini")));
  const fs::path out = dir / "extracted";
  printed = test::RunQuorl("recipe", {picture, "--extract", out.string()});
  ASSERT_EQ(printed.status, 0) << printed.err;
  const std::string ini = Lines(printed.out).at(0);
  const fs::path drawn = dir / "drawn.png";
  ASSERT_EQ(Render({ini, "-o", drawn.string()}).status, 0);
  EXPECT_EQ(ComparePixels(Pixels(picture), Pixels(drawn)).pixels, 0);
  // A set of that name already there is not overwritten.
  EXPECT_EQ(test::RunQuorl("recipe", {picture, "--extract", out.string()}).status, 1);
}

}  // namespace
}  // namespace quorl

namespace quorl {
namespace {

TEST(StepPointCap, AGrainCurveCannotMakeAStepEndless) {
  test::ScratchFolder scratch{"quorl-cap"};
  const fs::path ini = scratch / "grain.ini";
  // The window's largest grain and multiplier: a million points a step,
  // which the cap leaves alone ...
  std::ofstream(ini)
      << "[start]\nImageWidth=64\nImageHeight=64\n[sine]\nSteps=1\nStartGrain=1000\nEndGrain=1000\n"
         "GrainMultiplier=1000\n";
  std::string figures;
  const auto points = [&](std::string* err) {
    const test::Outcome outcome =
        test::RunQuorl("render", {ini.string(), "-o", (scratch / "out.png").string(), "--bench"});
    EXPECT_EQ(outcome.status, 0);
    *err = outcome.err;
    figures = outcome.out;
    const size_t at = outcome.out.find("points: ");
    return at == std::string::npos ? -1LL : std::stoll(outcome.out.substr(at + 8));
  };
  std::string err;
  const long long uncapped = points(&err);
  // One step is drawn (Steps=1 ends at step 0 or 1 by PercentToComplete).
  EXPECT_GT(uncapped, 1000000);
  EXPECT_LE(uncapped, 2 * 1000002);
  EXPECT_EQ(err.find("2,000,000"), std::string::npos);
  EXPECT_NE(figures.find("steps held to the point cap: 0\n"), std::string::npos) << figures;
  // ... and a hand-edited grain curve that multiplies it by 63 is held to
  // the cap, said once for the run.
  std::string curve;
  for (int i = 0; i < 6; ++i) curve += std::to_string(i * 0.2) + "\r\n63\r\n";
  std::ofstream(scratch / "grain_Values_-_Grain.curve") << curve;
  const long long capped = points(&err);
  EXPECT_GE(capped, 2000000);
  EXPECT_LE(capped, 2 * 2000002);
  EXPECT_LT(capped, 63 * uncapped / 2);
  const size_t first = err.find("2,000,000");
  EXPECT_NE(first, std::string::npos) << err;
  EXPECT_EQ(err.find("2,000,000", first + 1), std::string::npos) << "said more than once:\n" << err;
  // The figures count the held step (the golden test relies on this line).
  EXPECT_NE(figures.find("steps held to the point cap: 1\n"), std::string::npos) << figures;
}

}  // namespace
}  // namespace quorl
