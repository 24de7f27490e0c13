#include "app/command_line.h"
#include "base/paths.h"
#include "base/temp_files.h"

#ifdef QUORL_HAS_GUI
#include "ui/run_window.h"
#endif

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  // A signal during a write leaves no temporary file behind; those a killed
  // run left beside our settings are swept once they are a day old.
  quorl::InstallTempFileCleanup();
  const std::string settings = quorl::ProgramSettingsFile();
  quorl::RemoveOldTemporaries(settings.substr(0, settings.find_last_of('/') + 1));
  if (quorl::IsCommandLineInvocation(argc, argv)) return quorl::RunCommandLine(argc, argv);
#ifdef QUORL_HAS_GUI
  return quorl::RunWindow(argc, argv);
#else
  std::fputs("quorl: this build has no window; see `quorl --help`\n", stderr);
  return 2;
#endif
}
