#include "ui/run_window.h"

#include <QApplication>
#include <cstdlib>

#include "ui/main_window.h"

namespace quorl {

int RunWindow(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorl"));
  auto* window = new MainWindow;
  QObject::connect(window, &MainWindow::ProgramEnding, &app, &QApplication::quit, Qt::QueuedConnection);
  window->show();
  const int status = app.exec();
  // The settings are written; a run still busy with its last step is not
  // waited for.
  if (window->RunInProgress()) std::_Exit(status);
  delete window;
  return status;
}

}  // namespace quorl
