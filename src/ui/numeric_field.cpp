#include "ui/numeric_field.h"

#include <QMouseEvent>
#include <QValidator>
#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <variant>

#include "base/decimal_hundredths.h"
#include "base/number_text.h"
#include "settings/parameter_set.h"
#include "settings/settings_table.h"
#include "ui/dialogs.h"
#include "ui/field_message.h"

namespace quorl {

namespace {

DragState g_drag;
const ParameterSet* g_switches = nullptr;

// Adds without leaving the int range, for drag steps at the extremes.
int SaturatingAdd(int value, int step) {
  const long long sum = static_cast<long long>(value) + step;
  return static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}

// Rewrites the text only when it differs, so the caret and selection of a
// field whose text is already right are left alone.
void SetTextIfDifferent(QLineEdit* field, const QString& text) {
  if (field->text() != text) field->setText(text);
}

void WriteBack(QLineEdit* field, const QString& text) {
  SetTextIfDifferent(field, text);
  field->setCursorPosition(static_cast<int>(field->text().size()));
}

// Text that does not parse: the parameter keeps its value and the message
// shows beside the field; the kept value comes back when the field loses
// focus, unless the user mends the text first.
void Reject(QLineEdit* field, const char* message, const QString& kept) {
  ShowFieldMessage(field, QString::fromUtf8(message), kept);
}

// Hundredths beyond what an int holds are kept at the int's limits.
std::optional<int> ParseHundredths(const QString& text) {
  const std::optional<long long> value = FloorHundredths(text.toStdString());
  if (!value) return std::nullopt;
  return ClampToInt(*value, INT_MIN, INT_MAX);
}

bool IsOneOf(const QString& text, std::initializer_list<const char*> values) {
  for (const char* value : values)
    if (text == QLatin1String(value)) return true;
  return false;
}

// Refuses typing or pasting beyond the field's length; text written by the
// program itself may be longer and can still be shortened.
class MaxLengthValidator : public QValidator {
 public:
  explicit MaxLengthValidator(QObject* parent) : QValidator(parent) {}
  void Accepted(const QString& text) { accepted_length_ = text.size(); }
  State validate(QString& input, int& /*pos*/) const override {
    if (input.size() > NumericField::kMaxTextLength && input.size() > accepted_length_) return Invalid;
    return Acceptable;
  }

 private:
  qsizetype accepted_length_ = 0;
};

}  // namespace

DragState& TheDragState() {
  return g_drag;
}

void BindFieldSwitches(const ParameterSet* parameters) {
  g_switches = parameters;
}

QString HundredthsText(int value) {
  return QString::fromStdString(FormatFloat(value / 100.0));
}

void StoreIntegerField(QLineEdit* field, int& parameter, int low, int high) {
  HideFieldMessage(field);
  const QString text = field->text();
  if (text.isEmpty() || text == QLatin1String("-")) return;
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  if (!ok) {
    Reject(field, kIntegerFieldMessage, QString::number(parameter));
    return;
  }
  // When low exceeds high the result is high.
  parameter = std::min(std::max(value, low), high);
  WriteBack(field, QString::number(parameter));
}

void ShowIntegerField(QLineEdit* field, int value) {
  SetTextIfDifferent(field, QString::number(value));
}

void StoreHundredthsField(QLineEdit* field, int& parameter) {
  HideFieldMessage(field);
  const QString text = field->text();
  if (text.isEmpty() || IsOneOf(text, {".", "-"})) return;
  const std::optional<int> value = ParseHundredths(text);
  if (!value) {
    Reject(field, kHundredthsFieldMessage, HundredthsText(parameter));
    return;
  }
  parameter = *value;
}

void ShowHundredthsField(QLineEdit* field, int value) {
  SetTextIfDifferent(field, HundredthsText(value));
}

void StorePositiveHundredthsField(QLineEdit* field, int& parameter) {
  HideFieldMessage(field);
  const QString text = field->text();
  // A lone "-" is not waited for here: it cannot start a non-negative number.
  if (text.isEmpty() || text == QLatin1String(".")) return;
  const std::optional<int> value = ParseHundredths(text);
  if (!value) {
    Reject(field, kPositiveHundredthsFieldMessage, HundredthsText(parameter));
    return;
  }
  parameter = std::max(0, *value);
}

void ShowPositiveHundredthsField(QLineEdit* field, int value) {
  SetTextIfDifferent(field, HundredthsText(value));
}

void StoreRealField(QLineEdit* field, double& parameter) {
  HideFieldMessage(field);
  const QString text = field->text();
  if (text.isEmpty() || IsOneOf(text, {".", "-"})) return;
  const std::optional<double> value = ParseFloat(text.toStdString());
  if (!value) {
    Reject(field, kRealFieldMessage, QString::fromStdString(FormatFloat(parameter)));
    return;
  }
  parameter = *value;
}

void ShowRealField(QLineEdit* field, double value) {
  SetTextIfDifferent(field, QString::fromStdString(FormatFloat(value)));
}

QSize NumericField::sizeHint() const {
  // Real values keep all their digits (1.5707963267949), the others are short.
  const int digits = kind_ == FieldKind::Real ? 11 : kMaxTextLength + 2;
  const int text = fontMetrics().horizontalAdvance(QString(digits, QLatin1Char('0')));
  return {text + 12, QLineEdit::sizeHint().height()};
}

NumericField::NumericField(QWidget* parent) : QLineEdit(parent) {
  auto* validator = new MaxLengthValidator(this);
  setValidator(validator);
  connect(this, &QLineEdit::textChanged, this, [this, validator](const QString& text) {
    validator->Accepted(text);
    OnTextChanged();
  });
}

void NumericField::Bind(ParameterSet& parameters, const FieldRange& range) {
  const KeyDescriptor* key = FindSettingsKey(range.key);
  if (!key) return;
  if (range.kind == FieldKind::Real) {
    if (const auto* member = std::get_if<double ParameterSet::*>(&key->member))
      BindReal(&(parameters.*(*member)));
  } else if (const auto* member = std::get_if<int ParameterSet::*>(&key->member)) {
    int* parameter = &(parameters.*(*member));
    if (range.kind == FieldKind::Hundredths) {
      BindHundredths(parameter);
    } else if (range.kind == FieldKind::PositiveHundredths) {
      BindPositiveHundredths(parameter);
    } else {
      BindInteger(parameter, range.min, range.max);
      SetDragRange(range.dragMin, range.dragMax);
    }
  }
  SetDragEnabled(range.drag);
}

void NumericField::BindInteger(int* parameter, int low, int high) {
  kind_ = FieldKind::Integer;
  int_parameter_ = parameter;
  real_parameter_ = nullptr;
  SetRange(low, high);
  SetDragRange(low, high);
}

void NumericField::SetRange(int low, int high) {
  low_ = low;
  high_ = high;
}

void NumericField::SetDragRange(int low, int high) {
  drag_low_ = low;
  drag_high_ = high;
}

void NumericField::BindHundredths(int* parameter) {
  kind_ = FieldKind::Hundredths;
  int_parameter_ = parameter;
  real_parameter_ = nullptr;
}

void NumericField::BindPositiveHundredths(int* parameter) {
  kind_ = FieldKind::PositiveHundredths;
  int_parameter_ = parameter;
  real_parameter_ = nullptr;
}

void NumericField::BindReal(double* parameter) {
  kind_ = FieldKind::Real;
  real_parameter_ = parameter;
  int_parameter_ = nullptr;
}

void NumericField::Init() {
  // Showing a value is not an edit: the parameter keeps what it has. A
  // message about the text it replaces no longer applies.
  HideFieldMessage(this);
  showing_ = true;
  switch (kind_) {
    case FieldKind::Integer:
      ShowIntegerField(this, *int_parameter_);
      break;
    case FieldKind::Hundredths:
      ShowHundredthsField(this, *int_parameter_);
      break;
    case FieldKind::PositiveHundredths:
      ShowPositiveHundredthsField(this, *int_parameter_);
      break;
    case FieldKind::Real:
      ShowRealField(this, *real_parameter_);
      break;
    default:
      break;
  }
  showing_ = false;
}

void NumericField::OnTextChanged() {
  if (showing_ || (!int_parameter_ && !real_parameter_)) return;
  switch (kind_) {
    case FieldKind::Integer:
      StoreIntegerField(this, *int_parameter_, low_, high_);
      break;
    case FieldKind::Hundredths:
      StoreHundredthsField(this, *int_parameter_);
      break;
    case FieldKind::PositiveHundredths:
      StorePositiveHundredthsField(this, *int_parameter_);
      break;
    case FieldKind::Real:
      StoreRealField(this, *real_parameter_);
      break;
    default:
      break;
  }
  emit Edited();
}

bool NumericField::DragEditingOn() const {
  return drag_enabled_ && g_switches && g_switches->UseMouseToChangeValues &&
         (int_parameter_ || real_parameter_);
}

void NumericField::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  if (event->button() != Qt::LeftButton || !drag_enabled_) return;
  // Remembered whether or not drag editing is on.
  if (kind_ == FieldKind::Real) {
    if (real_parameter_) g_drag.PressRealValue = *real_parameter_;
    return;
  }
  if (!int_parameter_) return;
  g_drag.PressValue = *int_parameter_;
  if (kind_ == FieldKind::Integer) {
    g_drag.DragLow = drag_low_;
    g_drag.DragHigh = drag_high_;
  }
}

void NumericField::mouseMoveEvent(QMouseEvent* event) {
  const double y = event->position().y();
  const bool outside_band = y < kDragBandTop || y > kDragBandBottom;
  if (!(event->buttons() & Qt::LeftButton) || !DragEditingOn() || !outside_band) {
    QLineEdit::mouseMoveEvent(event);
    return;
  }
  // Outside the band the move is a drag step and does not select text.
  const bool up = y < kDragBandTop;
  switch (kind_) {
    case FieldKind::Integer:
      ShowIntegerField(this, SaturatingAdd(*int_parameter_, up ? 1 : -1));
      StoreIntegerField(this, *int_parameter_, g_drag.DragLow, g_drag.DragHigh);
      break;
    case FieldKind::Hundredths:
      ShowHundredthsField(this, SaturatingAdd(*int_parameter_, up ? 2 : -2));
      StoreHundredthsField(this, *int_parameter_);
      break;
    case FieldKind::PositiveHundredths:
      ShowPositiveHundredthsField(this, std::max(0, SaturatingAdd(*int_parameter_, up ? 2 : -2)));
      StorePositiveHundredthsField(this, *int_parameter_);
      break;
    case FieldKind::Real:
      ShowRealField(this, *real_parameter_ + (up ? 0.2 : -0.2));
      StoreRealField(this, *real_parameter_);
      break;
    default:
      break;
  }
}

void NumericField::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton || !DragEditingOn() || !g_switches->SnapValuesBack) return;
  switch (kind_) {
    case FieldKind::Integer:
    case FieldKind::Hundredths:
    case FieldKind::PositiveHundredths:
      // A press that selected text was a selection, not a drag.
      if (hasSelectedText()) return;
      *int_parameter_ = g_drag.PressValue;
      if (kind_ == FieldKind::Integer) {
        ShowIntegerField(this, *int_parameter_);
        StoreIntegerField(this, *int_parameter_, g_drag.DragLow, g_drag.DragHigh);
      } else if (kind_ == FieldKind::Hundredths) {
        ShowHundredthsField(this, *int_parameter_);
        StoreHundredthsField(this, *int_parameter_);
      } else {
        ShowPositiveHundredthsField(this, *int_parameter_);
        StorePositiveHundredthsField(this, *int_parameter_);
      }
      break;
    case FieldKind::Real:
      *real_parameter_ = g_drag.PressRealValue;
      ShowRealField(this, *real_parameter_);
      StoreRealField(this, *real_parameter_);
      break;
    default:
      break;
  }
}

}  // namespace quorl
