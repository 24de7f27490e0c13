#include "ui/run_window.h"

#include <QApplication>

#include "ui/about_window.h"

namespace quorl {

int RunWindow(int argc, char** argv) {
  QApplication app(argc, argv);
  AboutWindow about;
  about.show();
  return app.exec();
}

}  // namespace quorl
