// One-line numeric edit fields shared by every tool window: the text is
// checked on every keystroke and written into its parameter at once, and a
// value can be changed by holding the left button in the field and moving
// the pointer above it (up) or below it (down).
#pragma once

#include <QLineEdit>

#include "settings/field_ranges.h"

namespace quorl {

struct ParameterSet;

// What the last button press in any field remembered; one for the program,
// since only one field can be dragged at a time.
struct DragState {
  int PressValue = 0;
  int DragLow = 0;
  int DragHigh = 0;
  double PressRealValue = 0;
};
DragState& TheDragState();

// The two menu switches ("Use mouse to change values?", "Snap values
// back?") live in the parameter set; fields read them from here.
void BindFieldSwitches(const ParameterSet* parameters);

// Messages shown for text that does not parse.
inline constexpr const char* kIntegerFieldMessage = "This field must be an integer.";
inline constexpr const char* kHundredthsFieldMessage = "This field must be a number. e.g 1, 0.5, -0.3";
inline constexpr const char* kPositiveHundredthsFieldMessage =
    "This field must be a non-negative number. e.g 0, 1, 0.5";
inline constexpr const char* kRealFieldMessage = "This field must be a number. e.g 0, 1, -0.5";

// The change and set operations, usable on any line edit.
void StoreIntegerField(QLineEdit* field, int& parameter, int low, int high);
void ShowIntegerField(QLineEdit* field, int value);
void StoreHundredthsField(QLineEdit* field, int& parameter);
void ShowHundredthsField(QLineEdit* field, int value);
void StorePositiveHundredthsField(QLineEdit* field, int& parameter);
void ShowPositiveHundredthsField(QLineEdit* field, int value);
void StoreRealField(QLineEdit* field, double& parameter);
void ShowRealField(QLineEdit* field, double value);

// Text of a hundredths value: 125 gives "1.25", 100 gives "1", -30 "-0.3".
QString HundredthsText(int value);

// The pointer band around a field (relative to its top edge) in which
// moving does nothing; above it values go up, below it they go down.
inline constexpr int kDragBandTop = -5;
inline constexpr int kDragBandBottom = 25;

// A field bound to one parameter. Its text change runs the kind's change
// operation; its mouse events run the drag editing.
class NumericField : public QLineEdit {
  Q_OBJECT

 public:
  static constexpr int kMaxTextLength = 5;

  explicit NumericField(QWidget* parent = nullptr);

  // Wide enough for the longest text a field takes, at any font size.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

  // The field of `range` (Integer, Hundredths, PositiveHundredths or Real
  // kind), bound to its parameter in `parameters`, with the typed and drag
  // limits of the table.
  void Bind(ParameterSet& parameters, const FieldRange& range);
  // Integer kind with typed limits; dragging uses the same limits unless
  // SetDragRange says otherwise.
  void BindInteger(int* parameter, int low, int high);
  void SetRange(int low, int high);
  void SetDragRange(int low, int high);
  void BindHundredths(int* parameter);
  void BindPositiveHundredths(int* parameter);
  void BindReal(double* parameter);
  // Some fields take typing only.
  void SetDragEnabled(bool enabled) { drag_enabled_ = enabled; }

  FieldKind Kind() const { return kind_; }
  int Low() const { return low_; }
  int High() const { return high_; }

  // Shows the bound parameter in the field (the kind's set operation). It
  // never changes the parameter: values are kept in range where they are
  // read (KeepInFieldRanges), and only typing or dragging stores.
  void Init();

 signals:
  // After every change operation that ran on a new text.
  void Edited();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void OnTextChanged();
  bool DragEditingOn() const;

  FieldKind kind_ = FieldKind::Integer;
  int* int_parameter_ = nullptr;
  double* real_parameter_ = nullptr;
  int low_ = 0, high_ = 0;
  int drag_low_ = 0, drag_high_ = 0;
  bool drag_enabled_ = true;
  bool showing_ = false;  // Init is filling in the value
};

}  // namespace quorl
