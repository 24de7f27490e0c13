#include "ui/track_bars.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include "base/decimal_hundredths.h"
#include "settings/field_ranges.h"

namespace quorl {

QSlider* MakeTrackBar(QWidget* parent, const char* object_name, const char* key, const QRect& geometry) {
  auto* bar = new QSlider(Qt::Horizontal, parent);
  bar->setObjectName(QString::fromUtf8(object_name));
  if (const FieldRange* range = FindFieldRange(key)) bar->setRange(range->min, range->max);
  bar->setGeometry(geometry);
  return bar;
}

QLabel* MakeLabel(QWidget* parent, const char* object_name, const QString& text, const QRect& geometry) {
  auto* label = new QLabel(text, parent);
  if (object_name) label->setObjectName(QString::fromUtf8(object_name));
  label->setGeometry(geometry);
  return label;
}

void SetPositionQuietly(QSlider* bar, int position) {
  const QSignalBlocker quiet(bar);
  bar->setValue(position);
}

int HundredthsPosition(const QSlider* bar, double value) {
  // A value that is not a number leaves the bar at its lowest position.
  return ClampToInt(FloorHundredthsOf(value).value_or(bar->minimum()), bar->minimum(), bar->maximum());
}

}  // namespace quorl
