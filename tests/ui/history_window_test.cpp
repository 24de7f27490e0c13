// Undo, Redo and the History window in the main window; canvas state files
// opened and saved from the window; the recovery question after a session
// that did not end cleanly.
#include "ui/history_window.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "base/paths.h"
#include "engine/program_state.h"
#include "services/autosave.h"
#include "services/recovery_offer.h"
#include "settings/ini_file.h"
#include "settings/parameter_record.h"
#include "support/ui_test_support.h"
#include "ui/history_controller.h"
#include "ui/main_window.h"
#include "ui/numeric_field.h"
#include "ui/values_window.h"
#include "ui/variations_window.h"

using namespace quorl;
using quorl::test::RecordingDialogs;

namespace {

int Steps(MainWindow& window) {
  return static_cast<int>(window.History()->History().Entries().size());
}

QString CurrentDescription(MainWindow& window) {
  RecipeHistory& history = window.History()->History();
  const HistoryEntry* entry = history.Find(history.Current());
  return entry ? QString::fromStdString(entry->description) : QString();
}

bool RunQuorl(const QStringList& arguments) {
  QProcess quorl;
  quorl.start(QStringLiteral(QUORL_BINARY), arguments);
  return quorl.waitForFinished(120000) && quorl.exitStatus() == QProcess::NormalExit && quorl.exitCode() == 0;
}

QImage Rgb(const QImage& image) {
  return image.convertToFormat(QImage::Format_RGB32);
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// A session marker left by a process that is gone.
void LeaveStaleSession() {
  WriteBytes(QString::fromStdString(ProgramStateFolder() + "session.lock"), "2147483000\n");
}

QDir BuildFolder() {
  return QFileInfo(QStringLiteral(QUORL_BINARY)).absoluteDir();
}

const QString kScene = QStringLiteral(QUORL_SOURCE_DIR "/tests/data/golden/sine_curves.ini");

void DrawToTheEnd(MainWindow& window) {
  window.Action("Draw1")->trigger();
  QVERIFY(window.RunInProgress());
  QVERIFY(QTest::qWaitFor([&] { return !window.RunInProgress(); }, 120000));
}

}  // namespace

class HistoryWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    home_ = std::make_unique<QTemporaryDir>();
    quorl::test::UseSettingsFolder(home_->path());
  }

  void aSliderDragAndATypedNumberAreOneStepEachAndUndoRedoWalksThem() {
    RecordingDialogs dialogs;
    MainWindow window;
    ParameterSet& p = window.Parameters();
    const int opacityBefore = p.Opacity;
    const int radiusBefore = p.StartRadius;
    const int start = Steps(window);
    QCOMPARE(start, 1);  // the recipe the program started with

    // A drag: pressed, many values, released.
    auto* slider = window.findChild<QSlider*>(QStringLiteral("tbOpacity"));
    QVERIFY(slider);
    quorl::test::Press(slider, QPoint(2, slider->height() / 2));
    for (int v : {31, 40, 52, 66}) slider->setValue(v);
    quorl::test::Release(slider, QPoint(60, slider->height() / 2));
    QCoreApplication::processEvents();
    QCOMPARE(p.Opacity, 66);
    QCOMPARE(Steps(window), start + 1);

    // A typed number: one step when it is committed, not one per key.
    NumericField* radius = window.Values()->Field("StartRadius");
    radius->setFocus();
    radius->selectAll();
    QTest::keyClicks(radius, "3.5");
    QCoreApplication::processEvents();
    QCOMPARE(Steps(window), start + 1);
    QTest::keyClick(radius, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(Steps(window), start + 2);
    const int radiusAfter = p.StartRadius;
    QVERIFY(radiusAfter != radiusBefore);
    QVERIFY2(CurrentDescription(window).startsWith("Start radius"), qPrintable(CurrentDescription(window)));
    const QString typed = radius->text();

    // The menu says what Undo takes back.
    QVERIFY2(window.Action("Undocurveedit1")->text().startsWith("Undo Start radius"),
             qPrintable(window.Action("Undocurveedit1")->text()));
    QCOMPARE(window.Action("Redo1")->text(), QString("Redo"));
    window.Action("Undocurveedit1")->trigger();  // Ctrl+Z
    QCOMPARE(p.StartRadius, radiusBefore);
    QVERIFY2(window.Action("Redo1")->text().startsWith("Redo Start radius"),
             qPrintable(window.Action("Redo1")->text()));
    QCOMPARE(p.Opacity, 66);
    QVERIFY(radius->text() != typed);  // the field shows the value put back
    QVERIFY2(window.StatusText().startsWith("Undone: Start radius"), qPrintable(window.StatusText()));
    window.Action("Undocurveedit1")->trigger();
    QCOMPARE(p.Opacity, opacityBefore);
    QCOMPARE(slider->value(), opacityBefore);
    window.Action("Undocurveedit1")->trigger();  // nothing before the start
    QVERIFY2(window.StatusText().startsWith("Nothing to undo"), qPrintable(window.StatusText()));
    window.Action("Redo1")->trigger();
    window.Action("Redo1")->trigger();
    QCOMPARE(p.Opacity, 66);
    QCOMPARE(slider->value(), 66);
    QCOMPARE(p.StartRadius, radiusAfter);
    QCOMPARE(radius->text(), typed);
    QCOMPARE(Steps(window), start + 2);  // walking records nothing

    QCOMPARE(window.Action("Undocurveedit1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    QVERIFY(window.Action("Redo1")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    QVERIFY(window.Action("Redo1")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
  }

  void ctrlZInANumberFieldOfAToolWindowUndoesTheWholeNumber() {
    RecordingDialogs dialogs;
    MainWindow window;
    ParameterSet& p = window.Parameters();
    const int before = p.StartRadius;
    const int start = Steps(window);
    ValuesWindow* values = window.Values();
    values->show();
    values->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(values));
    NumericField* radius = values->Field("StartRadius");
    radius->setFocus();
    radius->selectAll();
    QTest::keyClicks(radius, "4.25");
    const int typed = p.StartRadius;
    QVERIFY(typed != before);
    // Not committed yet: Ctrl+Z records it as a step and takes it back.
    QTest::keyClick(radius, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(p.StartRadius, before);
    QCOMPARE(Steps(window), start + 1);
    QVERIFY2(window.StatusText().startsWith("Undone: Start radius"), qPrintable(window.StatusText()));
    QCOMPARE(radius->text(), window.Values()->Field("StartRadius")->text());
    QTest::keyClick(radius, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(p.StartRadius, typed);
    QCOMPARE(radius->text(), QString("4.25"));
    QTest::keyClick(radius, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // nothing to redo
    QCOMPARE(p.StartRadius, typed);
  }

  void aCheckBoxAndAnOpenedFileAreStepsAndClearIsNone() {
    RecordingDialogs dialogs;
    QTemporaryDir folder;
    MainWindow window;
    ParameterSet& p = window.Parameters();
    const ParameterSet before = p;
    const int start = Steps(window);

    auto* box = window.findChild<QCheckBox*>(QStringLiteral("cbWobble"));
    if (!box) box = window.findChildren<QCheckBox*>().value(1);
    QVERIFY(box);
    const QString boxName = box->objectName();
    const bool was = box->isChecked();
    QTest::mouseClick(box, Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(box->isChecked(), !was);
    QCOMPARE(Steps(window), start + 1);

    // Clear empties the canvas; the recipe, and so the history, stays.
    window.Action("Clear1")->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(Steps(window), start + 1);

    // Opening a settings file is one step, undone as a whole.
    ParameterSet other;
    other.Steps = 345;
    other.StartRadius = 7700;
    const QString file = folder.filePath("other.ini");
    QVERIFY(quorl::test::WriteStyleFile(other, "sine", file));
    dialogs.file_answer = file;
    window.Action("Openinifromfile1")->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(p.Steps, 345);
    QCOMPARE(Steps(window), start + 2);

    window.Action("Undocurveedit1")->trigger();
    QCOMPARE(p.Steps, before.Steps);
    QCOMPARE(p.StartRadius, before.StartRadius);
    QCOMPARE(window.findChild<QCheckBox*>(boxName)->isChecked(), !was);
    window.Action("Undocurveedit1")->trigger();
    QCOMPARE(window.findChild<QCheckBox*>(boxName)->isChecked(), was);
    QVERIFY(dialogs.messages.isEmpty());
  }

  void aVariationTakenIsOneStepUndoneAsAWhole() {
    RecordingDialogs dialogs;
    MainWindow window;
    ParameterSet& p = window.Parameters();
    p.ImageWidth = 120;
    p.ImageHeight = 90;
    p.Steps = 60;
    window.History()->RecordIfChanged();
    const ParameterSet before = p;
    const int start = Steps(window);
    VariationsWindow variations(window, &window);
    QSignalSpy drawn(&variations, &VariationsWindow::PicturesDrawn);
    variations.MakeNeighbours();
    QVERIFY(drawn.wait(20000));
    const ParameterSet chosen = variations.Neighbours()[3].params;
    QTest::mouseClick(variations.Tile(3), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(p.StartRadius, chosen.StartRadius);
    QCOMPARE(Steps(window), start + 1);
    window.Action("Undocurveedit1")->trigger();
    QVERIFY(ChangedParameters(before, p).empty());
    QCOMPARE(window.Values()->Field("StartBumps")->text(), QString::number(before.StartBumps));
  }

  void aLoadedSourcePictureIsOneStep() {
    RecordingDialogs dialogs;
    MainWindow window;
    const std::string before = window.Parameters().SourceImageFileName;
    const int start = Steps(window);
    auto* load = window.findChild<QPushButton*>(QStringLiteral("btnLoadSourceImage"));
    QVERIFY(load);
    dialogs.file_answer = QStringLiteral(QUORL_SOURCE_DIR "/tests/data/golden/sine_curves.png");
    QTest::mouseClick(load, Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(window.Parameters().SourceImageFileName, dialogs.file_answer.toStdString());
    QCOMPARE(Steps(window), start + 1);
    QVERIFY(window.State().source.Loaded());
    window.Action("Undocurveedit1")->trigger();
    QCOMPARE(window.Parameters().SourceImageFileName, before);
    QVERIFY(!window.State().source.Loaded());  // the picture goes with its step
    window.Action("Redo1")->trigger();
    QVERIFY(window.State().source.Loaded());
    QCOMPARE(Steps(window), start + 1);
    QVERIFY(dialogs.messages.isEmpty());
  }

  void theHistoryWindowShowsBranchesAndAClickReturnsTheRecipe() {
    RecordingDialogs dialogs;
    MainWindow window;
    ParameterSet& p = window.Parameters();
    HistoryController& history = *window.History();
    p.Steps = 111;
    history.RecordIfChanged();
    const std::uint64_t first = history.History().Current();
    p.Steps = 222;
    history.RecordIfChanged();
    const std::uint64_t oldBranch = history.History().Current();
    history.Undo();
    QCOMPARE(p.Steps, 111);
    p.Steps = 333;  // a new branch beside 222
    history.RecordIfChanged();
    const std::uint64_t newBranch = history.History().Current();

    window.Action("History1")->trigger();
    HistoryWindow* list = window.HistoryList();
    QVERIFY(list->isVisible());
    QTreeWidgetItem* branchPoint = list->ItemOf(first);
    QVERIFY(branchPoint);
    // The old line goes on beside the step; the branch started after the
    // undo hangs under the step it left from.
    QCOMPARE(branchPoint->childCount(), 1);
    QCOMPARE(list->ItemOf(newBranch)->parent(), branchPoint);
    QTreeWidgetItem* old = list->ItemOf(oldBranch);
    QVERIFY(old);
    QCOMPARE(old->parent(), branchPoint->parent());
    QVERIFY2(old->text(0).contains(QString::fromUtf8("Steps 111 \u2192 222")), qPrintable(old->text(0)));
    QVERIFY(list->ItemOf(newBranch)->font(0).bold());
    emit list->Steps()->itemClicked(old, 0);
    QCOMPARE(p.Steps, 222);
    QCOMPARE(history.History().Current(), oldBranch);
    QVERIFY(list->ItemOf(oldBranch)->font(0).bold());
    QVERIFY(
        list->Summary()->text().startsWith(QString::number(history.History().Entries().size()) + " steps"));
  }

  void theBranchLeftByAnUndoSurvivesARestart() {
    std::uint64_t oldBranch = 0;
    {
      RecordingDialogs dialogs;
      MainWindow window;
      HistoryController& history = *window.History();
      window.Parameters().Steps = 222;
      history.RecordIfChanged();
      oldBranch = history.History().Current();
      history.Undo();
      window.Parameters().Steps = 333;
      history.RecordIfChanged();
    }
    RecordingDialogs dialogs;
    MainWindow window;
    QVERIFY(window.History()->History().Find(oldBranch));
    QVERIFY(dialogs.recovery_questions.isEmpty());  // it ended cleanly
    window.History()->GoTo(oldBranch);
    QCOMPARE(window.Parameters().Steps, 222);
  }

  void theLimitsAreSetInTheHistoryWindowAndStoredInTheirOwnSection() {
    RecordingDialogs dialogs;
    {
      MainWindow window;
      window.Action("History1")->trigger();
      HistoryWindow* list = window.HistoryList();
      QCOMPARE(list->KeepDays()->value(), 30);
      QCOMPARE(list->AutosaveSeconds()->value(), 60);
      list->KeepDays()->setValue(12);
      emit list->KeepDays()->editingFinished();
      list->AutosaveLimit()->setValue(256);
      emit list->AutosaveLimit()->editingFinished();
      QCOMPARE(window.History()->Settings().keepDays, 12);
      QCOMPARE(window.History()->History().Limits().maxAgeSeconds, 12LL * 24 * 3600);
      window.Exit();
    }
    IniFile ini;
    QVERIFY(ini.Load(ProgramSettingsFile()));
    QCOMPARE(ini.Get("history", "KeepDays", ""), std::string("12"));
    QCOMPARE(ini.Get("history", "AutosaveLimitMegabytes", ""), std::string("256"));
    MainWindow again;
    QCOMPARE(again.History()->Settings().keepDays, 12);
    QCOMPARE(again.History()->Settings().autosaveLimitMegabytes, 256);
  }

  void aCanvasStateOpenedInTheWindowGoesOnToTheUninterruptedPicture() {
    RecordingDialogs dialogs;
    QTemporaryDir folder;
    const QString whole = folder.filePath("whole.png"), state = folder.filePath("run.qstate");
    QVERIFY(RunQuorl({"render", kScene, "-o", whole}));
    QVERIFY(RunQuorl({"render", kScene, "--until-step", "60", "--state-out", state}));

    MainWindow window;
    dialogs.file_answer = state;
    window.Action("Opencanvasstate1")->trigger();
    QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join("|")));
    QVERIFY(QTest::qWaitFor([&] { return !window.RunInProgress(); }, 120000));
    QCOMPARE(Rgb(window.CanvasPictureCopy()), Rgb(QImage(whole)));
    // The recipe of the file is a step that can be undone.
    QVERIFY(Steps(window) >= 2);

    // Saving the finished canvas and opening it again brings it back.
    const QString saved = folder.filePath("again.qstate");
    dialogs.save_file_answer = saved;
    window.Action("Savecanvasstate1")->trigger();
    QVERIFY(QFile::exists(saved));
    window.Action("Clear1")->trigger();
    QVERIFY(Rgb(window.CanvasPictureCopy()) != Rgb(QImage(whole)));
    dialogs.save_answer = Dialogs::SaveChoice::Discard;
    dialogs.file_answer = saved;
    window.Action("Opencanvasstate1")->trigger();
    QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join("|")));
    QVERIFY(!window.RunInProgress());
    QCOMPARE(Rgb(window.CanvasPictureCopy()), Rgb(QImage(whole)));
  }

  void damagedAndForeignStateFilesAreRefusedWithAMessage() {
    RecordingDialogs dialogs;
    QTemporaryDir folder;
    const QString good = folder.filePath("good.qstate");
    QVERIFY(RunQuorl({"render", kScene, "--until-step", "5", "--state-out", good}));
    QFile file(good);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.size() > 64);
    QByteArray flipped = bytes;
    flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0x10);
    const QList<QPair<QString, QByteArray>> bad = {
        {"truncated", bytes.left(bytes.size() / 2)},
        {"header only", bytes.left(12)},
        {"garbage", QByteArray(4096, '\x5a')},
        {"a bit flipped", flipped},
        {"empty", QByteArray()},
        {"a settings file", QByteArray("[start]\nCurrentStyle=sine\n")},
    };
    MainWindow window;
    const ParameterSet before = window.Parameters();
    for (const auto& [name, content] : bad) {
      const QString path = folder.filePath(name + ".qstate");
      WriteBytes(path, content);
      dialogs.messages.clear();
      dialogs.file_answer = path;
      window.Action("Opencanvasstate1")->trigger();
      QVERIFY2(dialogs.messages.size() == 1, qPrintable(name));
      QVERIFY2(dialogs.messages.front().startsWith("Could not open the canvas state: "), qPrintable(name));
      QVERIFY(!window.RunInProgress());
      QCOMPARE(window.Parameters().Steps, before.Steps);
    }
  }

  void afterAnUncleanExitTheLastAutosaveIsOfferedBack() {
    QImage drawn;
    {
      RecordingDialogs dialogs;
      dialogs.file_answer = kScene;
      MainWindow window;
      window.OpenSettingsFile();
      DrawToTheEnd(window);
      drawn = window.CanvasPictureCopy();
      // The end of the Draw is a step with a thumbnail of the picture.
      RecipeHistory& history = window.History()->History();
      QVERIFY(history.Find(history.Current())->hasThumbnail);
      window.Action("History1")->trigger();
      QVERIFY(!window.HistoryList()->ItemOf(history.Current())->icon(0).isNull());
    }
    const std::string autosave = Autosaver::PathIn(ProgramStateFolder());
    QVERIFY(FileExists(autosave));

    // "Ask later": kept aside and asked again at the next start.
    LeaveStaleSession();
    {
      RecordingDialogs dialogs;
      dialogs.recovery_answer = Dialogs::RecoveryAnswer::Later;
      MainWindow window;
      QCOMPARE(dialogs.recovery_questions.size(), 1);
      QVERIFY(FileExists(KeptRecoveryPath(ProgramStateFolder())));
      QVERIFY(window.CanvasPictureCopy() != drawn);
    }
    {
      RecordingDialogs dialogs;
      dialogs.recovery_answer = Dialogs::RecoveryAnswer::Restore;
      MainWindow window;
      QCOMPARE(dialogs.recovery_questions.size(), 1);
      QCOMPARE(Rgb(window.CanvasPictureCopy()), Rgb(drawn));
      QVERIFY(!FileExists(KeptRecoveryPath(ProgramStateFolder())));
      QVERIFY(dialogs.messages.isEmpty());
    }
    // A clean exit asks nothing; after another unclean one, Discard removes
    // the autosave of that session's Draw.
    QVERIFY(!FileExists(autosave));  // "later" had moved it aside
    {
      RecordingDialogs dialogs;
      MainWindow window;
      QVERIFY(dialogs.recovery_questions.isEmpty());
      DrawToTheEnd(window);
    }
    QVERIFY(FileExists(autosave));
    LeaveStaleSession();
    {
      RecordingDialogs dialogs;
      dialogs.recovery_answer = Dialogs::RecoveryAnswer::Discard;
      MainWindow window;
      QCOMPARE(dialogs.recovery_questions.size(), 1);
      QVERIFY(!FileExists(autosave));
    }
  }

  // The real question box: its three buttons give the three answers. Also
  // leaves a screenshot of it, and of the History window after a Draw, in
  // the build folder for a look.
  void theRecoveryQuestionHasRestoreDiscardAndLater() {
    Dialogs real;
    const QList<QPair<QString, Dialogs::RecoveryAnswer>> buttons = {
        {"Restore", Dialogs::RecoveryAnswer::Restore},
        {"Discard", Dialogs::RecoveryAnswer::Discard},
        {"Ask later", Dialogs::RecoveryAnswer::Later},
    };
    for (const auto& [caption, answer] : buttons) {
      QString text;
      QTimer::singleShot(0, [&, caption = caption] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        text = box->text();
        if (caption == "Restore") box->grab().save(BuildFolder().filePath("history_recovery_question.png"));
        for (QAbstractButton* button : box->buttons())
          if (button->text() == caption) button->click();
      });
      QCOMPARE(real.AskRecovery(nullptr, "Restore it?"), answer);
      QCOMPARE(text, QString("Restore it?"));
    }
  }

  void aScreenshotOfTheHistoryWindow() {
    RecordingDialogs dialogs;
    dialogs.file_answer = kScene;
    MainWindow window;
    window.OpenSettingsFile();
    DrawToTheEnd(window);
    window.Parameters().StartRadius += 500;
    window.History()->RecordIfChanged();
    window.History()->Undo();
    window.Parameters().Steps = 700;
    window.History()->RecordIfChanged();
    DrawToTheEnd(window);
    window.Action("History1")->trigger();
    HistoryWindow* list = window.HistoryList();
    QVERIFY(list->Steps()->topLevelItemCount() >= 3);
    list->grab().save(BuildFolder().filePath("history_window.png"));
  }

  void aDamagedAutosaveIsRefusedWithoutACrash() {
    MakeFolders(ProgramStateFolder());
    WriteBytes(QString::fromStdString(Autosaver::PathIn(ProgramStateFolder())),
               QByteArray("QUORLAS\x01xx", 10));
    LeaveStaleSession();
    RecordingDialogs dialogs;
    dialogs.recovery_answer = Dialogs::RecoveryAnswer::Restore;
    MainWindow window;
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages.front().startsWith("Could not recover the autosaved canvas"));
  }

 private:
  std::unique_ptr<QTemporaryDir> home_;
};

QTEST_MAIN(HistoryWindowTest)
#include "history_window_test.moc"
