#include "ui/run_window.h"

#include <QApplication>

#include "base/paths.h"
#include "ui/explore_menu.h"
#include "ui/main_window.h"

namespace quorl {

int RunWindow(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorl"));
  const bool settingsFileExisted = FileExists(ProgramSettingsFile());
  auto* window = new MainWindow;
  QObject::connect(window, &MainWindow::ProgramEnding, &app, &QApplication::quit, Qt::QueuedConnection);
  window->show();
  ShowGalleryOnFirstStart(*window, settingsFileExisted);
  const int status = app.exec();
  delete window;
  return status;
}

}  // namespace quorl
