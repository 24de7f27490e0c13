// The main window's side of the core's Host: status line, progress bar,
// message boxes, the pointer and the rendered canvas. A message box is shown
// at most once per text during a run, so a failure repeated at every step
// cannot open thousands of boxes.
//
// A step drawn on the worker thread calls in from there: its messages are
// posted to the window's thread, the pointer is the one taken before the
// step began, and a picture rendered inside the step is shown between steps.
#pragma once

#include <atomic>
#include <set>
#include <string>

#include "base/host.h"

namespace quorl {

class MainWindow;

class MainWindowHost : public Host {
 public:
  explicit MainWindowHost(MainWindow& window) : window_(window) {}

  // A new run: messages may be shown once more.
  void BeginRun();
  void EndRun();

  void ShowStatus(const std::string& message) override;
  void ShowMessage(const std::string& text) override;
  void StartProgress(int last) override;
  void ShowProgress(int position) override;
  bool MousePosition(int& px, int& py) override;
  // Run events become the window's controls: Draw and Stop, the Animation
  // window's start button, the canvas picture and its fit to the window.
  void OnRunEvent(RunEvent event) override;

  // Between steps, on the window's thread: the pointer the next step reads.
  void TakeMousePosition();
  // A step rendered the canvas since the last call.
  bool TakeRenderedInStep() { return rendered_in_step_.exchange(false); }

 private:
  bool OnWindowThread() const;
  bool LiveMousePosition(int& px, int& py) const;

  MainWindow& window_;
  bool mouse_known_ = false;
  int mouse_x_ = 0, mouse_y_ = 0;
  std::atomic<bool> rendered_in_step_{false};
  bool in_run_ = false;
  std::set<std::string> shown_in_run_;
};

}  // namespace quorl
