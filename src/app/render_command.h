// `quorl render SETTINGS.ini -o OUT.png ...`: the picture the window makes
// when started with SETTINGS.ini as its settings file, opening it with
// "Open .ini file" and pressing Draw once. SETTINGS.ini is only read.
#pragma once

#include <memory>
#include <string>

#include "app/command.h"
#include "app/shared_options.h"

namespace quorl {

struct RenderOptions : SharedOptions {
  std::string outputPath;  // -o: the picture alone
  bool bench = false;
  int opacity = -1;   // --opacity N (1 ... 100) instead of the file's Opacity
  int depth = 0;      // --depth: bits a channel of a PNG; 0: as the recipe says (8 without one)
  int quality = 90;   // --quality of a JPEG
  int dpi = 0;        // --dpi; 0 keeps no physical size
  bool json = false;  // --bench --json
  // --continue: settingsPath is a state file; the run goes on from it.
  bool continueRun = false;
  long long untilStep = -1;  // --until-step K: stop after step K
  std::string stateOut;      // --state-out FILE: keep the run's state there
};

// Runs the render. Exit status: 0 done, 1 a file could not be read or
// written, 2 a bad --set or --style. `io.out` gets the --bench figures,
// `io.err` messages and the progress.
int RunRender(const RenderOptions& options, CommandIo& io);

std::unique_ptr<Command> MakeRenderCommand();

}  // namespace quorl
