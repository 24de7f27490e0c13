#include "base/saved_set.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "base/temp_files.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

class SavedSet : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(::testing::TempDir()) / ("set-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
  }
  std::string Read(const fs::path& path) const {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static SetNaming Fixed(const std::string& name, ExistingSet existing) {
    SetNaming naming;
    naming.candidate = [name](int) { return name; };
    naming.existing = existing;
    return naming;
  }
  static SetNaming Numbered() {
    SetNaming naming;
    naming.candidate = [](int attempt) { return "pic" + std::to_string(attempt); };
    return naming;
  }
  std::vector<SetFile> Files(const std::string& tag) const {
    return {{"_a.curve", "curve " + tag}, {".ini", "settings " + tag}, {".png", "picture " + tag}};
  }

  fs::path dir;
};

TEST_F(SavedSet, ANameInUseIsPassedOverAndFixedNamesFollowTheirRule) {
  ASSERT_TRUE(WriteFileSet(dir.string(), Numbered(), Files("1")).ok());
  const SetWriteResult second = WriteFileSet(dir.string(), Numbered(), Files("2"));
  ASSERT_TRUE(second.ok()) << second.error;
  EXPECT_EQ(second.base, (dir / "pic1").string());
  EXPECT_EQ(Read(dir / "pic0.ini"), "settings 1");
  EXPECT_EQ(Read(dir / "pic1.png"), "picture 2");
  EXPECT_EQ(Files(), (std::set<std::string>{"pic0_a.curve", "pic0.ini", "pic0.png", "pic1_a.curve",
                                            "pic1.ini", "pic1.png"}));

  // Fixed names: refused, skipped or replaced, never merged.
  const SetWriteResult refused = WriteFileSet(dir.string(), Fixed("pic0", ExistingSet::Refuse), Files("3"));
  EXPECT_EQ(refused.outcome, SetWriteResult::Outcome::Exists);
  EXPECT_NE(refused.error.find("exists already"), std::string::npos);
  EXPECT_EQ(WriteFileSet(dir.string(), Fixed("pic0", ExistingSet::Skip), Files("3")).outcome,
            SetWriteResult::Outcome::Skipped);
  EXPECT_EQ(Read(dir / "pic0.ini"), "settings 1");
  ASSERT_TRUE(WriteFileSet(dir.string(), Fixed("pic0", ExistingSet::Overwrite), Files("3")).ok());
  EXPECT_EQ(Read(dir / "pic0.ini"), "settings 3");
  EXPECT_EQ(Read(dir / "pic0.png"), "picture 3");
  EXPECT_EQ(Files().size(), 6u);
}

TEST_F(SavedSet, ALinkAtANewNameIsNeitherFollowedNorRead) {
  const fs::path secret = dir / "secret.txt";
  std::ofstream(secret) << "private";
  fs::create_symlink(secret, dir / "pic0.ini");
  // A name with a link on it counts as taken.
  const SetWriteResult written = WriteFileSet(dir.string(), Numbered(), Files("1"));
  ASSERT_TRUE(written.ok());
  EXPECT_EQ(written.base, (dir / "pic1").string());
  EXPECT_EQ(Read(dir / "pic1.ini"), "settings 1");
  // Overwriting replaces the link itself; its target keeps its text.
  ASSERT_TRUE(WriteFileSet(dir.string(), Fixed("pic0", ExistingSet::Overwrite), Files("2")).ok());
  EXPECT_FALSE(fs::is_symlink(dir / "pic0.ini"));
  EXPECT_EQ(Read(dir / "pic0.ini"), "settings 2");
  EXPECT_EQ(Read(secret), "private");
}

TEST_F(SavedSet, IncompleteSetsAreRemovedAndLiveOnesLeftAlone) {
  // A writer that died after renaming its settings but before its picture.
  std::ofstream(dir / "dead.saving") << "_a.curve\n.ini\n.png\n";
  std::ofstream(dir / "dead.ini") << "half";
  std::ofstream(dir / "dead_a.curve") << "half";
  // One that died after its picture: complete, only the reservation goes.
  std::ofstream(dir / "done.saving") << ".ini\n.png\n";
  std::ofstream(dir / "done.ini") << "whole";
  std::ofstream(dir / "done.png") << "whole";
  // One still writing: its reservation is locked.
  std::ofstream(dir / "live.saving") << ".ini\n.png\n";
  std::ofstream(dir / "live.ini") << "busy";
  const int live = ::open((dir / "live.saving").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(live, LOCK_EX), 0);
  // A list that points outside the folder is not followed.
  std::ofstream(dir / "evil.saving") << "/../../outside\n.png\n";

  EXPECT_EQ(RemoveIncompleteSets(dir.string()), 3);
  EXPECT_EQ(Files(), (std::set<std::string>{"done.ini", "done.png", "live.saving", "live.ini"}));
  ::close(live);
  EXPECT_EQ(RemoveIncompleteSets(dir.string()), 1);
  EXPECT_EQ(Files(), (std::set<std::string>{"done.ini", "done.png"}));
}

TEST_F(SavedSet, AFullDiskLeavesNothingOfTheNewSetAndOneReason) {
  ASSERT_TRUE(WriteFileSet(dir.string(), Fixed("old", ExistingSet::Refuse), Files("old")).ok());
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A file size limit stands in for a full disk: writes past it fail.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::vector<SetFile> files = Files("new");
    files.back().bytes = std::string(100000, 'p');  // the picture does not fit
    const SetWriteResult result = WriteFileSet(dir.string(), Numbered(), files);
    ::_exit(!result.ok() && result.error.find("File too large") != std::string::npos ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the set should have failed with the reason";
  EXPECT_EQ(Files(), (std::set<std::string>{"old_a.curve", "old.ini", "old.png"}));
}

TEST_F(SavedSet, AFolderThatIsGoneIsAnError) {
  const SetWriteResult result = WriteFileSet((dir / "gone").string(), Numbered(), Files("1"));
  EXPECT_EQ(result.outcome, SetWriteResult::Outcome::Failed);
  EXPECT_NE(result.error.find("No such file"), std::string::npos) << result.error;
}

TEST(TempFiles, ASignalDuringAWriteLeavesNoTemporary) {
  const fs::path dir = fs::path(::testing::TempDir()) / ("temps-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    InstallTempFileCleanup();
    std::string a, b;
    const int fa = CreateTempFileFor((dir / "one.png").string(), a);
    const int fb = CreateTempFileFor((dir / "two.ini").string(), b);
    if (fa < 0 || fb < 0 || ::write(fa, "half", 4) != 4) ::_exit(3);
    if (::write(ready[1], "r", 1) != 1) ::_exit(3);
    for (;;) ::pause();
  }
  char c;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
  ::kill(child, SIGTERM);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 0);
  ::close(ready[0]);
  ::close(ready[1]);
  fs::remove_all(dir);
}

TEST(TempFiles, OnlyOurDayOldTemporariesAreSwept) {
  const fs::path dir = fs::path(::testing::TempDir()) / ("sweep-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const char* name : {"a.png.tmpAb12Cd", "b.ini.tmpXyZ789", "c.png.tmp12345", "keep.png"})
    std::ofstream(dir / name) << "x";
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(25);
  for (const char* name : {"a.png.tmpAb12Cd", "c.png.tmp12345", "keep.png"})
    fs::last_write_time(dir / name, old);
  EXPECT_EQ(RemoveOldTemporaries(dir.string()), 1);
  EXPECT_FALSE(fs::exists(dir / "a.png.tmpAb12Cd"));
  EXPECT_TRUE(fs::exists(dir / "b.ini.tmpXyZ789"));  // too young
  EXPECT_TRUE(fs::exists(dir / "c.png.tmp12345"));   // not a name of ours
  EXPECT_TRUE(fs::exists(dir / "keep.png"));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace quorl
