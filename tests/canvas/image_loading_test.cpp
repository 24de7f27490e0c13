// Loading source and background pictures from files, the messages of every
// failure, and what a loaded picture does on the canvas.
#include "canvas/image_loading.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "canvas/dot_kernel.h"
#include "canvas/picture_files.h"
#include "canvas/png_writer.h"
#include "picture_test_files.h"

namespace quorl {
namespace {

using namespace quorl::testing;

class RecordingHost : public Host {
 public:
  void Spammer(const std::string& message) override { status.push_back(message); }
  void ShowMessage(const std::string& text) override { boxes.push_back(text); }
  std::vector<std::string> status;
  std::vector<std::string> boxes;
};

class ImageLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("quorl_image_loading_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

  // A PNG file of `picture`.
  std::string WritePng(const std::string& name, const Picture24& picture) {
    std::string error;
    EXPECT_TRUE(WritePngFile(Path(name), picture, {}, &error)) << error;
    return Path(name);
  }
  std::string WriteFile(const std::string& name, const Bytes& bytes) {
    WriteBytes(Path(name), bytes);
    return Path(name);
  }

  bool LoadSource(const std::string& path) { return LoadSourceImage(state_, path, ExtensionOf(path), host_); }
  bool LoadBackground(const std::string& path) {
    return LoadBackgroundImage(state_, path, ExtensionOf(path), host_);
  }

  // Canvas pixel (x, y), y counted from the bottom, as red, green, blue.
  std::vector<double> CanvasPixel(int x, int y) const {
    return {state_.canvas.Pixel(0, x, y), state_.canvas.Pixel(1, x, y), state_.canvas.Pixel(2, x, y)};
  }

  std::filesystem::path folder_;
  ProgramState state_;
  RecordingHost host_;
};

// Column x has red x, row y (from the top) has green y.
Picture24 Gradient(int width, int height) {
  Picture24 p(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) p.SetPixel(x, y, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7);
  return p;
}

TEST_F(ImageLoading, SourceRowTableRepeatsTheFirstRowAndColumn) {
  const std::string path = WritePng("gradient.png", Gradient(100, 50));
  ASSERT_TRUE(LoadSource(path));
  const SourceStore& s = state_.source;
  EXPECT_EQ(s.SourceWidth, 100);
  EXPECT_EQ(s.SourceHeight, 50);
  ASSERT_EQ(s.SourceRows.size(), 51u);
  EXPECT_EQ(s.Bitmap.Width(), 101);
  EXPECT_EQ(s.SourceRows[0][1], 49);  // entry 0 is the file's bottom row
  EXPECT_EQ(s.SourceRows[50], s.SourceRows[0]);
  for (int i = 0; i <= 50; ++i)
    for (int b = 0; b < 3; ++b) ASSERT_EQ(s.SourceRows[i][300 + b], s.SourceRows[i][b]) << i;

  EXPECT_TRUE(state_.params.UseSourceImage);
  EXPECT_EQ(state_.params.SourceImageFileName, path);
  EXPECT_EQ(host_.status, std::vector<std::string>{kLoadedSourceMessage + path});
  EXPECT_TRUE(host_.boxes.empty());

  // A second, smaller picture replaces the first entirely.
  ASSERT_TRUE(LoadSource(WritePng("small.png", Gradient(3, 2))));
  EXPECT_EQ(s.Bitmap.Width(), 4);
  EXPECT_EQ(s.SourceRows.size(), 3u);
}

TEST_F(ImageLoading, JpegExtensionsInAnyLetterCaseAndBmpLoad) {
  const Bytes jpeg = EncodeJpeg(Bytes(16 * 8 * 3, 150), 16, 8);
  for (const char* name : {"a.jpg", "b.JPG", "c.jpeg", "d.JpEg"}) {
    ASSERT_TRUE(LoadBackground(WriteFile(name, jpeg))) << name;
    EXPECT_EQ(state_.background.BackgroundWidth, 16) << name;
    EXPECT_NEAR(state_.background.BackgroundRows[3][4], 150, 2) << name;
  }
  // A 1-bit BMP is read as 24 bits.
  ASSERT_TRUE(LoadSource(WriteFile("mono.BMP", MakeBmp(3, 1, 1, {0, 0, 0, 0, 255, 255, 255, 0}, {0xA0, 0, 0, 0}))));
  EXPECT_EQ(state_.source.SourceRows[0][0], 255);
  EXPECT_EQ(state_.source.SourceRows[0][3], 0);
}

TEST_F(ImageLoading, DamagedFilesLeaveTheOldPictureAndSayWhy) {
  const std::string good = WritePng("good.png", Gradient(8, 4));
  ASSERT_TRUE(LoadSource(good));
  ASSERT_TRUE(LoadBackground(good));
  const Picture24 sourceBefore = state_.source.Bitmap;
  const Picture24 backgroundBefore = state_.background.Bitmap;

  const Bytes png = EncodePng(PatternRgb(40, 40), 40, 40, PNG_FORMAT_RGB);
  const Bytes jpeg = EncodeJpeg(PatternRgb(40, 40), 40, 40);
  Bytes lyingBmp = MakeBmp(2, 2, 24, {}, Bytes(16, 0));
  Put32(lyingBmp, 18, 100000);  // wider than its pixel data
  const std::vector<std::string> damaged = {
      WriteFile("cut.png", Bytes(png.begin(), png.begin() + static_cast<long>(png.size() / 2))),
      WriteFile("cut.jpg", Bytes(jpeg.begin(), jpeg.begin() + static_cast<long>(jpeg.size() / 2))),
      WriteFile("lying.bmp", lyingBmp),
      WriteFile("png-named.jpeg", png),
  };
  for (const std::string& path : damaged) {
    host_ = RecordingHost();
    EXPECT_FALSE(LoadSource(path)) << path;
    EXPECT_FALSE(LoadBackground(path)) << path;
    EXPECT_EQ(host_.status, (std::vector<std::string>{kUnableSourceMessage + path, kUnableBackgroundMessage + path}));
    ASSERT_EQ(host_.boxes.size(), 2u);
    for (const std::string& box : host_.boxes) {
      EXPECT_EQ(box.rfind(kProblemMessage, 0), 0u) << box;
      EXPECT_GT(box.size(), std::string(kProblemMessage).size()) << "a reason follows";
    }
  }
  EXPECT_EQ(state_.source.Bitmap, sourceBefore);
  EXPECT_EQ(state_.source.SourceWidth, 8);
  EXPECT_EQ(state_.background.Bitmap, backgroundBefore);
  EXPECT_EQ(state_.params.SourceImageFileName, good);
  EXPECT_EQ(state_.params.BackgroundImageFileName, good);
}

TEST_F(ImageLoading, UnsupportedTypeIsNotReportedAsLoaded) {
  const std::string gif = WriteFile("picture.gif", Bytes(64, 0x47));
  state_.params.UseSourceImage = false;
  EXPECT_FALSE(LoadSource(gif));
  EXPECT_FALSE(LoadBackground(gif));
  EXPECT_EQ(host_.status, (std::vector<std::string>{kUnableSourceMessage + gif, kUnableBackgroundMessage + gif}));
  ASSERT_EQ(host_.boxes.size(), 2u);
  EXPECT_NE(host_.boxes[0].find("gif"), std::string::npos) << host_.boxes[0];
  EXPECT_FALSE(state_.source.Loaded());
  EXPECT_FALSE(state_.background.Loaded());
  EXPECT_FALSE(state_.params.UseSourceImage);
  EXPECT_EQ(state_.params.SourceImageFileName, "");
  EXPECT_EQ(state_.params.BackgroundImageFileName, "");
}

TEST_F(ImageLoading, MissingFileWarnsThenReportsTheFailure) {
  const std::string missing = Path("nowhere.png");
  EXPECT_FALSE(LoadSource(missing));
  ASSERT_EQ(host_.boxes.size(), 2u);
  EXPECT_EQ(host_.boxes[0], "file: \n" + missing + "  does not exist");
  EXPECT_EQ(host_.boxes[1].rfind(kProblemMessage, 0), 0u);
  EXPECT_EQ(host_.status, std::vector<std::string>{kUnableSourceMessage + missing});
}

TEST_F(ImageLoading, LoadedSourceBlendsItsLastColumnWithItsFirstLeftOfTheImage) {
  // Ten columns: the first red 0, the last red 200, the rest 10.
  Picture24 p(10, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 10; ++x) p.SetPixel(x, y, x == 0 ? 0 : (x == 9 ? 200 : 10), 0, 0);
  ASSERT_TRUE(LoadSource(WritePng("columns.png", p)));
  ParameterSet& params = state_.params;
  params.ImageWidth = params.ImageHeight = 20;
  params.White = false;
  params.InterpolateColors = true;  // unclamped, so the weight shows as it is
  params.BgMaxRed = params.BgMaxGreen = params.BgMaxBlue = 0;
  params.SourceImageStartOffsetPerStep = params.SourceImageEndOffsetPerStep = 0;
  state_.canvas.SetImageDimensions(params);
  state_.canvas.MakePictureBlack(params, state_.background);
  state_.step.StepScale = 1;
  for (int c = 0; c < 3; ++c) state_.step.StepAmount[c] = 1;
  state_.step.StepColor[0] = 255;
  DotKernel kernel;
  DotStep dot;
  dot.dotSize = 1;
  dot.pointCount = 100;
  dot.Steps = 1000;
  kernel.Prepare(params, state_.step, state_.source, state_.canvas, dot);
  addColorToPixels(state_.canvas, kernel, DotPoint{0, 0, 5, 1});  // u = (0 - 5/100) * 10 = -0.5
  EXPECT_NEAR(state_.canvas.Pixel(0, 10, 10), 100.0 / 256, 1e-12);
}

TEST_F(ImageLoading, LoadedBackgroundLiesTheRightWayUpCentredOrTiled) {
  // Red counts columns in tens, green is 200 in the file's top row.
  Picture24 p(400, 300);
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) p.SetPixel(x, y, static_cast<std::uint8_t>(x / 10), y == 0 ? 200 : 100, 50);
  ASSERT_TRUE(LoadBackground(WritePng("back.png", p)));
  ParameterSet& params = state_.params;
  params.UseBackgroundImage = true;
  params.BgMaxRed = 1;
  params.BgMaxGreen = 2;
  params.BgMaxBlue = 3;
  state_.canvas.SetImageDimensions(params);  // 800 x 800
  state_.canvas.MakePictureBlack(params, state_.background);
  const std::vector<double> bg = {1, 2, 3};
  EXPECT_EQ(CanvasPixel(199, 400), bg);
  EXPECT_EQ(CanvasPixel(200, 400), (std::vector<double>{0, 100, 50}));
  EXPECT_EQ(CanvasPixel(599, 400), (std::vector<double>{39, 100, 50}));
  EXPECT_EQ(CanvasPixel(600, 400), bg);
  EXPECT_EQ(CanvasPixel(400, 249), bg);
  EXPECT_EQ(CanvasPixel(400, 250)[1], 100);
  EXPECT_EQ(CanvasPixel(400, 549)[1], 200);  // the file's top row on top
  EXPECT_EQ(CanvasPixel(400, 550), bg);

  // Tiled: canvas (0, 0) is the picture's bottom-left pixel, and the tiles
  // repeat every 400 columns and 300 rows.
  params.BackgroundImagePositionTiled = true;
  state_.canvas.MakePictureBlack(params, state_.background);
  EXPECT_EQ(CanvasPixel(0, 0), (std::vector<double>{0, 100, 50}));
  EXPECT_EQ(CanvasPixel(0, 299)[1], 200);
  EXPECT_EQ(CanvasPixel(0, 300)[1], 100);
  EXPECT_EQ(CanvasPixel(410, 599)[0], 1);
  EXPECT_EQ(CanvasPixel(410, 599)[1], 200);
}

TEST_F(ImageLoading, CanvasBecomesTheBackgroundWithoutSwitchingItOn) {
  ParameterSet& params = state_.params;
  params.ImageWidth = 6;
  params.ImageHeight = 4;
  state_.canvas.SetImageDimensions(params);
  state_.canvas.MakePictureBlack(params, state_.background);
  state_.canvas.SetPixel(0, 1, 0, 17);  // bottom row
  state_.canvas.drawArrayOnImage(params);
  ASSERT_TRUE(UseCurrentCanvasAsBackground(state_, host_));
  EXPECT_EQ(host_.status, std::vector<std::string>{kCanvasAsBackgroundMessage});
  EXPECT_EQ(state_.background.BackgroundWidth, 6);
  EXPECT_EQ(state_.background.BackgroundHeight, 4);
  EXPECT_FALSE(params.UseBackgroundImage);

  // Cleared with the image switched on, the canvas comes back as it was.
  params.UseBackgroundImage = true;
  params.BgMaxRed = 0;
  state_.canvas.MakePictureBlack(params, state_.background);
  EXPECT_EQ(state_.canvas.Pixel(0, 1, 0), 17);
  EXPECT_EQ(state_.canvas.Pixel(0, 1, 1), 255);
}

TEST_F(ImageLoading, ResizeCanvasKeepsToOneTo6000Pixels) {
  ParameterSet& params = state_.params;
  BackgroundStore& background = state_.background;
  // No picture: nothing happens, whatever the box says.
  params.BackgroundImageResizeCanvas = true;
  EXPECT_FALSE(FitImageSizeToBackground(params, background, host_));
  EXPECT_TRUE(host_.boxes.empty());

  background.SetPicture(Picture24(1024, 768));
  params.BackgroundImageResizeCanvas = false;
  EXPECT_FALSE(FitImageSizeToBackground(params, background, host_));
  EXPECT_EQ(params.ImageWidth, 800);
  params.BackgroundImageResizeCanvas = true;
  EXPECT_TRUE(FitImageSizeToBackground(params, background, host_));
  EXPECT_EQ(params.ImageWidth, 1024);
  EXPECT_EQ(params.ImageHeight, 768);

  for (auto [w, h] : {std::pair{7000, 10}, std::pair{10, 6001}}) {
    background.SetPicture(Picture24(w, h));
    host_ = RecordingHost();
    EXPECT_FALSE(FitImageSizeToBackground(params, background, host_));
    EXPECT_EQ(host_.boxes, std::vector<std::string>{kCanvasSizeMessage});
    EXPECT_EQ(params.ImageWidth, 1024);
    EXPECT_EQ(params.ImageHeight, 768);
  }
  background.SetPicture(Picture24(6000, 1));
  EXPECT_TRUE(FitImageSizeToBackground(params, background, host_));
  EXPECT_EQ(params.ImageWidth, 6000);
}

}  // namespace
}  // namespace quorl
