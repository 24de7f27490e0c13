#include "app/command_line.h"

#ifdef QUORL_HAS_GUI
#include "ui/run_window.h"
#endif

#include <cstdio>

int main(int argc, char** argv) {
  if (quorl::IsCommandLineInvocation(argc, argv)) return quorl::RunCommandLine(argc, argv);
#ifdef QUORL_HAS_GUI
  return quorl::RunWindow(argc, argv);
#else
  std::fputs("quorl: this build has no window; see `quorl --help`\n", stderr);
  return 2;
#endif
}
