#include "app/terminal_progress.h"

#include <algorithm>
#include <cmath>

namespace quorl {

std::string FormatDuration(double seconds) {
  if (!(seconds >= 0)) seconds = 0;
  const long long total = std::llround(std::min(seconds, 1e9));
  char text[64];
  if (total >= 3600) {
    std::snprintf(text, sizeof text, "%lld h %02lld min", total / 3600, total / 60 % 60);
  } else if (total >= 60) {
    std::snprintf(text, sizeof text, "%lld min %02lld s", total / 60, total % 60);
  } else {
    std::snprintf(text, sizeof text, "%lld s", total);
  }
  return text;
}

std::string WithoutCommandName(const std::string& text) {
  // "DrawAllSteps: ..." names the command in the window's message box; on
  // the command line it is only noise.
  const size_t colon = text.find(": ");
  if (colon == std::string::npos || colon == 0) return text;
  bool identifier = true, upper = false;
  for (size_t i = 0; i < colon; ++i) {
    const char c = text[i];
    identifier = identifier && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'));
    upper = upper || (i > 0 && c >= 'A' && c <= 'Z') || (i == 0 && c >= 'A' && c <= 'Z');
  }
  return identifier && upper ? text.substr(colon + 2) : text;
}

void TerminalHost::ShowMessage(const std::string& text) {
  ClearProgress();
  std::fprintf(err_, "quorl: %s\n", WithoutCommandName(text).c_str());
}

void TerminalHost::StartProgress(int maximum) {
  maximum_ = maximum;
  start_ = Clock::now();
  last_drawn_ = start_;
  last_line_percent_ = 0;  // the first line says 5 %
}

void TerminalHost::ShowProgress(int position) {
  if (style_ == ProgressStyle::None || maximum_ <= 0) return;
  if (position == 0) {
    ClearProgress();
    return;
  }
  const Clock::time_point now = Clock::now();
  const long long last = expected_last_ >= 0 ? std::min<long long>(expected_last_, maximum_) : maximum_;
  const double done =
      last > 0 ? std::min(1.0, static_cast<double>(position) / static_cast<double>(last)) : 1.0;
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  const double left = done > 0 ? elapsed * (1 - done) / done : 0;
  if (style_ == ProgressStyle::Lines) {
    const int percent = static_cast<int>(done * 100) / 5 * 5;
    if (percent <= last_line_percent_) return;
    last_line_percent_ = percent;
    std::fprintf(err_, "quorl: %d%% (step %d of %d), %s left\n", percent, position, maximum_,
                 FormatDuration(left).c_str());
    std::fflush(err_);
    return;
  }
  // Redraw at most ten times a second.
  if (drawn_ && now - last_drawn_ < std::chrono::milliseconds(100)) return;
  last_drawn_ = now;
  constexpr int kWidth = 30;
  const int filled = static_cast<int>(done * kWidth);
  std::string bar(static_cast<size_t>(filled), '#');
  bar.append(static_cast<size_t>(kWidth - filled), '.');
  std::fprintf(err_, "\r[%s] %3d%%  step %d of %d  %s left  ", bar.c_str(), static_cast<int>(done * 100),
               position, maximum_, FormatDuration(left).c_str());
  std::fflush(err_);
  drawn_ = true;
}

void TerminalHost::ClearProgress() {
  if (!drawn_) return;
  std::fputs("\r\033[K", err_);
  std::fflush(err_);
  drawn_ = false;
}

}  // namespace quorl
