// The command line's host: messages to stderr, and a progress bar with the
// time left when stderr is a terminal.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "base/host.h"

namespace quorl {

class TerminalHost : public Host {
 public:
  // `showProgress`: draw the bar (only sensible on a terminal).
  TerminalHost(std::FILE* err, bool showProgress) : err_(err), show_progress_(showProgress) {}

  void ShowMessage(const std::string& text) override;
  void StartProgress(int last) override;
  void ShowProgress(int position) override;

  // The step at which the run will stop (PercentToComplete may end it before
  // the bar's maximum); the time left is estimated towards it.
  void SetExpectedLastStep(long long step) { expected_last_ = step; }
  // Removes the bar from the terminal.
  void ClearProgress();

 private:
  using Clock = std::chrono::steady_clock;
  std::FILE* err_;
  bool show_progress_;
  int maximum_ = 0;
  long long expected_last_ = -1;
  Clock::time_point start_{};
  Clock::time_point last_drawn_{};
  bool drawn_ = false;
};

// "1 h 02 min", "3 min 05 s", "12 s".
std::string FormatDuration(double seconds);

}  // namespace quorl
