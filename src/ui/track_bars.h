// Track bars of the colour and picture windows: the range comes from the
// field-range table, and each bar has a label beside it showing its value.
#pragma once

#include <QString>

class QLabel;
class QSlider;
class QWidget;

namespace quorl {

// A horizontal bar over the range of `key` in the field-range table.
QSlider* MakeTrackBar(QWidget* parent, const char* object_name, const char* key);

// A plain text label.
QLabel* MakeLabel(QWidget* parent, const char* object_name, const QString& text);
// A label that shows a bar's value, wide enough for `widest` so the row
// does not shift as the value changes.
QLabel* MakeValueLabel(QWidget* parent, const char* object_name, const QString& widest);

// Moves the bar (clamped to its range) without running its change handler;
// Init then runs the handler itself, so it runs exactly once.
void SetPositionQuietly(QSlider* bar, int position);

// floor(value x 100) of an exact decimal (0.6 gives 60, not 59), clamped to
// the bar's range: the position of a bar that stands for hundredths.
int HundredthsPosition(const QSlider* bar, double value);

}  // namespace quorl
