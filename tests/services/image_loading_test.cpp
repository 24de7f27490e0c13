// Loading source and background pictures from files, the messages of every
// failure, and what a loaded picture does on the canvas.
#include "services/image_loading.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "canvas/dot_kernel.h"
#include "canvas/picture_files.h"
#include "canvas/png_writer.h"
#include "support/picture_test_files.h"

namespace quorl {
namespace {

using namespace quorl::testing;

class RecordingHost : public Host {
 public:
  void ShowStatus(const std::string& message) override { status.push_back(message); }
  void ShowMessage(const std::string& text) override { boxes.push_back(text); }
  std::vector<std::string> status;
  std::vector<std::string> boxes;
};

class ImageLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("quorl_image_loading_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
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
    for (int x = 0; x < width; ++x)
      p.SetPixel(x, y, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7);
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
  };
  for (const std::string& path : damaged) {
    host_ = RecordingHost();
    EXPECT_FALSE(LoadSource(path)) << path;
    EXPECT_FALSE(LoadBackground(path)) << path;
    EXPECT_EQ(host_.status,
              (std::vector<std::string>{kUnableSourceMessage + path, kUnableBackgroundMessage + path}));
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

TEST_F(ImageLoading, PicturesAreReadByContentWhateverTheirName) {
  const std::string png = WriteFile("png-named.jpeg", EncodePng(PatternRgb(5, 3), 5, 3, PNG_FORMAT_RGB));
  ASSERT_TRUE(LoadSource(png));
  EXPECT_EQ(state_.source.SourceWidth, 5);
  const std::string jpeg = WriteFile("jpeg-named.bmp", EncodeJpeg(PatternRgb(7, 2), 7, 2));
  ASSERT_TRUE(LoadBackground(jpeg));
  EXPECT_EQ(state_.background.BackgroundWidth, 7);
  host_ = RecordingHost();
  EXPECT_FALSE(LoadSource(Path("")));  // the test's folder
  ASSERT_FALSE(host_.boxes.empty());
  EXPECT_NE(host_.boxes.back().find("it is a folder"), std::string::npos) << host_.boxes.back();
  EXPECT_EQ(state_.source.SourceWidth, 5);
}

TEST_F(ImageLoading, UnsupportedTypeIsNotReportedAsLoaded) {
  const std::string gif = WriteFile("picture.gif", Bytes(64, 0x47));
  state_.params.UseSourceImage = false;
  EXPECT_FALSE(LoadSource(gif));
  EXPECT_FALSE(LoadBackground(gif));
  EXPECT_EQ(host_.status,
            (std::vector<std::string>{kUnableSourceMessage + gif, kUnableBackgroundMessage + gif}));
  ASSERT_EQ(host_.boxes.size(), 2u);
  // Named by what it is, not by its name.
  EXPECT_NE(host_.boxes[0].find("not a PNG, JPEG or BMP picture"), std::string::npos) << host_.boxes[0];
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

}  // namespace
}  // namespace quorl
