// The About window's links, the status line and progress bar, the tool
// windows' stored geometry and folding, and the Function window at start.
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

#include "engine/parameter_set.h"
#include "settings/settings_file.h"
#include "ui/about_window.h"
#include "ui/function_window.h"
#include "ui/main_window.h"
#include "ui/main_window_host.h"
#include "ui/numeric_field.h"
#include "ui/status_panel.h"
#include "ui/values_window.h"
#include "ui_test_support.h"

using namespace quorl;

namespace {
QStringList g_opened;
bool RecordOpen(const QString& address) {
  g_opened << address;
  return false;  // a failing desktop handler is ignored
}
}  // namespace

class SmallWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void aboutLinksOpenOnlyFromTheirLabels() {
    SetLinkOpener(&RecordOpen);
    AboutWindow about;
    QCOMPARE(about.windowTitle(), QString("About Quorl"));
    QCOMPARE(about.size(), QSize(282, 292));
    for (const char* name : {"Label2", "Label3", "Label4", "Label7", "Label12"}) {
      auto* label = about.findChild<QLabel*>(name);
      QVERIFY(label);
      QTest::mouseClick(label, Qt::LeftButton);
    }
    QVERIFY(g_opened.isEmpty());
    QTest::mouseClick(about.Label1(), Qt::LeftButton);
    QTest::mouseClick(about.Label6(), Qt::LeftButton);
    QCOMPARE(g_opened.size(), 2);
    QVERIFY(g_opened[0].startsWith("https://"));
    QVERIFY(g_opened[1].startsWith("mailto:"));
    SetLinkOpener(nullptr);
  }

  void statusLineAndProgressBar() {
    StatusPanel panel;
    QCOMPARE(panel.height(), 36);
    panel.Spammer("first");
    panel.Spammer("second");
    QCOMPARE(panel.Message(), QString("second"));
    panel.Spammer(QString());
    QCOMPARE(panel.Message(), QString());
    panel.SetupProgressBar(1000);
    QCOMPARE(panel.ProgressBar()->maximum(), 1000);
    QCOMPARE(panel.ProgressBar()->value(), 0);
    panel.SetProgressPosition(1000);
    QCOMPARE(panel.ProgressBar()->value(), 1000);
  }

  void toolWindowsTakeTheirStoredGeometryAndFold() {
    ParameterSet p;
    p.ValuesHeight = 200;
    p.ValuesLeft = 70;
    p.ValuesTop = 80;
    p.ValuesVisible = true;
    ValuesWindow values(p);
    QCOMPARE(values.height(), 200);
    QCOMPARE(values.pos(), QPoint(70, 80));
    QVERIFY(values.isVisible());
    values.Button1Click();  // 200 is not below 51: folds
    QCOMPARE(values.height(), 50);
    values.Button1Click();
    QCOMPARE(values.height(), ValuesWindow::kFullHeight);

    ParameterSet stored;
    values.move(11, 12);
    values.StoreGeometry(stored, ValuesWindow::kGeometry);
    QCOMPARE(stored.ValuesLeft, 11);
    QCOMPARE(stored.ValuesTop, 12);
    QCOMPARE(stored.ValuesHeight, ValuesWindow::kFullHeight);
    QVERIFY(stored.ValuesVisible);
  }

  void functionWindowStartsWithLissaDeltaAtLeastOne() {
    QTemporaryDir home;
    test::UseSettingsFolder(home.path());
    ParameterSet p;
    p.LissaDelta = 0;
    p.FunctionNumber = 4;
    p.PercentToComplete = 357;
    QVERIFY(test::WriteStyleFile(p, "ellipses", home.filePath("quorl.ini")));
    MainWindow window;
    QCOMPARE(window.Parameters().CurrentStyle, std::string("ellipses"));
    QCOMPARE(window.Function()->SelectedFunction(), 4);
    QCOMPARE(window.Function()->LissaDeltaMin(), 1);
    QCOMPARE(window.Parameters().LissaDelta, 1);
    QCOMPARE(window.Function()->Field("LissaDelta")->text(), QString("1"));
    QCOMPARE(window.Parameters().PercentToComplete, 100);

    // A check box writes its parameter when clicked; "Use arctan2?" has none.
    QTest::mouseClick(window.Function()->CheckBox("cbDimmer"), Qt::LeftButton, {}, QPoint(5, 8));
    QVERIFY(window.Parameters().UseDimmer);
    QTest::mouseClick(window.Function()->CheckBox("cbUseArctan2"), Qt::LeftButton, {}, QPoint(5, 8));
    QVERIFY(window.Function()->UseArctan2());
  }

  void aRepeatedMessageIsShownOncePerRun() {
    QTemporaryDir home;
    test::UseSettingsFolder(home.path());
    test::RecordingDialogs dialogs;
    MainWindow window;
    MainWindowHost host(window);
    host.BeginRun();
    for (int step = 0; step < 1000; ++step) host.ShowMessage("conversion failed");
    host.ShowMessage("another failure");
    QCOMPARE(dialogs.messages, (QStringList{"conversion failed", "another failure"}));
    host.EndRun();
    host.ShowMessage("conversion failed");  // outside a run every box is shown
    host.BeginRun();
    host.ShowMessage("conversion failed");  // and each run may show it once
    QCOMPARE(dialogs.messages.size(), 4);
  }
};

QTEST_MAIN(SmallWindowsTest)
#include "small_windows_test.moc"
