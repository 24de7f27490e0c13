// The picture the window draws equals what `quorl render` makes of the same
// settings file; also leaves a screenshot of the window for a look.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "base/host.h"
#include "settings/parameter_set.h"
#include "settings/settings_file.h"
#include "support/ui_test_support.h"
#include "ui/canvas_view.h"
#include "ui/function_window.h"
#include "ui/main_window.h"
#include "ui/values_window.h"

using namespace quorl;

class WindowPictureTest : public QObject {
  Q_OBJECT

 private slots:
  void windowDrawsWhatRenderDraws() {
    QTemporaryDir home;
    QVERIFY(home.isValid());
    test::UseSettingsFolder(home.path());

    const QString settings = home.filePath("scene.ini");
    {
      ParameterSet p;
      p.ImageWidth = 240;
      p.ImageHeight = 180;
      p.Steps = 300;
      p.StartBumps = 5;
      p.EndBumps = 9;
      p.StartIota = 0;
      p.EndIota = 720;
      p.StartGrain = p.EndGrain = 20;
      QVERIFY(test::WriteStyleFile(p, "circles", settings));
    }

    test::RecordingDialogs dialogs;
    MainWindow window;
    window.show();
    dialogs.file_answer = settings;
    window.OpenSettingsFile();
    window.Action("Draw1")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!window.RunInProgress(), 60000);
    QCOMPARE(window.StatusText(), QString("Finished"));
    const QImage drawn = window.Image1()->Picture().convertToFormat(QImage::Format_RGB888);
    QCOMPARE(drawn.size(), QSize(240, 180));
    const QDir build = QFileInfo(QStringLiteral(QUORL_BINARY)).absoluteDir();
    window.grab().save(build.filePath("window_picture_test.png"));
    window.Values()->grab().save(build.filePath("window_picture_values.png"));
    window.Function()->grab().save(build.filePath("window_picture_function.png"));

    const QString rendered = home.filePath("rendered.png");
    QProcess render;
    render.start(QStringLiteral(QUORL_BINARY), {"render", settings, "-o", rendered});
    QVERIFY(render.waitForFinished(120000));
    QCOMPARE(render.exitCode(), 0);
    const QImage expected = QImage(rendered).convertToFormat(QImage::Format_RGB888);
    QCOMPARE(expected.size(), drawn.size());
    QVERIFY(expected == drawn);
    QVERIFY(dialogs.messages.isEmpty());
  }
};

QTEST_MAIN(WindowPictureTest)
#include "window_picture_test.moc"
