#include "ui/main_window_host.h"

#include <QCursor>
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

void MainWindowHost::ShowStatus(const std::string& message) {
  window_.ShowStatus(QString::fromStdString(message));
}

void MainWindowHost::ShowMessage(const std::string& text) {
  if (in_run_ && !shown_in_run_.insert(text).second) return;
  window_.ShowMessage(QString::fromStdString(text));
}

void MainWindowHost::StartProgress(int last) {
  window_.SetupProgressBar(last);
}

void MainWindowHost::ShowProgress(int position) {
  window_.ShowProgress(position);
}

bool MainWindowHost::MousePosition(int& px, int& py) {
  const double zoom = window_.ZoomFactor();
  if (!(zoom > 0)) return false;
  const QPoint pointer = window_.Image1()->mapFromGlobal(QCursor::pos());
  px = static_cast<int>(std::floor(pointer.x() / zoom));
  py = static_cast<int>(std::floor(pointer.y() / zoom));
  return true;
}

void MainWindowHost::OnRunEvent(RunEvent event) {
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
      window_.ShowCanvasPicture(window_.CanvasPictureCopy());
      break;
  }
}

}  // namespace quorl
