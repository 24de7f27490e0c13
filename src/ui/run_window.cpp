#include "ui/run_window.h"

#include <QApplication>

#include "ui/main_window.h"

namespace quorl {

int RunWindow(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorl"));
  auto* window = new MainWindow;
  QObject::connect(window, &MainWindow::ProgramEnding, &app, &QApplication::quit, Qt::QueuedConnection);
  window->show();
  const int status = app.exec();
  delete window;
  return status;
}

}  // namespace quorl
