#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"

#ifdef QUORL_HAS_GUI
#include "ui/run_window.h"
#endif

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!quorl::OpensWindow(args)) {
    quorl::CommandIo io;
    io.errIsTerminal = isatty(fileno(stderr)) != 0;
    return quorl::RunCommandLine(args, io);
  }
#ifdef QUORL_HAS_GUI
  // Without a display Qt would abort; say so instead.
  if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && !Set("QT_QPA_PLATFORM")) {
    std::fputs(
        "quorl: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
        "'quorl render' draws without one, see 'quorl --help'\n",
        stderr);
    return quorl::kExitFailed;
  }
  return quorl::RunWindow(argc, argv);
#else
  (void)Set;
  std::fputs("quorl: this build has no window; see 'quorl --help'\n", stderr);
  return quorl::kExitFailed;
#endif
}
