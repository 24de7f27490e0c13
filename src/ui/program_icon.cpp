#include "ui/program_icon.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

#include "ui/cursors.h"

namespace quorl {

QPixmap ProgramPicture(int size) {
  const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
  const int pixels = static_cast<int>(size * ratio + 0.5);
  QPixmap picture(pixels, pixels);
  picture.fill(Qt::transparent);
  RegisterCursors();  // also loads the resources that hold the icon
  QSvgRenderer renderer(QStringLiteral(":/quorl/quorl.svg"));
  QPainter painter(&picture);
  renderer.render(&painter);
  painter.end();
  picture.setDevicePixelRatio(ratio);
  return picture;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(ProgramPicture(size));
  return icon;
}

}  // namespace quorl
