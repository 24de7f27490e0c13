// Running the quorl binary as a user's shell would: an argument vector (no
// shell, so any file name is fine), extra environment, standard input from
// a file, and stdout and stderr captured.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/app_test_support.h"

namespace quorl::test {

struct ProcessOptions {
  std::map<std::string, std::string> env;  // set (empty value: unset)
  std::string stdinFile;                   // empty: /dev/null
  std::filesystem::path workDir;           // empty: the test's own
  std::vector<std::string> prefix;         // a program that runs quorl ("taskset", "-c", "0")
};

inline Outcome RunProgram(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                          const ProcessOptions& options = {}) {
  const std::filesystem::path outPath = scratch / ".stdout", errPath = scratch / ".stderr";
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int in = ::open(options.stdinFile.empty() ? "/dev/null" : options.stdinFile.c_str(), O_RDONLY);
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    for (const auto& [name, value] : options.env) {
      if (value.empty()) {
        ::unsetenv(name.c_str());
      } else {
        ::setenv(name.c_str(), value.c_str(), 1);
      }
    }
    if (!options.workDir.empty() && ::chdir(options.workDir.c_str()) != 0) ::_exit(126);
    std::vector<std::string> copies = options.prefix;
    copies.push_back(QUORL_BINARY);
    copies.insert(copies.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  int raw = 0;
  ::waitpid(pid, &raw, 0);
  Outcome outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw), ReadFile(outPath),
                  ReadFile(errPath)};
  std::filesystem::remove(outPath);
  std::filesystem::remove(errPath);
  return outcome;
}

inline std::string FirstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

}  // namespace quorl::test
