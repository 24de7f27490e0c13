// The window's side of the core's Host. Calls that come from the drawing
// worker are posted to the window's thread; the step boundary parks the
// worker; a message box is shown at most once per text during a run, so a
// failure repeated at every step cannot open thousands of boxes.
#pragma once

#include <QObject>
#include <atomic>
#include <set>
#include <string>

#include "engine/host.h"

namespace quorl {

class MainWindow;
class RunWorker;

class WindowHost : public QObject, public Host {
  Q_OBJECT

 public:
  explicit WindowHost(MainWindow& window);

  void SetWorker(RunWorker* worker) { worker_ = worker; }
  // A new run: messages may be shown once more.
  void BeginRun();
  void EndRun();

  void Spammer(const std::string& message) override;
  void ShowMessage(const std::string& text) override;
  void SetupProgressBar(int maximum) override;
  void SetProgressPosition(int position) override;
  void ProcessPendingEvents() override;
  bool MousePosition(int& px, int& py) override;
  void RenderDone() override;
  void SetDrawCommandsEnabled(bool drawEnabled) override;
  void EnableAnimationStart(bool enabled) override;
  void RefitCanvasIfZoomed() override;

  // Kept by the window at every boundary, read by the worker.
  void SetMousePosition(int px, int py);
  int ProgressPosition() const { return progress_position_.load(); }

 private:
  bool OffWindowThread() const;
  template <typename F>
  void OnWindowThread(F&& call);

  MainWindow& window_;
  RunWorker* worker_ = nullptr;
  bool in_run_ = false;
  std::set<std::string> shown_in_run_;
  std::atomic<int> progress_position_{0};
  std::atomic<bool> progress_refresh_posted_{false};
  std::atomic<int> mouse_x_{-1}, mouse_y_{-1};
  std::atomic<bool> mouse_known_{false};
};

}  // namespace quorl
