// What the command-line tests share: whole files, a scratch folder per test,
// and running a sub-command in-process with its output captured.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace quorl::test {

namespace fs = std::filesystem;

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A fresh folder named after the running test, removed at the end.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& prefix)
      : path_(fs::temp_directory_path() / (prefix + "-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& Path() const { return path_; }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `quorl ARGS...` in-process, as the binary would, with its output
// captured.
inline Outcome RunQuorl(const std::vector<std::string>& args) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  CommandIo io;
  io.out = out;
  io.err = err;
  Outcome outcome;
  outcome.status = RunCommandLine(args, io);
  for (auto [file, text] : {std::pair{out, &outcome.out}, std::pair{err, &outcome.err}}) {
    std::rewind(file);
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text->append(buffer, n);
    std::fclose(file);
  }
  return outcome;
}

// `quorl COMMAND WORDS...` in-process.
inline Outcome RunQuorl(const std::string& command, std::vector<std::string> words) {
  words.insert(words.begin(), command);
  return RunQuorl(words);
}

}  // namespace quorl::test
