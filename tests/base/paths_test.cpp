// The default picture folder follows the desktop's idea of "Pictures".
#include "base/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace quorl {
namespace {

namespace fs = std::filesystem;

TEST(PicturesFolderFromUserDirs, ReadsTheLastPicturesLineAndItsHome) {
  const std::string file =
      "# This file is written by xdg-user-dirs-update\n"
      "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
      "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n"
      "XDG_MUSIC_DIR=\"$HOME/Musik\"\n";
  EXPECT_EQ(PicturesFolderFromUserDirs(file, "/home/ada"), "/home/ada/Bilder");
  EXPECT_EQ(PicturesFolderFromUserDirs(file + "  XDG_PICTURES_DIR=\"/data/art\"\r\n", "/home/ada"),
            "/data/art");
  EXPECT_EQ(PicturesFolderFromUserDirs("XDG_PICTURES_DIR=\"${HOME}/Pics\"\n", "/h"), "/h/Pics");
  // "$HOME/" is how the file says the folder is the home itself.
  EXPECT_EQ(PicturesFolderFromUserDirs("XDG_PICTURES_DIR=\"$HOME/\"\n", "/h"), "/h/");
}

TEST(PicturesFolderFromUserDirs, IgnoresWhatIsNotAFolderOfThisKey) {
  EXPECT_EQ(PicturesFolderFromUserDirs("", "/h"), "");
  EXPECT_EQ(PicturesFolderFromUserDirs("# XDG_PICTURES_DIR=\"/commented\"\n", "/h"), "");
  EXPECT_EQ(PicturesFolderFromUserDirs("XDG_PICTURES_DIRX=\"/other\"\n", "/h"), "");
  EXPECT_EQ(PicturesFolderFromUserDirs("XDG_PICTURES_DIR=\"relative/path\"\n", "/h"), "");
  EXPECT_EQ(PicturesFolderFromUserDirs("XDG_PICTURES_DIR=\"$OTHER/x\"\n", "/h"), "");
  // A bad line after a good one leaves the good one.
  EXPECT_EQ(PicturesFolderFromUserDirs("XDG_PICTURES_DIR=\"/good\"\nXDG_PICTURES_DIR=\"bad\"\n", "/h"),
            "/good");
}

// Sets environment variables for one test and puts the old values back.
class Environment {
 public:
  ~Environment() {
    for (const auto& [name, value] : saved_) {
      if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
      else
        ::unsetenv(name.c_str());
    }
  }
  void Set(const std::string& name, const char* value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    if (value)
      ::setenv(name.c_str(), value, 1);
    else
      ::unsetenv(name.c_str());
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(DefaultPictureFolder, EnvironmentThenUserDirsThenPictures) {
  const fs::path home = fs::temp_directory_path() / ("quorl-paths-" + std::to_string(::getpid()));
  fs::remove_all(home);
  fs::create_directories(home / "config");
  Environment env;
  env.Set("HOME", home.c_str());
  env.Set("XDG_CONFIG_HOME", (home / "config").c_str());
  env.Set("XDG_PICTURES_DIR", nullptr);

  EXPECT_EQ(DefaultPictureFolder(), home.string() + "/Pictures/Quorl/");
  std::ofstream(home / "config" / "user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
  EXPECT_EQ(DefaultPictureFolder(), home.string() + "/Bilder/Quorl/");
  env.Set("XDG_PICTURES_DIR", "/somewhere/else");
  EXPECT_EQ(DefaultPictureFolder(), "/somewhere/else/Quorl/");
  fs::remove_all(home);
}

}  // namespace
}  // namespace quorl
