// Builds the caption / field / range-label rows of a tool window from the
// field-range table, so no window repeats a range.
#pragma once

#include <QString>
#include <QWidget>

#include "ui/numeric_field.h"

class QLabel;

namespace quorl {

struct FieldRow {
  const char* object_name;  // e.g. "editSteps"
  const char* caption;      // the label on the left
  const char* key;          // the parameter, a row of the field-range table
  bool range_label;         // shows "low to high" on the right
  bool bevel_after;         // a thin line below the row
};

// Lays rows out top to bottom from `top`, returning the y below the last.
// Created fields are bound to `parameters` and appended to `fields`.
class FieldRowBuilder {
 public:
  static constexpr int kRowHeight = 24;
  static constexpr int kFieldHeight = 21;

  FieldRowBuilder(QWidget* window, ParameterSet& parameters, int caption_left, int field_left,
                  int field_width);

  NumericField* Add(const FieldRow& row, int top);
  // A field with its caption at explicit places, for rows of several fields.
  NumericField* AddAt(const char* object_name, const char* caption, const char* key, int caption_left,
                      int field_left, int field_width, int top);
  QLabel* Caption(const QString& text, int left, int top, int width);
  void Bevel(int top);

 private:
  QWidget* window_;
  ParameterSet& parameters_;
  int caption_left_, field_left_, field_width_;
};

// "low to high" of an integer row of the table.
QString RangeText(const char* key);

}  // namespace quorl
