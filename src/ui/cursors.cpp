#include "ui/cursors.h"

#include <QMap>
#include <QPixmap>

// Resources of a static library must be pulled in by name, and the macro
// only works outside a namespace.
static void InitUiResources() {
  Q_INIT_RESOURCE(quorl_ui);
}

namespace quorl {

namespace {
QMap<int, QCursor>& Registered() {
  static QMap<int, QCursor> cursors;
  return cursors;
}

QCursor LoadCursor(const char* name) {
  const QPixmap picture(QStringLiteral(":/quorl/") + QLatin1String(name));
  if (picture.isNull()) return QCursor(Qt::ArrowCursor);
  return QCursor(picture, picture.width() / 2, picture.height() / 2);
}
}  // namespace

void RegisterCursors() {
  InitUiResources();
  Registered().insert(kCurveRotateCursor, LoadCursor("CURVEROTATE"));
  Registered().insert(kCurveExpandCursor, LoadCursor("CURVEEXPAND"));
}

QCursor CursorNumber(int number) {
  return Registered().value(number, QCursor(Qt::ArrowCursor));
}

}  // namespace quorl
