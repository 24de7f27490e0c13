// Typing rules, messages, clamping and drag editing of the numeric fields.
#include "ui/numeric_field.h"

#include <QLabel>
#include <QtTest>

#include "settings/field_ranges.h"
#include "settings/parameter_set.h"
#include "support/ui_test_support.h"
#include "ui/field_message.h"

using namespace quorl;
using quorl::test::MoveHeld;
using quorl::test::Press;
using quorl::test::RecordingDialogs;
using quorl::test::Release;

class NumericFieldTest : public QObject {
  Q_OBJECT

 private:
  // Types `text` key by key into an emptied field, as a user would.
  static void Type(NumericField& field, const QString& text) {
    field.clear();
    QTest::keyClicks(&field, text);
  }
  // `count` drag steps: moves alternating between two points above (or
  // below) the band, so every event is a real move.
  static void Drag(NumericField& field, int count, bool up) {
    const int y = up ? -40 : 60;
    for (int i = 0; i < count; ++i) MoveHeld(&field, QPoint(5 + (i % 2), y - (i % 2)));
  }

  ParameterSet params_;

 private slots:
  void init() {
    params_ = ParameterSet();
    BindFieldSwitches(&params_);
  }

  void integerTyping() {
    RecordingDialogs dialogs;
    NumericField field;
    field.Bind(params_, *FindFieldRange("PercentToComplete"));  // 1 .. 100
    params_.PercentToComplete = 40;
    field.Init();
    QCOMPARE(field.text(), QString("40"));

    Type(field, "-");  // still typing: nothing happens
    QCOMPARE(params_.PercentToComplete, 40);
    QTest::keyClicks(&field, "5");  // -5 is clamped to the low end
    QCOMPARE(params_.PercentToComplete, 1);
    QCOMPARE(field.text(), QString("1"));

    field.setText("007");  // pasted: typed key by key "0" would clamp first
    QCOMPARE(params_.PercentToComplete, 7);
    QCOMPARE(field.text(), QString("7"));
    QCOMPARE(field.cursorPosition(), 1);

    Type(field, "250");
    QCOMPARE(params_.PercentToComplete, 100);
    QCOMPARE(field.text(), QString("100"));
    QVERIFY(dialogs.messages.isEmpty());

    // A bad letter: no box, the message beside the field, the typing goes on.
    field.show();
    field.setFocus();
    Type(field, "1a5");
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(FieldMessage(&field), QString(kIntegerFieldMessage));
    QVERIFY(FieldMessageBalloon(&field)->isVisible());
    QCOMPARE(field.palette().color(QPalette::Base), QColor(255, 255, 0));
    QCOMPARE(field.text(), QString("1a5"));  // every key reached the field
    QCOMPARE(params_.PercentToComplete, 1);  // what "1" gave is kept
    // Mended by typing: the message goes and the value is taken.
    QTest::keyClick(&field, Qt::Key_Backspace);
    QTest::keyClick(&field, Qt::Key_Backspace);
    QTest::keyClicks(&field, "7");
    QCOMPARE(params_.PercentToComplete, 17);
    QVERIFY(FieldMessage(&field).isEmpty());
    QVERIFY(field.palette().color(QPalette::Base) != QColor(255, 255, 0));
  }

  void refusedTextGivesTheKeptValueBackOnFocusLoss() {
    RecordingDialogs dialogs;
    QWidget window;
    auto* field = new NumericField(&window);
    auto* other = new QLineEdit(&window);
    other->move(0, 40);
    field->Bind(params_, *FindFieldRange("StartRadius"));
    params_.StartRadius = 125;
    field->Init();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    field->setFocus();
    QTest::keyClicks(field, "x");
    QCOMPARE(FieldMessage(field), QString(kHundredthsFieldMessage));
    QCOMPARE(field->text(), QString("1.25x"));
    other->setFocus();
    QTRY_COMPARE(field->text(), QString("1.25"));
    QVERIFY(FieldMessage(field).isEmpty());
    QCOMPARE(params_.StartRadius, 125);
    QVERIFY(dialogs.messages.isEmpty());
  }

  void hundredthsTyping() {
    RecordingDialogs dialogs;
    NumericField field;
    field.Bind(params_, *FindFieldRange("StartRadius"));
    Type(field, "1.5");
    QCOMPARE(params_.StartRadius, 150);
    QCOMPARE(field.text(), QString("1.5"));
    Type(field, "0.29");
    QCOMPARE(params_.StartRadius, 29);
    Type(field, "-0.305");  // 5 characters at most: "-0.30"
    QCOMPARE(field.text(), QString("-0.30"));
    QCOMPARE(params_.StartRadius, -30);
    field.setText("-0.305");  // the program may write longer text
    QCOMPARE(params_.StartRadius, -31);
    field.setText(".");
    field.setText("-");
    QCOMPARE(params_.StartRadius, -31);
    QVERIFY(dialogs.messages.isEmpty());

    Type(field, "1.2.");
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(FieldMessage(&field), QString(kHundredthsFieldMessage));
    QCOMPARE(params_.StartRadius, 120);
    QCOMPARE(field.text(), QString("1.2."));
  }

  void fillingShowsTheValueAndNeverChangesIt() {
    NumericField field;
    int edits = 0;
    connect(&field, &NumericField::Edited, [&] { ++edits; });
    field.Bind(params_, *FindFieldRange("PercentToComplete"));
    params_.PercentToComplete = 357;
    field.Init();
    QCOMPARE(field.text(), QString("357"));
    QCOMPARE(params_.PercentToComplete, 357);
    QCOMPARE(edits, 0);
    // Typing still keeps the range.
    field.setText("250");
    QCOMPARE(params_.PercentToComplete, 100);
    const int typed = edits;
    params_.PercentToComplete = 0;
    field.Init();
    QCOMPARE(field.text(), QString("0"));
    QCOMPARE(params_.PercentToComplete, 0);
    QCOMPARE(edits, typed);
  }

  void integerDragStopsAtItsLimits() {
    params_.UseMouseToChangeValues = true;
    params_.SnapValuesBack = false;
    NumericField field;
    int value = 15;
    field.BindInteger(&value, 0, 20);
    field.Init();
    Press(&field, QPoint(5, 10));
    Drag(field, 20, true);
    QCOMPARE(value, 20);
    QCOMPARE(field.text(), QString("20"));
    // Moving inside the band does nothing.
    MoveHeld(&field, QPoint(8, 20));
    MoveHeld(&field, QPoint(9, -5));
    QCOMPARE(value, 20);
    Drag(field, 3, false);
    Release(&field, QPoint(5, 60));
    QCOMPARE(value, 17);  // no snap back
  }

  void hundredthsDragSnapsBack() {
    params_.UseMouseToChangeValues = true;
    params_.SnapValuesBack = true;
    NumericField field;
    field.Bind(params_, *FindFieldRange("StartRadius"));
    params_.StartRadius = 100;
    field.Init();
    int edits = 0;
    connect(&field, &NumericField::Edited, [&] { ++edits; });
    Press(&field, QPoint(5, 10));
    Drag(field, 20, true);
    QCOMPARE(params_.StartRadius, 140);
    QCOMPARE(field.text(), QString("1.4"));
    QVERIFY(edits >= 20);  // every step writes the text
    Release(&field, QPoint(5, -40));
    QCOMPARE(params_.StartRadius, 100);
    QCOMPARE(field.text(), QString("1"));
  }
};

QTEST_MAIN(NumericFieldTest)
#include "numeric_field_test.moc"
