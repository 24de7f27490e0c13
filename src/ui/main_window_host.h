// The main window's side of the core's Host: status line, progress bar,
// message boxes, the pointer and the rendered canvas. A message box is shown
// at most once per text during a run, so a failure repeated at every step
// cannot open thousands of boxes.
#pragma once

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

 private:
  MainWindow& window_;
  bool in_run_ = false;
  std::set<std::string> shown_in_run_;
};

}  // namespace quorl
