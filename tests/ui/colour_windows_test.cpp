// The Colors window: its bars write their parameter and swatch, and only
// "Set" repaints the canvas.
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

#include "engine/program_state.h"
#include "recording_commands.h"
#include "support/ui_test_support.h"
#include "ui/colors_window.h"

using namespace quorl;
using quorl::test::RecordingCommands;

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

  void clickingASwatchOpensTheColourDialogAndMovesTheBars() {
    quorl::test::RecordingDialogs dialogs;
    ProgramState state;
    RecordingCommands commands(state);
    ColorsWindow window(state, commands);
    window.Bar("StartMaxGreen")->setValue(40);
    QLabel* start = window.SwatchLabel(ColorsWindow::Swatch::Start);

    dialogs.colour_answer = QColor(12, 34, 56);
    QTest::mouseClick(start, Qt::LeftButton);
    QCOMPARE(dialogs.colour_requests, QList<QColor>{QColor(255, 40, 0)});
    QCOMPARE(state.params.StartMaxRed, 12);
    QCOMPARE(state.params.StartMaxGreen, 34);
    QCOMPARE(state.params.StartMaxBlue, 56);
    QCOMPARE(window.Bar("StartMaxBlue")->value(), 56);
    QCOMPARE(window.ValueLabel("StartMaxRed")->text(), QString("12"));
    QCOMPARE(Background(start), QColor(12, 34, 56));
    // The other colours are left alone.
    QCOMPARE(state.params.EndMaxRed, 0);

    // Cancel changes nothing.
    dialogs.colour_answer = QColor();
    QTest::mouseClick(window.SwatchLabel(ColorsWindow::Swatch::Bg), Qt::LeftButton);
    QCOMPARE(dialogs.colour_requests.size(), 2);
    QCOMPARE(dialogs.colour_requests.last(), QColor(255, 255, 255));
    QCOMPARE(state.params.BgMaxRed, 255);
  }
};

QTEST_MAIN(ColourWindowsTest)
#include "colour_windows_test.moc"
