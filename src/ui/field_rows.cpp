#include "ui/field_rows.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>

namespace quorl {

QString RangeText(const char* key) {
  const FieldRange* range = FindFieldRange(key);
  if (!range) return {};
  return QStringLiteral("%1 to %2").arg(range->min).arg(range->max);
}

NumericField* MakeBoundField(ParameterSet& parameters, const char* object_name, const char* key) {
  auto* field = new NumericField;
  field->setObjectName(QString::fromUtf8(object_name));
  if (const FieldRange* range = FindFieldRange(key)) field->Bind(parameters, *range);
  return field;
}

QLabel* MakeCaption(const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text);
  label->setBuddy(buddy);
  return label;
}

QWidget* MakeBevel() {
  auto* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

FieldRowBuilder::FieldRowBuilder(QGridLayout* grid, ParameterSet& parameters)
    : grid_(grid), parameters_(parameters) {}

NumericField* FieldRowBuilder::Add(const FieldRow& row) {
  NumericField* field = MakeBoundField(parameters_, row.object_name, row.key);
  grid_->addWidget(MakeCaption(QString::fromUtf8(row.caption), field), row_, 0);
  grid_->addWidget(field, row_, 1);
  if (row.range_label) {
    auto* label = new QLabel(RangeText(row.key));
    label->setObjectName(QStringLiteral("label") + QString::fromUtf8(row.object_name).mid(4) +
                         QStringLiteral("Range"));
    grid_->addWidget(label, row_, 2);
  }
  ++row_;
  if (row.bevel_after) Bevel();
  return field;
}

void FieldRowBuilder::Bevel() {
  grid_->addWidget(MakeBevel(), row_++, 0, 1, 3);
}

}  // namespace quorl
