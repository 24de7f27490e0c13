// The main window: start, menus, Draw/Stop/Clear on the worker, styles,
// "Open .ini file" with curves and the exit sequence.
#include "ui/main_window.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "curves/curve_file_names.h"
#include "engine/program_state.h"
#include "settings/settings_file.h"
#include "support/ui_test_support.h"
#include "ui/canvas_view.h"
#include "ui/function_window.h"
#include "ui/numeric_field.h"
#include "ui/values_window.h"

using namespace quorl;
using quorl::test::RecordingDialogs;

namespace {

QString ReadText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

// Every pixel of the picture has this colour.
bool AllPixels(const QImage& picture, QRgb colour) {
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (picture.pixel(x, y) != colour) return false;
  return true;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir home_;
  QString settings_;

  // A small, quick picture for the run tests.
  static void SmallPicture(ParameterSet& p, int steps) {
    p.ImageWidth = 120;
    p.ImageHeight = 100;
    p.Steps = steps;
  }

 private slots:
  void initTestCase() {
    QVERIFY(home_.isValid());
    settings_ = home_.filePath("quorl.ini");
    quorl::test::UseSettingsFolder(home_.path());
  }
  void init() { QFile::remove(settings_); }

  void startsWithHelloAndTheDefaults() {
    MainWindow window;
    QCOMPARE(window.windowTitle(), QString("Quorl236"));
    QCOMPARE(window.size(), QSize(633, 550));
    QCOMPARE(window.StatusText(), QString("Hello"));
    QVERIFY(window.FormsReady());
    QCOMPARE(window.Parameters().CurrentStyle, std::string("sine"));
    // The default 357 is clamped by the Values window as it fills its fields.
    QCOMPARE(window.Parameters().PercentToComplete, 100);
    QCOMPARE(window.Values()->Field("PercentToComplete")->text(), QString("100"));
    QCOMPARE(window.Parameters().GrainMultiplier, 357);
    QVERIFY(!window.Values()->isVisible());
    // The canvas is cleared to the white background at its stored size.
    const QImage picture = window.Image1()->Picture();
    QCOMPARE(picture.size(), QSize(800, 800));
    QCOMPARE(picture.pixel(400, 400), qRgb(255, 255, 255));
  }

  void menusFollowTheTable() {
    MainWindow window;
    QStringList menus;
    for (QAction* menu : window.menuBar()->actions()) menus << menu->text();
    QCOMPARE(menus, (QStringList{"File", "Edit", "Quorl", "Options", "Help"}));
    QStringList quorl;
    for (QAction* item : window.menuBar()->actions()[2]->menu()->actions())
      quorl << (item->isSeparator() ? QString("-") : item->text() + "=" + item->shortcut().toString());
    QCOMPARE(quorl, (QStringList{"Draw=D", "Stop=Esc", "Clear=C", "-", "Draw each step?=E", "Preview=P", "-",
                                 "Use transparency?=", "Set opacity=", "-", "Toggle zoom=Ctrl+F",
                                 "Zoom in=Ctrl++", "Zoom out=Ctrl+-", "Fit to window=Ctrl+0",
                                 "Actual size=Ctrl+1", "Set canvas as background=Ctrl+B"}));
    QVERIFY(!window.Action("Stop1")->isEnabled());
    QVERIFY(window.Action("Draw1")->isEnabled());
    QVERIFY(!window.Action("Setrotationpoints1")->isVisible());
    QVERIFY(window.Action("Setrotationpoints1")->isChecked());
    QCOMPARE(window.Action("AnimationPoints1")->text(), QString("Animation Points "));
    QCOMPARE(window.Action("Usewobble1")->text(), QString("Use \"wobble\"?"));
  }

  void drawStopAndClear() {
    RecordingDialogs dialogs;
    MainWindow window;
    ParameterSet& p = window.Parameters();
    SmallPicture(p, 60000);
    p.StartGrain = p.EndGrain = 50;
    window.Action("Draw1")->trigger();
    QVERIFY(window.RunInProgress());
    QVERIFY(window.Action("Stop1")->isEnabled());
    QVERIFY(!window.Action("Draw1")->isEnabled());
    QCOMPARE(window.StatusText(), QString("Drawing..."));
    // Edits reach the run between steps, and the window keeps answering.
    QTRY_VERIFY(window.Image1()->Picture().size() == QSize(120, 100));
    QTest::qWait(200);
    window.Action("Stop1")->trigger();
    QCOMPARE(window.StatusText(), QString("Stopping drawing..."));
    QTRY_VERIFY_WITH_TIMEOUT(!window.RunInProgress(), 20000);
    QCOMPARE(window.StatusText(), QString("Finished"));
    QVERIFY(window.Action("Draw1")->isEnabled());
    QVERIFY(!window.Action("Stop1")->isEnabled());
    // Stopped early, and something was drawn.
    QVERIFY(!AllPixels(window.Image1()->Picture(), qRgb(255, 255, 255)));

    window.Action("Clear1")->trigger();
    QCOMPARE(window.StatusText(), QString("Cleared"));
    QVERIFY(AllPixels(window.Image1()->Picture(), qRgb(255, 255, 255)));
    // Clear writes the settings.
    QVERIFY(ReadText(settings_).contains("Steps=60000"));
    QVERIFY(dialogs.messages.isEmpty());
  }

  void styleSwitchKeepsEachStylesValues() {
    MainWindow window;
    FunctionWindow* function = window.Function();
    NumericField* radius = window.Values()->Field("StartRadius");
    radius->setText("1.37");  // typed just before the switch
    QCOMPARE(window.Parameters().StartRadius, 137);
    window.Parameters().LissaDelta = 7;
    function->SelectFunction(3);  // circles
    QCOMPARE(window.Parameters().CurrentStyle, std::string("circles"));
    QCOMPARE(window.Parameters().FunctionNumber, 3);
    QCOMPARE(window.Parameters().StartRadius, 100);
    QCOMPARE(radius->text(), QString("1"));
    window.Parameters().StartRadius = 555;
    function->SelectFunction(0);  // back to sine
    QCOMPARE(window.Parameters().StartRadius, 137);
    QCOMPARE(radius->text(), QString("1.37"));
    QCOMPARE(window.Parameters().LissaDelta, 7);
    QCOMPARE(ReadIniCurrentStyle(std::string()), std::string("sine"));
    function->SelectFunction(3);
    QCOMPARE(window.Parameters().StartRadius, 555);
  }

  void openIniFileLoadsTheSetAndItsCurves() {
    RecordingDialogs dialogs;
    QTemporaryDir folder;
    const QString saved = folder.filePath("quorl20240131_14_05_09__123.ini");
    {
      ParameterSet p;
      p.Steps = 4321;
      p.StartRadius = 250;
      p.LissaDelta = 9;
      QVERIFY(quorl::test::WriteStyleFile(p, "lissajous", saved));
      QFile curve(QString::fromStdString(SettingsCurveFileName(saved.toStdString(), 3)));
      QVERIFY(curve.open(QIODevice::WriteOnly));
      curve.write("0\r\n0.5\r\n0.25\r\n0.5\r\n0.5\r\n0.5\r\n0.75\r\n0.5\r\n1\r\n0.5\r\n");
    }
    MainWindow window;
    window.State().curves[kBumpsSlot].Curve.AddPoint(1, 1);  // reset by the load
    dialogs.file_answer = saved;
    window.Action("Openinifromfile1")->trigger();
    QVERIFY(dialogs.open_requests.value(0).startsWith("Load an Quorl initialisation file|"));
    QCOMPARE(window.StatusText(), "Loaded " + saved);
    QCOMPARE(window.Parameters().CurrentStyle, std::string("lissajous"));
    QCOMPARE(window.Parameters().Steps, 4321);
    QCOMPARE(window.Values()->Field("StartRadius")->text(), QString("2.5"));
    QCOMPARE(window.Layout().LoadDir, folder.path().toStdString() + "/");
    QCOMPARE(window.State().curves[kRadiusSlot].Curve.GetLength(), 5);
    QCOMPARE(window.State().curves[kBumpsSlot].Curve.GetLength(), 0);
    // Not yet the program's own style; the exit makes it so.
    QCOMPARE(ReadIniCurrentStyle(std::string()), std::string("sine"));
    window.Exit();
    QCOMPARE(ReadIniCurrentStyle(std::string()), std::string("lissajous"));
    QVERIFY(ReadText(settings_).contains("[lissajous]"));

    dialogs.file_answer.clear();  // cancel changes nothing
    window.Parameters().Steps = 5;
    window.OpenSettingsFile();
    QCOMPARE(window.Parameters().Steps, 5);
  }

  void openIniFileTakesAPictureThatCarriesItsSettings() {
    RecordingDialogs dialogs;
    QTemporaryDir folder;
    QString png;
    {
      MainWindow source;
      source.Parameters().Steps = 77;
      source.Layout().SaveDir = folder.path().toStdString() + "/";
      for (int i = 0; i < 5; ++i) source.State().curves[kAngleSlot].Curve.AddPoint(i * 0.5 - 1, 0.25);
      QVERIFY(source.Action("Keepsettingsinsidesavedpictures1")->isChecked());
      source.Action("Savequorlpicture2")->trigger();
      QVERIFY(source.StatusText().startsWith("Saved "));
      png = source.StatusText().mid(6);
    }
    // Without the settings files beside it: the picture alone is enough.
    for (const QString& name : QDir(folder.path()).entryList({"*.ini", "*.curve"}))
      QFile::remove(folder.filePath(name));
    MainWindow window;
    dialogs.file_answer = png;
    window.Action("Openinifromfile1")->trigger();
    QCOMPARE(window.StatusText(), "Loaded " + png);
    QCOMPARE(window.Parameters().Steps, 77);
    QCOMPARE(window.State().curves[kAngleSlot].Curve.GetLength(), 5);
    QCOMPARE(window.Layout().LoadDir, folder.path().toStdString() + "/");

    // A picture that carries no settings is refused with a message.
    QFile plain(folder.filePath("plain.png"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write(QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(40, 'x'));
    plain.close();
    dialogs.file_answer = plain.fileName();
    window.OpenSettingsFile();
    QVERIFY(dialogs.messages.value(0).startsWith("OpenSettingsFile: "));
    QCOMPARE(window.Parameters().Steps, 77);
  }

  void exitWritesTheSettings() {
    MainWindow window;
    QSignalSpy ending(&window, &MainWindow::ProgramEnding);
    window.Parameters().Steps = 777;
    window.Values()->move(30, 40);
    window.Values()->show();
    window.Action("Exit1")->trigger();
    QCOMPARE(ending.count(), 1);
    QCOMPARE(window.StatusText(), QString("Exiting"));
    const QString text = ReadText(settings_);
    QVERIFY(text.contains("[start]"));
    QVERIFY(text.contains("[sine]"));
    QVERIFY(text.contains("Steps=777"));
    QVERIFY(text.contains("ValuesVisible=1"));
    QVERIFY(text.contains("ValuesLeft=30"));
    // Closing the window afterwards does not write again.
    QFile::remove(settings_);
    window.close();
    QVERIFY(!QFile::exists(settings_));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
