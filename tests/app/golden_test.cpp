// Golden pictures: each tests/data/golden/SCENE.ini (with the curve files
// beside it) must render to exactly the pixels of SCENE.png. The pixels are
// compared after decoding, not the PNG bytes, which another zlib may pack
// differently. After an intended change to drawing, re-create them with
// `make golden` (tools/make-golden.sh), look at them, and commit them with
// the change.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/render_command.h"
#include "base/picture24.h"
#include "canvas/picture_files.h"
#include "support/app_test_support.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> GoldenScenes() {
  std::vector<fs::path> scenes;
  for (const auto& entry : fs::directory_iterator(fs::path(QUORL_SOURCE_DIR) / "tests/data/golden")) {
    if (entry.path().extension() == ".ini") scenes.push_back(entry.path());
  }
  std::sort(scenes.begin(), scenes.end());
  return scenes;
}

// The decoded pixels of a PNG file; empty when it cannot be read.
Picture24 Pixels(const fs::path& png) {
  Picture24 picture;
  std::string error;
  EXPECT_TRUE(DecodePictureFile(png.string(), picture, error)) << png << ": " << error;
  return picture;
}

TEST(GoldenPictures, EverySceneRendersToItsCheckedInPixels) {
  const std::vector<fs::path> scenes = GoldenScenes();
  ASSERT_GE(scenes.size(), 8u);
  const fs::path outDir = fs::temp_directory_path() / ("quorl-golden-" + std::to_string(::getpid()));
  fs::create_directories(outDir);
  int mismatches = 0;
  for (const fs::path& scene : scenes) {
    const fs::path expected = fs::path(scene).replace_extension(".png");
    const fs::path actual = outDir / expected.filename();
    RenderOptions options;
    options.settingsPath = scene.string();
    options.outputPath = actual.string();
    // The goldens hold the drawing alone; the recipe a picture carries is
    // tested on its own.
    options.noRecipe = true;
    // The figures tell whether a step was held to the point cap: no golden
    // may come near it, or the cap would be changing what they test.
    options.bench = true;
    CommandIo io;
    io.out = std::tmpfile();
    ASSERT_NE(io.out, nullptr);
    ASSERT_EQ(RunRender(options, io), 0) << scene;
    std::rewind(io.out);
    std::string text(4096, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), io.out));
    std::fclose(io.out);
    EXPECT_NE(text.find("steps held to the point cap: 0\n"), std::string::npos) << scene << "\n" << text;
    ASSERT_TRUE(fs::exists(expected)) << expected << " is missing; run `make golden`";
    const Picture24 drawn = Pixels(actual);
    if (drawn.Empty() || !(drawn == Pixels(expected))) {
      ++mismatches;
      ADD_FAILURE() << scene.filename() << " differs from its golden picture; see " << actual
                    << " (after an intended change: make golden)";
    } else {
      fs::remove(actual);
    }
  }
  if (mismatches == 0) fs::remove_all(outDir);
}

}  // namespace
}  // namespace quorl
