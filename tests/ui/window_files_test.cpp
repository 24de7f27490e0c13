// What the window does with files and with pictures not yet saved: the Open
// dialog's choices, Open Recent, dropped files, pictures without a recipe,
// the end of "Make Frames", and "Save the picture first?".
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

#include "engine/program_state.h"
#include "settings/settings_file.h"
#include "support/ui_test_support.h"
#include "ui/animation_window.h"
#include "ui/canvas_view.h"
#include "ui/dimensions_window.h"
#include "ui/main_window.h"
#include "ui/status_panel.h"
#include "ui/window_state.h"

using namespace quorl;
using quorl::test::RecordingDialogs;
using SaveChoice = quorl::Dialogs::SaveChoice;

namespace {

QString WriteSettings(const QString& path, int steps) {
  ParameterSet p;
  p.ImageWidth = 60;
  p.ImageHeight = 50;
  p.Steps = steps;
  return quorl::test::WriteStyleFile(p, "sine", path) ? path : QString();
}

void Drop(MainWindow& window, const QString& file) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(file)});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &drop);
}

void DrawSmall(MainWindow& window) {
  window.Parameters().ImageWidth = 60;
  window.Parameters().ImageHeight = 50;
  window.Parameters().Steps = 20;
  window.Action("Draw1")->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(!window.RunInProgress(), 30000);
}

}  // namespace

class WindowFilesTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir home_;

 private slots:
  void init() {
    quorl::test::UseSettingsFolder(home_.path());
    QFile::remove(home_.filePath("quorl.ini"));
  }

  void openOffersSettingsAndPicturesAndRemembersRecentFiles() {
    RecordingDialogs dialogs;
    QTemporaryDir folder;
    QStringList files;
    for (int i = 0; i < 12; ++i)
      files << WriteSettings(folder.filePath(QString("set%1.ini").arg(i)), 100 + i);
    {
      MainWindow window;
      QVERIFY(!window.RecentMenu()->isEnabled());
      for (const QString& file : files) {
        dialogs.file_answer = file;
        window.Action("Openinifromfile1")->trigger();
      }
      // The first filter takes both kinds.
      QVERIFY(dialogs.open_requests.value(0).contains("(*.ini *.png)"));
      QCOMPARE(window.Parameters().Steps, 111);
      // Ten, newest first.
      QCOMPARE(window.RecentMenu()->actions().size(), 10);
      QCOMPARE(window.RecentMenu()->actions().first()->data().toString(), files[11]);
      QCOMPARE(window.RecentMenu()->actions().last()->data().toString(), files[2]);
      window.Exit();
    }
    // Kept across starts; a file that went away is dropped.
    QVERIFY(QFile::remove(files[10]));
    MainWindow again;
    QCOMPARE(again.RecentMenu()->actions().size(), 9);
    QCOMPARE(again.RecentMenu()->actions().value(1)->data().toString(), files[9]);
    again.RecentMenu()->actions().value(1)->trigger();
    QCOMPARE(again.Parameters().Steps, 109);
    // The settings keys of the styles are as before: the window's own state
    // has a section of its own.
    const WindowState stored = ReadWindowState(home_.filePath("quorl.ini").toStdString());
    QCOMPARE(stored.recentFiles.value(0), files[9]);
  }

  void droppedFilesOpenAndPicturesWithoutRecipeChangeNothing() {
    RecordingDialogs dialogs;
    QTemporaryDir folder;
    const QString settings = WriteSettings(folder.filePath("dropped.ini"), 4242);
    MainWindow window;
    Drop(window, settings);
    QCOMPARE(window.Parameters().Steps, 4242);
    QCOMPARE(window.StatusText(), "Loaded " + settings);

    // A sound picture that Quorl did not save.
    QImage plain(8, 8, QImage::Format_RGB888);
    plain.fill(Qt::red);
    const QString png = folder.filePath("holiday.png");
    QVERIFY(plain.save(png));
    Drop(window, png);
    QCOMPARE(dialogs.messages, QStringList{"holiday.png carries no Quorl recipe"});
    QCOMPARE(window.Parameters().Steps, 4242);
    QCOMPARE(window.StatusText(), "Loaded " + settings);
    QCOMPARE(window.Remembered().recentFiles, QStringList{settings});
  }

  void makeFramesSaysWhereTheFramesWentAndKeepsTheLastOnShow() {
    RecordingDialogs dialogs;
    QTemporaryDir folder;
    MainWindow window;
    ParameterSet& p = window.Parameters();
    p.ImageWidth = 40;
    p.ImageHeight = 30;
    p.Steps = 8;
    p.White = false;
    p.BgMaxRed = p.BgMaxGreen = p.BgMaxBlue = 0;
    p.StartMaxGreen = p.EndMaxGreen = 220;
    window.Layout().SaveDir = folder.path().toStdString() + "/";
    window.Clear();
    window.Animation()->Bar("tbFrames")->setValue(2);
    window.Animation()->MakeFramesButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.Animation()->MakingFrames(), 60000);
    QCOMPARE(window.StatusText(), "Saved 2 frames in " + folder.path());
    QToolButton* open = window.Panel()->FolderButton();
    QVERIFY(open->isVisibleTo(&window));
    open->click();
    QCOMPARE(dialogs.opened_folders, QStringList{folder.path()});

    // The last frame is on show; the grids are back at the background.
    const QStringList frames = QDir(folder.path()).entryList({"*.png"}, QDir::Files, QDir::Name);
    QCOMPARE(frames.size(), 2);
    const QImage last = QImage(folder.filePath(frames.last())).convertToFormat(QImage::Format_RGB888);
    QCOMPARE(window.Image1()->Picture().convertToFormat(QImage::Format_RGB888), last);
    QCOMPARE(window.State().canvas.Pixel(1, 20, 15), 0.0);
    // Clear shows the background again and the folder button goes.
    window.Clear();
    QVERIFY(window.Image1()->Picture().convertToFormat(QImage::Format_RGB888) != last);
    QVERIFY(!open->isVisibleTo(&window));
  }

  void anUnsavedPictureIsNeverThrownAwaySilently() {
    RecordingDialogs dialogs;
    QTemporaryDir folder;
    MainWindow window;
    window.Layout().SaveDir = folder.path().toStdString() + "/";
    QSignalSpy ending(&window, &MainWindow::ProgramEnding);
    // Nothing drawn: nothing asked.
    window.Action("Resetallcurves1")->trigger();
    QCOMPARE(dialogs.save_questions, 0);

    DrawSmall(window);
    QVERIFY(window.PictureUnsaved());
    // Cancel: Exit does nothing, and neither does Apply.
    dialogs.save_answer = SaveChoice::Cancel;
    window.Exit();
    QCOMPARE(ending.count(), 0);
    QCOMPARE(dialogs.save_questions, 1);
    DimensionsWindow* dimensions = window.findChild<DimensionsWindow*>();
    QVERIFY(dimensions);
    dimensions->findChild<QPushButton*>("Apply")->click();
    QCOMPARE(dialogs.save_questions, 2);
    QCOMPARE(window.State().canvas.CanvasWidth(), 60);
    // Save: the picture is saved and the command goes on.
    dialogs.save_answer = SaveChoice::Save;
    window.Action("Resetallcurves1")->trigger();
    QCOMPARE(dialogs.save_questions, 3);
    QCOMPARE(QDir(folder.path()).entryList({"*.png"}).size(), 1);
    QVERIFY(!window.PictureUnsaved());
    // Once per picture: a saved picture is not asked about again.
    window.Action("Resetallcurves1")->trigger();
    QCOMPARE(dialogs.save_questions, 3);

    // Discard with "do not ask again": asked this once, never after.
    DrawSmall(window);
    dialogs.save_answer = SaveChoice::Discard;
    dialogs.stop_asking_answer = true;
    window.Action("Resetallcurves1")->trigger();
    QCOMPARE(dialogs.save_questions, 4);
    DrawSmall(window);
    window.Exit();
    QCOMPARE(dialogs.save_questions, 4);
    QCOMPARE(ending.count(), 1);
    QVERIFY(!ReadWindowState(home_.filePath("quorl.ini").toStdString()).askSaveFirst);
  }

  void theMainWindowComesBackWhereItWas() {
    {
      MainWindow window;
      window.show();
      window.setGeometry(70, 80, 700, 520);
      window.Exit();
    }
    MainWindow again;
    QCOMPARE(again.size(), QSize(700, 520));
    QCOMPARE(again.geometry().topLeft(), QPoint(70, 80));
  }
};

QTEST_MAIN(WindowFilesTest)
#include "window_files_test.moc"
