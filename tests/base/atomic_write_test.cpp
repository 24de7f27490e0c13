// A settings file or picture is replaced whole or not at all: a writer that
// dies half-way, or a disk that fills up, leaves the old file as it was.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "base/atomic_file.h"

namespace quorl {
namespace {

namespace fs = std::filesystem;

class AtomicWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("quorl-atomic-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    target = (dir / "quorl.ini").string();
    ASSERT_TRUE(WriteFileAtomically(target, old_text));
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string Contents() const {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(target, bytes));
    return bytes;
  }
  int TemporaryFiles() const {
    int count = 0;
    for (const auto& e : fs::directory_iterator(dir))
      if (e.path().filename().string().find(".tmp") != std::string::npos) ++count;
    return count;
  }

  const std::string old_text = "[start]\r\nstyle=sine\r\n";
  fs::path dir;
  std::string target;
};

TEST_F(AtomicWrite, AWriterKilledHalfWayLeavesTheOldFile) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Large enough that the write is still going on when it is killed.
    WriteFileAtomically(target, std::string(size_t{1} << 28, 'x'));
    ::_exit(0);
  }
  // Wait until the temporary file has started to fill, then kill the writer.
  bool started = false;
  for (int i = 0; i < 2000 && !started; ++i) {
    for (const auto& e : fs::directory_iterator(dir))
      if (e.path().filename().string().find(".tmp") != std::string::npos && fs::file_size(e.path()) > 0)
        started = true;
    if (!started) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(started);
  EXPECT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(Contents(), old_text);
}

TEST_F(AtomicWrite, AFullDiskLeavesTheOldFileAndNoTemporaryFile) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A file size limit stands in for a full disk: writes past it fail.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    const bool ok = WriteFileAtomically(target, std::string(100000, 'y'), &error);
    ::_exit(!ok && !error.empty() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the write should have failed with a reason";
  EXPECT_EQ(Contents(), old_text);
  EXPECT_EQ(TemporaryFiles(), 0);
}

}  // namespace
}  // namespace quorl
