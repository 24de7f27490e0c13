// The Source image and Background Image windows: the messages of a failed
// load, which keeps the picture they had.
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

#include "engine/program_state.h"
#include "recording_commands.h"
#include "services/image_loading.h"
#include "support/ui_test_support.h"
#include "ui/background_image_window.h"
#include "ui/picture_preview.h"
#include "ui/source_image_window.h"

using namespace quorl;
using quorl::test::RecordingCommands;
using quorl::test::RecordingDialogs;

class PictureWindowsTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir folder_;

 private slots:
  void initTestCase() { QVERIFY(folder_.isValid()); }

  void failedLoadsSayWhyAndKeepThePicture() {
    RecordingDialogs dialogs;
    ProgramState state;
    RecordingCommands commands(state);
    SourceImageWindow source(state, commands);
    BackgroundImageWindow background(state, commands, nullptr);

    const QString gif = folder_.filePath("picture.gif");
    std::ofstream(gif.toStdString()) << "GIF89a";
    const QString cut = folder_.filePath("cut.png");
    std::ofstream(cut.toStdString()) << "\x89PNG\r\n";

    for (const QString& path : {gif, cut}) {
      dialogs.messages.clear();
      commands.status.clear();
      QVERIFY(!source.LoadSourceImage(path.toStdString()));
      QVERIFY(!background.LoadBackgroundImage(path.toStdString()));
      QCOMPARE(commands.status, (QStringList{kUnableSourceMessage + path, kUnableBackgroundMessage + path}));
      QCOMPARE(dialogs.messages.size(), 2);
      QVERIFY(dialogs.messages[0].startsWith(kProblemMessage));
    }
    QVERIFY(!state.source.Loaded());
    QVERIFY(!state.params.UseSourceImage);
    QCOMPARE(state.params.SourceImageFileName, std::string());
    QCOMPARE(source.Preview()->Caption(), QString(PicturePreview::kNoImageCaption));
    QCOMPARE(background.Preview()->Caption(), QString(PicturePreview::kNoImageCaption));

    // A missing file: the warning first.
    dialogs.messages.clear();
    const QString missing = folder_.filePath("gone.png");
    QVERIFY(!source.LoadSourceImage(missing.toStdString()));
    QCOMPARE(dialogs.messages.value(0), "file: \n" + missing + "  does not exist");
  }
};

QTEST_MAIN(PictureWindowsTest)
#include "picture_windows_test.moc"
