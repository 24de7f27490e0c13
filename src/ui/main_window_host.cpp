#include "ui/main_window_host.h"

#include <QCursor>
#include <QMetaObject>
#include <QThread>
#include <cmath>

#include "ui/canvas_view.h"
#include "ui/main_window.h"

namespace quorl {

void MainWindowHost::BeginRun() {
  in_run_ = true;
  shown_in_run_.clear();
}

void MainWindowHost::EndRun() {
  in_run_ = false;
}

bool MainWindowHost::OnWindowThread() const {
  return QThread::currentThread() == window_.thread();
}

void MainWindowHost::ShowStatus(const std::string& message) {
  if (!OnWindowThread()) {
    QMetaObject::invokeMethod(
        &window_, [this, message] { ShowStatus(message); }, Qt::QueuedConnection);
    return;
  }
  window_.ShowStatus(QString::fromStdString(message));
}

void MainWindowHost::ShowMessage(const std::string& text) {
  if (!OnWindowThread()) {
    QMetaObject::invokeMethod(
        &window_, [this, text] { ShowMessage(text); }, Qt::QueuedConnection);
    return;
  }
  if (in_run_ && !shown_in_run_.insert(text).second) return;
  window_.ShowMessage(QString::fromStdString(text));
}

void MainWindowHost::StartProgress(int last) {
  window_.SetupProgressBar(last);
}

void MainWindowHost::ShowProgress(int position) {
  if (!OnWindowThread()) {
    QMetaObject::invokeMethod(
        &window_, [this, position] { ShowProgress(position); }, Qt::QueuedConnection);
    return;
  }
  window_.ShowProgress(position);
}

void MainWindowHost::TakeMousePosition() {
  mouse_known_ = LiveMousePosition(mouse_x_, mouse_y_);
}

bool MainWindowHost::MousePosition(int& px, int& py) {
  if (OnWindowThread()) return LiveMousePosition(px, py);
  px = mouse_x_;
  py = mouse_y_;
  return mouse_known_;
}

bool MainWindowHost::LiveMousePosition(int& px, int& py) const {
  const double zoom = window_.ZoomFactor();
  if (!(zoom > 0)) return false;
  const QPoint pointer = window_.Image1()->mapFromGlobal(QCursor::pos());
  px = static_cast<int>(std::floor(pointer.x() / zoom));
  py = static_cast<int>(std::floor(pointer.y() / zoom));
  return true;
}

void MainWindowHost::OnRunEvent(RunEvent event) {
  if (!OnWindowThread()) {
    // A picture rendered inside a step is shown between steps.
    if (event == RunEvent::kPictureChanged) {
      rendered_in_step_ = true;
      return;
    }
    QMetaObject::invokeMethod(
        &window_, [this, event] { OnRunEvent(event); }, Qt::QueuedConnection);
    return;
  }
  switch (event) {
    case RunEvent::kRunStarted:
      window_.EnableAnimationStart(false);
      window_.SetDrawCommandsEnabled(false);
      break;
    case RunEvent::kStopRequested:
    case RunEvent::kRunFinished:
      window_.EnableAnimationStart(true);
      window_.SetDrawCommandsEnabled(true);
      break;
    case RunEvent::kCanvasCleared:
      if (window_.ZoomToFit()) window_.FormResize();
      break;
    case RunEvent::kPictureChanged:
      window_.ShowCanvas();
      break;
  }
}

}  // namespace quorl
