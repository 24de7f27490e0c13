#include "ui/window_host.h"

#include <QCoreApplication>
#include <QThread>

#include "ui/main_window.h"
#include "ui/run_worker.h"

namespace quorl {

WindowHost::WindowHost(MainWindow& window) : window_(window) {}

bool WindowHost::OffWindowThread() const { return QThread::currentThread() != thread(); }

template <typename F>
void WindowHost::OnWindowThread(F&& call) {
  if (OffWindowThread()) {
    QMetaObject::invokeMethod(this, std::forward<F>(call), Qt::QueuedConnection);
  } else {
    call();
  }
}

void WindowHost::BeginRun() {
  in_run_ = true;
  shown_in_run_.clear();
}

void WindowHost::EndRun() { in_run_ = false; }

void WindowHost::Spammer(const std::string& message) {
  OnWindowThread([this, text = QString::fromStdString(message)] { window_.Spammer(text); });
}

void WindowHost::ShowMessage(const std::string& text) {
  OnWindowThread([this, text] {
    if (in_run_ && !shown_in_run_.insert(text).second) return;
    window_.ShowMessage(QString::fromStdString(text));
  });
}

void WindowHost::SetupProgressBar(int maximum) {
  progress_position_ = 0;
  OnWindowThread([this, maximum] { window_.SetupProgressBar(maximum); });
}

void WindowHost::SetProgressPosition(int position) {
  progress_position_ = position;
  if (!OffWindowThread()) {
    window_.ShowProgress(position);
    return;
  }
  // One pending refresh at a time: the window reads the latest position.
  if (progress_refresh_posted_.exchange(true)) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        progress_refresh_posted_ = false;
        window_.ShowProgress(progress_position_.load());
      },
      Qt::QueuedConnection);
}

void WindowHost::ProcessPendingEvents() {
  if (OffWindowThread()) {
    if (worker_) worker_->Park();
  } else {
    QCoreApplication::processEvents();
  }
}

void WindowHost::SetMousePosition(int px, int py) {
  mouse_x_ = px;
  mouse_y_ = py;
  mouse_known_ = true;
}

bool WindowHost::MousePosition(int& px, int& py) {
  if (!mouse_known_) return false;
  px = mouse_x_;
  py = mouse_y_;
  return true;
}

void WindowHost::RenderDone() {
  // Copied where it was rendered: the worker goes on drawing into the
  // canvas while the window shows this picture.
  QImage picture = window_.CanvasPictureCopy();
  OnWindowThread([this, picture = std::move(picture)] { window_.ShowCanvasPicture(picture); });
}

void WindowHost::SetDrawCommandsEnabled(bool drawEnabled) {
  OnWindowThread([this, drawEnabled] { window_.SetDrawCommandsEnabled(drawEnabled); });
}

void WindowHost::EnableAnimationStart(bool /*enabled*/) {}

void WindowHost::RefitCanvasIfZoomed() {
  OnWindowThread([this] {
    if (window_.ZoomToFit()) window_.FormResize();
  });
}

}  // namespace quorl
