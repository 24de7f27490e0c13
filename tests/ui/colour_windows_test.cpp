// The Colors, Opacity and Image dimensions windows: what their controls
// write, what Init shows, and the canvas commands they trigger.
#include <QtTest>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "engine/program_state.h"
#include "ui/colors_window.h"
#include "ui/dimensions_window.h"
#include "ui/numeric_field.h"
#include "ui/opacity_window.h"
#include "recording_commands.h"
#include "ui_test_support.h"

using namespace quorl;
using quorl::test::RecordingCommands;
using quorl::test::RecordingDialogs;

class ColourWindowsTest : public QObject {
  Q_OBJECT

 private:
  template <typename T>
  static T* Child(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromUtf8(name));
    if (!child) qFatal("no control %s", name);
    return child;
  }
  static QColor Background(QLabel* label) { return label->palette().color(QPalette::Window); }
  static QColor Caption(QLabel* label) { return label->palette().color(QPalette::WindowText); }

 private slots:
  void colourBarsWriteTheirParameterAndSwatchButNotTheCanvas() {
    ProgramState state;
    state.params.ImageWidth = state.params.ImageHeight = 4;
    RecordingCommands commands(state);
    ColorsWindow window(state, commands);

    QSlider* red = window.Bar("BgMaxRed");
    red->setValue(10);
    QCOMPARE(state.params.BgMaxRed, 10);
    QCOMPARE(window.ValueLabel("BgMaxRed")->text(), QString("10"));
    QCOMPARE(Background(window.SwatchLabel(ColorsWindow::Swatch::Bg)), QColor(10, 255, 255));
    QCOMPARE(state.canvas.Pixel(0, 1, 1), 255.0);  // not repainted yet
    QCOMPARE(commands.resets, 0);

    Child<QPushButton>(window, "Button2")->click();  // "Set"
    QCOMPARE(commands.resets, 1);
    QCOMPARE(state.canvas.Pixel(0, 1, 1), 10.0);

    // The end swatch follows the end bars only.
    window.Bar("EndMaxGreen")->setValue(200);
    QCOMPARE(Background(window.SwatchLabel(ColorsWindow::Swatch::End)), QColor(0, 200, 255));
    QCOMPARE(Background(window.SwatchLabel(ColorsWindow::Swatch::Start)), QColor(255, 0, 0));
  }

  void swatchCaptionContrastsWithTheColour() {
    ProgramState state;
    RecordingCommands commands(state);
    ColorsWindow window(state, commands);
    QLabel* start = window.SwatchLabel(ColorsWindow::Swatch::Start);
    QCOMPARE(start->text(), QString("\nStart\nColor"));
    for (const char* key : {"StartMaxRed", "StartMaxGreen", "StartMaxBlue"}) window.Bar(key)->setValue(255);
    QCOMPARE(Caption(start), QColor(0, 0, 0));
    for (const char* key : {"StartMaxRed", "StartMaxGreen", "StartMaxBlue"}) window.Bar(key)->setValue(0);
    QCOMPARE(Caption(start), QColor(255, 255, 255));
    // (100 + 0 + 51) / 3 = 50.33 rounds to 50.
    window.Bar("StartMaxRed")->setValue(100);
    window.Bar("StartMaxBlue")->setValue(51);
    QCOMPARE(Caption(start), QColor(205, 205, 205));
  }

  void addSubtractAndBestGuessAreOneChoice() {
    ProgramState state;
    RecordingCommands commands(state);
    ColorsWindow window(state, commands);
    QVERIFY(Child<QRadioButton>(window, "rbColorSubtract")->isChecked());  // White by default

    Child<QRadioButton>(window, "cbBestGuess")->click();
    QCOMPARE(state.params.White, false);
    QCOMPARE(state.params.BestGuess, true);
    Child<QRadioButton>(window, "rbColorSubtract")->click();
    QCOMPARE(state.params.White, true);
    QCOMPARE(state.params.BestGuess, false);
    Child<QRadioButton>(window, "rbColorAdd")->click();
    QCOMPARE(state.params.White, false);
    QCOMPARE(state.params.BestGuess, false);
  }

  void method063OnlyWithAlternativeColoring() {
    ProgramState state;
    RecordingCommands commands(state);
    ColorsWindow window(state, commands);
    auto* newColor = Child<QCheckBox>(window, "cbNewColor");
    auto* oneOrTwo = Child<QCheckBox>(window, "cbOneOrTwo");
    oneOrTwo->click();
    QCOMPARE(state.params.OneOrTwo, false);
    newColor->click();
    QCOMPARE(state.params.NewColor, true);
    oneOrTwo->click();
    QCOMPARE(state.params.OneOrTwo, true);
    newColor->click();
    QVERIFY(!oneOrTwo->isEnabled());
    QCOMPARE(state.params.OneOrTwo, true);  // left as it was
  }

  void initShowsEveryParameter() {
    ProgramState state;
    RecordingCommands commands(state);
    ColorsWindow window(state, commands);
    // As after a settings read.
    state.params.BgMaxGreen = 300;
    state.params.StartMaxBlue = 77;
    state.params.BestGuess = true;
    state.params.NewColor = true;
    state.params.ABA = true;
    state.params.ThetaColorMultiplier = -30;
    state.params.StartAmount = 250;
    window.Init();
    QCOMPARE(window.Bar("BgMaxGreen")->value(), 255);
    QCOMPARE(state.params.BgMaxGreen, 255);  // the bar keeps it in range
    QCOMPARE(window.ValueLabel("StartMaxBlue")->text(), QString("77"));
    QCOMPARE(Background(window.SwatchLabel(ColorsWindow::Swatch::Start)), QColor(255, 0, 77));
    QVERIFY(Child<QRadioButton>(window, "cbBestGuess")->isChecked());
    QVERIFY(Child<QCheckBox>(window, "cbNewColor")->isChecked());
    QVERIFY(Child<QCheckBox>(window, "cbOneOrTwo")->isEnabled());
    QVERIFY(Child<QCheckBox>(window, "cbABA")->isChecked());
    QCOMPARE(window.Field("ThetaColorMultiplier")->text(), QString("-20"));
    QCOMPARE(state.params.ThetaColorMultiplier, -20);
    QCOMPARE(window.Field("StartAmount")->text(), QString("2.5"));

    // Typing an amount stores hundredths.
    window.Field("EndAmount")->setText("0.6");
    QCOMPARE(state.params.EndAmount, 60);
  }

  void opacityShowsItsParameter() {
    ProgramState state;
    QCOMPARE(state.params.Opacity, 27);
    OpacityWindow window(state);
    QCOMPARE(window.Bar()->value(), 27);
    QCOMPARE(window.Label()->text(), QString("27%"));
    window.Bar()->setValue(80);
    QCOMPARE(state.params.Opacity, 80);
    QCOMPARE(window.Label()->text(), QString("80%"));
    state.params.Opacity = 0;  // from a settings file
    window.Init();
    QCOMPARE(window.Bar()->value(), 1);
    QCOMPARE(state.params.Opacity, 1);

    window.show();
    Child<QPushButton>(window, "OpacityCloseButton")->click();
    QVERIFY(!window.isVisible());
  }

  void dimensionsApplyOnlyThroughApply() {
    RecordingDialogs dialogs;
    ProgramState state;
    state.params.ImageWidth = 40;
    state.params.ImageHeight = 30;
    RecordingCommands commands(state);
    DimensionsWindow window(state, commands);
    QCOMPARE(window.WidthField()->text(), QString("40"));
    QCOMPARE(window.HeightField()->text(), QString("30"));

    window.WidthField()->setText("7000");  // beyond the field's range
    QCOMPARE(window.PendingImageWidth(), 6000);
    QCOMPARE(window.WidthField()->text(), QString("6000"));
    QCOMPARE(state.params.ImageWidth, 40);

    // "Reset fields" shows the canvas again and changes nothing.
    Child<QPushButton>(window, "btnResetFields")->click();
    QCOMPARE(window.WidthField()->text(), QString("40"));
    QCOMPARE(window.PendingImageWidth(), 40);
    QCOMPARE(commands.clears, 0);

    window.WidthField()->setText("100");
    window.HeightField()->setText("50");
    window.show();
    Child<QPushButton>(window, "Apply")->click();
    QCOMPARE(state.params.ImageWidth, 100);
    QCOMPARE(state.params.ImageHeight, 50);
    QCOMPARE(commands.clears, 1);
    QCOMPARE(state.canvas.CanvasWidth(), 100);
    QCOMPARE(state.canvas.CanvasHeight(), 50);
    QVERIFY(!window.isVisible());
    QVERIFY(dialogs.messages.isEmpty());
  }
};

QTEST_MAIN(ColourWindowsTest)
#include "colour_windows_test.moc"
