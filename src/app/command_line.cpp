#include "app/command_line.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace quorl {
namespace {

void PrintUsage(std::FILE* to) {
  std::fputs(
      "usage: quorl                      open the window\n"
      "       quorl render SETTINGS.ini -o OUT.png [options]\n"
      "       quorl --version\n",
      to);
}

}  // namespace

bool IsCommandLineInvocation(int argc, char** argv) {
  if (argc < 2) return false;
  const std::string first = argv[1];
  return first == "render" || first == "animate" || first == "--version" || first == "--help" ||
         first == "-h";
}

int RunCommandLine(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "--version") {
    std::puts("quorl 2.3.6");
    return 0;
  }
  if (command == "--help" || command == "-h") {
    PrintUsage(stdout);
    return 0;
  }
  std::fprintf(stderr, "quorl: '%s' is not available in this build yet\n", command.c_str());
  PrintUsage(stderr);
  return 2;
}

}  // namespace quorl
