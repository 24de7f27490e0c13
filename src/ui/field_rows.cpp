#include "ui/field_rows.h"

#include <QFrame>
#include <QLabel>

namespace quorl {

QString RangeText(const char* key) {
  const FieldRange* range = FindFieldRange(key);
  if (!range) return {};
  return QStringLiteral("%1 to %2").arg(range->min).arg(range->max);
}

FieldRowBuilder::FieldRowBuilder(QWidget* window, ParameterSet& parameters, int caption_left, int field_left,
                                 int field_width)
    : window_(window),
      parameters_(parameters),
      caption_left_(caption_left),
      field_left_(field_left),
      field_width_(field_width) {}

QLabel* FieldRowBuilder::Caption(const QString& text, int left, int top, int width) {
  auto* label = new QLabel(text, window_);
  label->setGeometry(left, top, width, kFieldHeight);
  return label;
}

NumericField* FieldRowBuilder::AddAt(const char* object_name, const char* caption, const char* key,
                                     int caption_left, int field_left, int field_width, int top) {
  Caption(QString::fromUtf8(caption), caption_left, top, field_left - caption_left - 2);
  auto* field = new NumericField(window_);
  field->setObjectName(QString::fromUtf8(object_name));
  field->setGeometry(field_left, top, field_width, kFieldHeight);
  if (const FieldRange* range = FindFieldRange(key)) field->Bind(parameters_, *range);
  return field;
}

NumericField* FieldRowBuilder::Add(const FieldRow& row, int top) {
  NumericField* field =
      AddAt(row.object_name, row.caption, row.key, caption_left_, field_left_, field_width_, top);
  if (row.range_label) {
    auto* label = new QLabel(RangeText(row.key), window_);
    label->setObjectName(QStringLiteral("label") + QString::fromUtf8(row.object_name).mid(4) +
                         QStringLiteral("Range"));
    label->setGeometry(field_left_ + field_width_ + 6, top, 84, kFieldHeight);
  }
  if (row.bevel_after) Bevel(top + kRowHeight - 1);
  return field;
}

void FieldRowBuilder::Bevel(int top) {
  auto* line = new QFrame(window_);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(4, top, window_->width() - 8, 3);
}

}  // namespace quorl
