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

// Parses `words` with Parse and runs them with Run, as the binary would;
// a parse error gives status 2 with the error as stderr.
template <typename Options, typename Parse, typename Run>
Outcome RunInProcess(const std::vector<std::string>& words, Parse parse, Run run) {
  Options options;
  std::string error;
  if (!parse(words, options, error)) return {2, "", error};
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  Outcome outcome;
  outcome.status = run(options, out, err, false);
  for (auto [file, text] : {std::pair{out, &outcome.out}, std::pair{err, &outcome.err}}) {
    std::rewind(file);
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text->append(buffer, n);
    std::fclose(file);
  }
  return outcome;
}

}  // namespace quorl::test
