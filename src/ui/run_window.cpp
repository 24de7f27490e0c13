#include "ui/run_window.h"

#include <QApplication>

#include "base/paths.h"
#include "ui/explore_menu.h"
#include "ui/main_window.h"
#include "ui/program_icon.h"

namespace quorl {

int RunWindow(int argc, char** argv, const std::string& file) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorl"));
  QApplication::setWindowIcon(ProgramIcon());
  const bool settingsFileExisted = FileExists(ProgramSettingsFile());
  auto* window = new MainWindow;
  QObject::connect(window, &MainWindow::ProgramEnding, &app, &QApplication::quit, Qt::QueuedConnection);
  window->show();
  ShowGalleryOnFirstStart(*window, settingsFileExisted);
  if (!file.empty()) window->OpenFile(QString::fromStdString(file));
  const int status = app.exec();
  delete window;
  return status;
}

}  // namespace quorl
