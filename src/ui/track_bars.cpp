#include "ui/track_bars.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include "base/decimal_hundredths.h"
#include "settings/field_ranges.h"

namespace quorl {

QSlider* MakeTrackBar(QWidget* parent, const char* object_name, const char* key) {
  auto* bar = new QSlider(Qt::Horizontal, parent);
  bar->setObjectName(QString::fromUtf8(object_name));
  if (const FieldRange* range = FindFieldRange(key)) bar->setRange(range->min, range->max);
  bar->setMinimumWidth(100);
  return bar;
}

QLabel* MakeLabel(QWidget* parent, const char* object_name, const QString& text) {
  auto* label = new QLabel(text, parent);
  if (object_name) label->setObjectName(QString::fromUtf8(object_name));
  return label;
}

QLabel* MakeValueLabel(QWidget* parent, const char* object_name, const QString& widest) {
  QLabel* label = MakeLabel(parent, object_name, QString());
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest) + 6);
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
