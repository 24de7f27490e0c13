#include "services/gallery.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quorl {
namespace {

namespace fs = std::filesystem;

class GalleryFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("QUORL_GALLERY");
    root_ = fs::temp_directory_path() / ("quorl-gallery-test-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override {
    unsetenv("QUORL_GALLERY");
    fs::remove_all(root_);
  }
  void Touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
  }
  fs::path root_;
};

TEST_F(GalleryFolder, IsFoundInstalledBesideTheProgramThenInTheSourceTreeAndTheVariableWins) {
  const fs::path program = root_ / "prefix" / "bin" / "quorl";
  const fs::path installed = root_ / "prefix" / "share" / "quorl" / "gallery";
  const fs::path source = root_ / "src" / "gallery";
  fs::create_directories(source);
  EXPECT_EQ(FindGalleryFolderFrom(program.string(), source.string()), source.string());
  fs::create_directories(installed);
  EXPECT_EQ(FindGalleryFolderFrom(program.string(), source.string()), installed.string());
  EXPECT_EQ(FindGalleryFolderFrom("", (root_ / "none").string()), "");

  setenv("QUORL_GALLERY", source.c_str(), 1);
  EXPECT_EQ(FindGalleryFolderFrom(program.string(), source.string()), source.string());
  // A variable naming no folder finds nothing rather than some other gallery.
  setenv("QUORL_GALLERY", (root_ / "missing").c_str(), 1);
  EXPECT_EQ(FindGalleryFolderFrom(program.string(), source.string()), "");
}

TEST_F(GalleryFolder, ListsItsPicturesInOrderWithTitlesAndFrames) {
  Touch(root_ / "02-tan-thorns.png");
  Touch(root_ / "01-sine-ribbons.png");
  Touch(root_ / "21-slow-turn-frame12.png");
  Touch(root_ / "notes.txt");
  Touch(root_ / "pictures" / "palette.png");  // a source picture, not an entry
  const std::vector<GalleryEntry> entries = ListGallery(root_.string());
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "01-sine-ribbons");
  EXPECT_EQ(entries[0].title, "sine ribbons");
  EXPECT_EQ(entries[0].frame, 0);
  EXPECT_EQ(entries[2].name, "21-slow-turn-frame12");
  EXPECT_EQ(entries[2].title, "slow turn (animation)");
  EXPECT_EQ(entries[2].frame, 12);

  EXPECT_EQ(FindGalleryEntry(entries, "02-tan-thorns"), &entries[1]);
  EXPECT_EQ(FindGalleryEntry(entries, "tan-thorns"), &entries[1]);
  EXPECT_EQ(FindGalleryEntry(entries, "thorns"), nullptr);
  EXPECT_TRUE(ListGallery((root_ / "missing").string()).empty());
}

TEST_F(GalleryFolder, APictureWithoutARecipeIsReportedNotDrawn) {
  Touch(root_ / "01-plain.png");
  const std::vector<GalleryEntry> entries = ListGallery(root_.string());
  ASSERT_EQ(entries.size(), 1u);
  GalleryPictures pictures;
  std::string error;
  EXPECT_FALSE(GalleryPicturesOf(root_.string(), entries[0], pictures, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace quorl
