#include <gtest/gtest.h>
#include <png.h>

#include <cstring>

#include "app/render_command.h"
#include "canvas/png_writer.h"
#include "support/app_test_support.h"

namespace quorl {
namespace {

using test::ReadFile;
namespace fs = std::filesystem;

class RenderSaving : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "saved");
    settings = dir / "scene.ini";
    std::ofstream(settings) << "[start]\nImageWidth=48\nImageHeight=40\nstyle=circles\n"
                               "[circles]\nFunctionNumber=3\nSteps=60\nGrainMultiplier=40\nUseIotaExtra=1\n";
    // A Path curve beside the settings file, as a saved set has it.
    std::ofstream(dir / "scene_Main_-_Path_curve.curve")
        << "-1\r\n-1\r\n-0.5\r\n0.2\r\n0\r\n0.9\r\n0.5\r\n0.1\r\n1\r\n-1\r\n";
  }
  // Runs `quorl render` in-process; returns the exit status, stdout in *out.
  int Render(const std::vector<std::string>& words, std::string* out = nullptr) {
    const test::Outcome outcome = test::RunQuorl("render", words);
    if (out) *out = outcome.out;
    return outcome.status;
  }

  test::ScratchFolder scratch{"quorl-save-test"};
  const fs::path dir = scratch.Path();
  fs::path settings;
};

TEST_F(RenderSaving, SaveWritesTheSetAndThePictureRendersAgainToTheSameBytes) {
  const std::string direct = (dir / "direct.png").string();
  std::string printed;
  ASSERT_EQ(Render({settings.string(), "-o", direct, "--save", (dir / "saved").string()}, &printed), 0);
  ASSERT_FALSE(printed.empty());
  const fs::path png = printed.substr(0, printed.find('\n'));
  ASSERT_TRUE(fs::exists(png)) << png;
  EXPECT_EQ(png.parent_path(), dir / "saved");
  const std::string base = png.stem().string();
  EXPECT_TRUE(fs::exists(dir / "saved" / (base + ".ini")));
  EXPECT_TRUE(fs::exists(dir / "saved" / (base + "_Main_-_Path_curve.curve")));

  // The saved settings file and the picture itself each make the picture
  // again, byte for byte: the same pixels as the direct render.
  const std::string fromIni = (dir / "from_ini.png").string();
  const std::string fromPng = (dir / "from_png.png").string();
  ASSERT_EQ(Render({(dir / "saved" / (base + ".ini")).string(), "-o", fromIni}), 0);
  ASSERT_EQ(Render({png.string(), "-o", fromPng}), 0);
  EXPECT_EQ(ReadFile(fromIni), ReadFile(direct));
  EXPECT_EQ(ReadFile(fromPng), ReadFile(direct));
}

TEST_F(RenderSaving, PicturesWithoutARecipeAreRefusedClearly) {
  std::string printed;
  ASSERT_EQ(Render({settings.string(), "--save", (dir / "saved").string(), "--no-recipe"}, &printed), 0);
  const std::string png = printed.substr(0, printed.find('\n'));
  EXPECT_EQ(Render({png, "-o", (dir / "again.png").string()}), 1);
  // A damaged picture: the first half of a saved one.
  const std::string half = ReadFile(png).substr(0, 200);
  std::ofstream(dir / "half.png", std::ios::binary) << "\x89PNG\r\n\x1a\n" << half.substr(8);
  EXPECT_EQ(Render({(dir / "half.png").string(), "-o", (dir / "again.png").string()}), 1);
  EXPECT_FALSE(fs::exists(dir / "again.png"));
  EXPECT_EQ(Render({settings.string(), "--save", (dir / "missing").string()}), 1);
}

TEST_F(RenderSaving, TransparentOutputHasAnAlphaChannel) {
  const fs::path out = dir / "alpha.png";
  ASSERT_EQ(Render({settings.string(), "-o", out.string(), "--transparent", "--opacity", "10"}), 0);
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, out.string().c_str()));
  EXPECT_TRUE(image.format & PNG_FORMAT_FLAG_ALPHA);
  png_image_free(&image);
  EXPECT_EQ(Render({settings.string(), "-o", out.string(), "--opacity", "0"}), 2);
}

TEST_F(RenderSaving, SourceImageColoursTheDots) {
  Picture24 green(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) green.SetPixel(x, y, 0, 200, 0);
  ASSERT_TRUE(WritePngFile((dir / "green.png").string(), green, {}));
  const std::string plain = (dir / "plain.png").string(), sourced = (dir / "sourced.png").string();
  ASSERT_EQ(Render({settings.string(), "-o", plain}), 0);
  ASSERT_EQ(Render({settings.string(), "-o", sourced, "--source-image", (dir / "green.png").string()}), 0);
  EXPECT_NE(ReadFile(plain), ReadFile(sourced));
  EXPECT_EQ(Render({settings.string(), "-o", sourced, "--source-image", (dir / "nope.png").string()}), 1);
  EXPECT_EQ(Render({settings.string(), "-o", sourced, "--background-image", settings.string()}), 1);
}

}  // namespace
}  // namespace quorl
