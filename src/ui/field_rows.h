// Builds the caption / field / range-label rows of a tool window from the
// field-range table, so no window repeats a range, and lays them out in a
// grid so the columns line up at every font size.
#pragma once

#include <QString>
#include <QWidget>

#include "ui/numeric_field.h"

class QGridLayout;
class QLabel;

namespace quorl {

struct FieldRow {
  const char* object_name;  // e.g. "editSteps"
  const char* caption;      // the label on the left
  const char* key;          // the parameter, a row of the field-range table
  bool range_label;         // shows "low to high" on the right
  bool bevel_after;         // a thin line below the row
};

// Appends rows to a three-column grid: caption, field, range label. Created
// fields are bound to `parameters`.
class FieldRowBuilder {
 public:
  FieldRowBuilder(QGridLayout* grid, ParameterSet& parameters);

  NumericField* Add(const FieldRow& row);
  void Bevel();

 private:
  QGridLayout* grid_;
  ParameterSet& parameters_;
  int row_ = 0;
};

// A field bound to the row `key` of the field-range table (unbound when the
// table has no such row), wide enough for its longest text.
NumericField* MakeBoundField(ParameterSet& parameters, const char* object_name, const char* key);
// A caption that names `buddy` for screen readers.
QLabel* MakeCaption(const QString& text, QWidget* buddy);
// A thin sunken line across a window.
QWidget* MakeBevel();

// "low to high" of an integer row of the table.
QString RangeText(const char* key);

}  // namespace quorl
