// A message repeated during a run is shown once per run.
#include <QTemporaryDir>
#include <QtTest>

#include "support/ui_test_support.h"
#include "ui/main_window.h"
#include "ui/main_window_host.h"

using namespace quorl;

class SmallWindowsTest : public QObject {
  Q_OBJECT

 private slots:
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
