#include "services/picture_saving.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <set>

#include "base/atomic_file.h"
#include "base/paths.h"
#include "canvas/png_recipe.h"
#include "engine/draw_record.h"
#include "engine/drawing_run.h"
#include "settings/ini_file.h"
#include "support/recipe_test_support.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

class RecordingHost : public Host {
 public:
  std::string status, message;
  void ShowStatus(const std::string& text) override { status = text; }
  void ShowMessage(const std::string& text) override { message = text; }
};

// 2026-12-05 14:35:07.123 local time.
std::chrono::system_clock::time_point FixedNow() {
  std::tm t{};
  t.tm_year = 126;
  t.tm_mon = 11;
  t.tm_mday = 5;
  t.tm_hour = 14;
  t.tm_min = 35;
  t.tm_sec = 7;
  t.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&t)) + std::chrono::milliseconds(123);
}

class PictureSaving : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(::testing::TempDir()) / ("saving-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    state.layout.SaveDir = dir.string() + "/";
    state.params.ImageWidth = 6;
    state.params.ImageHeight = 4;
    ASSERT_TRUE(state.canvas.SetImageDimensions(state.params));
    state.canvas.MakePictureBlack(state.params, state.background);
    options.now = FixedNow;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
  }
  void DrawCurve(CurvePoints& curve, int points) {
    for (int i = 0; i < points; ++i) curve.AddPoint(i * 0.25, i * 0.5 - 1);
  }

  fs::path dir;
  ProgramState state;
  RecordingHost host;
  SaveOptions options;
};

TEST_F(PictureSaving, OneSaveWritesTheWholeSetUnderOneName) {
  DrawCurve(state.curves[kPathCurveSlot].Curve, 6);
  DrawCurve(state.curves[kRadiusSlot].Curve, 2);
  DrawCurve(state.curves[kBumpsSlot].Curve, 1);  // one point: no file
  const SaveResult saved = SavePictureFiles(state, host, options);
  ASSERT_TRUE(saved.ok) << saved.error;
  const std::string B = "quorl20261205_14_35_07__123";
  EXPECT_EQ(saved.pngPath, (dir / (B + ".png")).string());
  EXPECT_EQ(Files(), (std::set<std::string>{B + ".png", B + ".ini", B + "_Main_-_Path_curve.curve",
                                            B + "_Values_-_Radius.curve"}));
  EXPECT_EQ(host.status, "Saved " + saved.pngPath);
  EXPECT_TRUE(host.message.empty());

  // The same millisecond again: the next free one, nothing overwritten.
  const SaveResult again = SavePictureFiles(state, host, options);
  ASSERT_TRUE(again.ok);
  EXPECT_EQ(again.pngPath, (dir / "quorl20261205_14_35_07__124.png").string());
  EXPECT_EQ(Files().size(), 8u);
}

// Decodes the saved PNG as RGBA.
std::vector<std::uint8_t> ReadRgba(const std::string& path, int& w, int& h) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  EXPECT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
  image.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
  EXPECT_TRUE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr));
  w = static_cast<int>(image.width);
  h = static_cast<int>(image.height);
  return rgba;
}

TEST_F(PictureSaving, TransparencyFollowsTheWhiteRule) {
  Picture24& bitmap = state.canvas.Bitmap();
  bitmap.SetPixel(0, 0, 255, 255, 255);  // white
  bitmap.SetPixel(1, 0, 160, 200, 255);  // a channel at 160: 95 * 2.7 = 256.5, capped
  bitmap.SetPixel(2, 0, 0, 0, 0);        // black
  bitmap.SetPixel(3, 0, 250, 250, 250);  // 5 * 2.7 = 13.5 rounds to 14 (halves to even)
  options.useTransparency = true;
  options.fixedBaseName = "white";
  ASSERT_TRUE(SavePictureFiles(state, host, options).ok);
  int w = 0, h = 0;
  auto rgba = ReadRgba((dir / "white.png").string(), w, h);
  ASSERT_EQ(w, 6);
  EXPECT_EQ(rgba[3], 0);
  EXPECT_EQ(rgba[7], 255);
  EXPECT_EQ(rgba[11], 255);
  EXPECT_EQ(rgba[15], 14);

  state.params.White = false;  // follows the brightest channel: black is clear
  options.fixedBaseName = "dark";
  ASSERT_TRUE(SavePictureFiles(state, host, options).ok);
  rgba = ReadRgba((dir / "dark.png").string(), w, h);
  EXPECT_EQ(rgba[3], 255);
  EXPECT_EQ(rgba[11], 0);
}

TEST_F(PictureSaving, UnwritableFolderGivesTheMessageAndNoFile) {
  state.layout.SaveDir = "/proc/";
  const SaveResult saved = SavePictureFiles(state, host, options);
  EXPECT_FALSE(saved.ok);
  EXPECT_EQ(host.message.rfind("Could not save the picture: ", 0), 0u) << host.message;
  EXPECT_FALSE(fs::exists(saved.pngPath));
  EXPECT_TRUE(host.status.empty());
}

TEST_F(PictureSaving, ThePictureCarriesItsRecipe) {
  DrawCurve(state.curves[kPathCurveSlot].Curve, 6);
  DrawCurve(state.curves.AnimEndPathCurve, 3);
  state.params.Steps = 123;
  options.fixedBaseName = "recipe";
  ASSERT_TRUE(SavePictureFiles(state, host, options).ok);
  std::string png, ini, curve, anim;
  ASSERT_TRUE(ReadWholeFile((dir / "recipe.png").string(), png));
  ASSERT_TRUE(ReadWholeFile((dir / "recipe.ini").string(), ini));
  ASSERT_TRUE(ReadWholeFile((dir / "recipe_Main_-_Path_curve.curve").string(), curve));
  ASSERT_TRUE(ReadWholeFile((dir / "recipe_anim_end.curve").string(), anim));
  Recipe recipe;
  std::string error;
  ASSERT_TRUE(ReadPngRecipe(png, recipe, error)) << error;
  EXPECT_TRUE(test::RecipeAgreesWithSettings(recipe.settings, ini));
  ASSERT_EQ(recipe.curves.size(), 2u);
  EXPECT_EQ(recipe.curves[0], (std::pair<std::string, std::string>{"Main_-_Path_curve", curve}));
  EXPECT_EQ(recipe.curves[1], (std::pair<std::string, std::string>{"anim_end", anim}));

  // Written back as files, they carry the names an opened settings file
  // looks for.
  const fs::path out = dir / "out";
  fs::create_directories(out);
  const std::string settings = WriteRecipeFiles(recipe, out.string(), "again", error);
  EXPECT_EQ(settings, (out / "again.ini").string());
  EXPECT_TRUE(fs::exists(out / "again_Main_-_Path_curve.curve"));

  // Without the recipe, or damaged, a clear error.
  options.keepRecipe = false;
  options.fixedBaseName = "plain";
  ASSERT_TRUE(SavePictureFiles(state, host, options).ok);
  ASSERT_TRUE(ReadWholeFile((dir / "plain.png").string(), png));
  EXPECT_FALSE(ReadPngRecipe(png, recipe, error));
  EXPECT_NE(error.find("no Quorl settings"), std::string::npos);
  EXPECT_FALSE(ReadPngRecipe(png.substr(0, png.size() / 2), recipe, error));
  EXPECT_FALSE(ReadPngRecipe("not a png at all", recipe, error));
  recipe.curves = {{"../escape", "1\r\n2\r\n"}};
  EXPECT_EQ(WriteRecipeFiles(recipe, out.string(), "bad", error), "");
}

}  // namespace
}  // namespace quorl

namespace quorl {
namespace {

TEST_F(PictureSaving, AFolderThatIsGoneFallsBackOnlyWhenAllowed) {
  state.layout.SaveDir = (dir / "gone").string() + "/";
  options.fallBackToPictureFolder = false;
  SaveResult saved = SavePictureFiles(state, host, options);
  EXPECT_FALSE(saved.ok);
  EXPECT_NE(host.message.find("does not exist"), std::string::npos) << host.message;
  EXPECT_EQ(state.layout.SaveDir, (dir / "gone").string() + "/");

  options.fallBackToPictureFolder = true;
  options.fixedBaseName = "fallback-" + std::to_string(::getpid());
  options.existing = ExistingSet::Overwrite;
  saved = SavePictureFiles(state, host, options);
  ASSERT_TRUE(saved.ok) << saved.error;
  EXPECT_EQ(fs::path(saved.pngPath).parent_path(), fs::path(DefaultPictureFolder()).parent_path());
  EXPECT_NE(host.status.find("is gone"), std::string::npos) << host.status;
  for (const char* ext : {".png", ".ini"}) fs::remove(saved.base + ext);
}

TEST_F(PictureSaving, TheSettingsTellHowTheCanvasCameAbout) {
  DrawingRun run(state, host);
  state.params.Steps = 3;
  SetScatterSeed(state, 77);
  const auto savedKeys = [&](const std::string& name) {
    options.fixedBaseName = name;
    EXPECT_TRUE(SavePictureFiles(state, host, options).ok);
    IniFile ini;
    ini.Load((dir / (name + ".ini")).string());
    return ini.Get("start", "ScatterSeed", "") + " " + ini.Get("start", "DrawsSinceClear", "") + " " +
           ini.Get("start", "EditsDuringDraws", "");
  };
  run.DrawAllSteps();
  EXPECT_EQ(savedKeys("one"), "77 1 0");
  run.DrawAllSteps();
  EXPECT_EQ(savedKeys("two"), "77 2 0");
  run.Clear();
  run.PickSeed = [] { return std::uint64_t{5}; };
  run.DrawAllSteps();
  EXPECT_EQ(savedKeys("again"), "5 1 0");
  // Changed after drawing: the settings no longer describe the canvas.
  state.params.StartRadius += 10;
  EXPECT_EQ(savedKeys("edited"), "5 1 1");
}

}  // namespace
}  // namespace quorl
