#include "app/command_line.h"

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/animate_command.h"
#include "app/render_command.h"

namespace quorl {
namespace {

void PrintUsage(std::FILE* to) {
  std::fputs(
      "usage: quorl                      open the window\n"
      "       quorl render SETTINGS.ini|PICTURE.png -o OUT.png [--save DIR] [options]\n"
      "       quorl render STATE --continue -o OUT.png [options]\n"
      "       quorl animate SETTINGS.ini --save DIR [options]\n"
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
      "  --threads N           threads to draw with (default: every core)\n"
      "  --seed N              seed of \"Use random scatter?\" (default 1)\n"
      "  --bench               print steps, points, sub-samples and the time taken\n"
      "  --save DIR            also save the whole set (PNG, curves, settings) into DIR\n"
      "                        as \"Save quorl picture\" does, and print the PNG's path\n"
      "  --transparent         give the picture an alpha channel (\"Use transparency?\")\n"
      "  --opacity N           Opacity for the alpha channel, 1 to 100\n"
      "  --no-recipe           do not put the settings inside saved pictures\n"
      "  --source-image FILE   load a source picture (PNG, JPEG, BMP) to colour with\n"
      "  --background-image FILE  load a background picture\n"
      "  --until-step K        stop after step K (steps count from 0)\n"
      "  --state-out FILE      keep the run's state in FILE when it stops or ends\n"
      "  --continue            SETTINGS is a state file: go on from where it stopped\n"
      "A picture saved by Quorl can stand in for SETTINGS.ini: its settings and\n"
      "curves are read from inside it.\n"
      "\n"
      "animate makes the frames the Animation window makes, each saved into DIR.\n"
      "  --frames F | A-B      F frames (default NumberOfFrames), or only frames A to B\n"
      "  --start-frame S       step over the frames before S\n"
      "  --offset              \"Offset?\": delay the path by AnimationOffset cycles\n"
      "  --move-start, --move-end  move along the animation path curves\n"
      "  --frame-names         name sets quorl_frame_0001 ... instead of a time stamp\n"
      "  --video OUT.mp4|.gif  assemble the frames into a film with ffmpeg\n"
      "  --style, --set, --threads, --seed, --transparent, --no-recipe,\n"
      "  --source-image, --background-image  as for render\n",
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
  if (command == "animate") {
    const std::vector<std::string> words(argv + 2, argv + argc);
    AnimateOptions options;
    std::string error;
    if (!ParseAnimateArguments(words, options, error)) {
      std::fprintf(stderr, "quorl animate: %s\n", error.c_str());
      PrintUsage(stderr);
      return 2;
    }
    return RunAnimate(options, stdout, stderr, isatty(fileno(stderr)) != 0);
  }
  std::fprintf(stderr, "quorl: unknown command '%s'\n", command.c_str());
  PrintUsage(stderr);
  return 2;
}

}  // namespace quorl
