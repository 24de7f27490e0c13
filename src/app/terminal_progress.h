// The command line's host: messages and warnings to stderr, and progress
// there too: a bar with the time left on a terminal, or a line every 5 %
// for logs.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "base/host.h"

namespace quorl {

enum class ProgressStyle { Bar, Lines, None };

class TerminalHost : public Host {
 public:
  TerminalHost(std::FILE* err, ProgressStyle style) : err_(err), style_(style) {}

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
  ProgressStyle style_;
  int last_line_percent_ = -1;  // the last 5 % mark printed as a line
  int maximum_ = 0;
  long long expected_last_ = -1;
  Clock::time_point start_{};
  Clock::time_point last_drawn_{};
  bool drawn_ = false;
};

// A window message without the command name that leads it ("Clear: x"
// gives "x").
std::string WithoutCommandName(const std::string& text);

// "1 h 02 min", "3 min 05 s", "12 s".
std::string FormatDuration(double seconds);

}  // namespace quorl
