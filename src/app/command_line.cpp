#include "app/command_line.h"

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/render_command.h"

namespace quorl {
namespace {

void PrintUsage(std::FILE* to) {
  std::fputs(
      "usage: quorl                      open the window\n"
      "       quorl render SETTINGS.ini -o OUT.png [options]\n"
      "       quorl --version\n"
      "\n"
      "render draws the picture the window would draw after opening SETTINGS.ini\n"
      "(with the curve files saved beside it) and pressing Draw once. It only\n"
      "reads SETTINGS.ini.\n"
      "  -o, --output OUT.png  the picture to write (8-bit RGB PNG)\n"
      "  --style NAME          draw this style's section instead of the file's own\n"
      "                        (sine, tan, line, circles, ellipses, lissajous, test,\n"
      "                        zarvk9032)\n"
      "  --set KEY=VALUE       override one settings key after reading (repeatable)\n"
      "  --threads N           threads to draw with (1 for now)\n"
      "  --seed N              seed of \"Use random scatter?\" (default 1)\n"
      "  --bench               print steps, points, sub-samples and the time taken\n",
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
  if (command == "render") {
    const std::vector<std::string> words(argv + 2, argv + argc);
    RenderOptions options;
    std::string error;
    if (!ParseRenderArguments(words, options, error)) {
      std::fprintf(stderr, "quorl render: %s\n", error.c_str());
      PrintUsage(stderr);
      return 2;
    }
    return RunRender(options, stdout, stderr, isatty(fileno(stderr)) != 0);
  }
  std::fprintf(stderr, "quorl: '%s' is not available in this build yet\n", command.c_str());
  PrintUsage(stderr);
  return 2;
}

}  // namespace quorl
