// The Animation window: whole series of frames drawn, saved and cleared,
// with stop requests, unreadable rotation points and a failed save.
#include "ui/animation_window.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "settings/settings_file.h"
#include "support/ui_test_support.h"
#include "ui/numeric_field.h"

using namespace quorl;
using quorl::test::RecordingDialogs;

namespace {

class RecordingHost : public Host {
 public:
  void ShowStatus(const std::string& message) override { status << QString::fromStdString(message); }
  void ShowMessage(const std::string& text) override { messages << QString::fromStdString(text); }
  QStringList status;
  QStringList messages;
};

// A program's worth of state around one Animation window: a tiny canvas,
// few steps, pictures saved into a folder of their own.
struct Rig {
  Rig() {
    ProgramState& s = state;
    s.params.ImageWidth = 32;
    s.params.ImageHeight = 32;
    s.params.Steps = 6;
    // Light strokes on a dark ground.
    s.params.White = false;
    s.params.BgMaxRed = s.params.BgMaxGreen = s.params.BgMaxBlue = 0;
    s.params.StartMaxGreen = s.params.EndMaxGreen = 200;
    s.layout.SaveDir = folder.path().toStdString() + "/";
    // Frames that differ: the start radius rises over the series and is back
    // at its base in the last frame.
    s.params.AnimationChangeStartRadius = 0.8;
    s.params.AnimationStartRadiusSine = false;
    s.params.AnimationStartRadiusLinear = true;
    window = std::make_unique<AnimationWindow>(state, run, host);
  }

  QStringList Pictures() const { return QDir(folder.path()).entryList({"*.png"}, QDir::Files, QDir::Name); }
  QStringList SettingsFiles() const { return QDir(folder.path()).entryList({"*.ini"}, QDir::Files); }

  // Starts a series of `frames` and waits for it to end.
  bool MakeFrames(int frames) {
    window->Bar("tbFrames")->setValue(frames);
    window->MakeFramesButton()->click();
    return QTest::qWaitFor([this] { return !window->MakingFrames(); }, 60000);
  }

  QTemporaryDir folder;
  ProgramState state;
  RecordingHost host;
  DrawingRun run{state, host};
  std::unique_ptr<AnimationWindow> window;
};

bool Uniform(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != image.pixel(0, 0)) return false;
  return true;
}

bool Idle(const AnimationWindow& window, const ProgramState& state) {
  return !window.MakingFrames() && window.MakeFramesButton()->isEnabled() &&
         window.Bar("tbFrames")->isEnabled() && window.FramePanel()->text().isEmpty() &&
         window.FrameProgress()->value() == 0 && !state.flags.InAnimation && !state.flags.IsDrawing;
}

}  // namespace

class AnimationWindowTest : public QObject {
  Q_OBJECT

 private slots:

  void aSeriesDrawsSavesAndClearsEveryFrame() {
    Rig rig;
    AnimationWindow& window = *rig.window;
    QStringList panels;
    bool controls_disabled = true;
    bool flags_set = true;
    window.SyncRunSwitches = [&] {
      panels << window.FramePanel()->text();
      controls_disabled = controls_disabled && !window.MakeFramesButton()->isEnabled() &&
                          !window.Bar("tbFrames")->isEnabled();
      flags_set = flags_set && rig.state.flags.InAnimation && rig.state.flags.IsDrawing;
      QCOMPARE(window.FramePanel()->palette().color(QPalette::Window), QColor(0, 128, 128));
    };
    window.Bar("tbFrames")->setValue(3);
    window.MakeFramesButton()->click();
    // The click returns at once; the frames are drawn from the event loop.
    QVERIFY(window.MakingFrames());
    QVERIFY(QTest::qWaitFor([&] { return !window.MakingFrames(); }, 60000));

    QVERIFY(controls_disabled);
    QVERIFY(flags_set);
    QVERIFY(panels.contains("1") && panels.contains("2") && panels.contains("3"));
    QVERIFY(Idle(window, rig.state));
    QVERIFY(window.FramePanel()->palette().color(QPalette::Window) != QColor(0, 128, 128));

    const QStringList pictures = rig.Pictures();
    QCOMPARE(pictures.size(), 3);
    QCOMPARE(rig.SettingsFiles().size(), 3);
    QList<QImage> images;
    for (const QString& name : pictures)
      images << QImage(rig.folder.filePath(name)).convertToFormat(QImage::Format_RGB32);
    for (const QImage& image : images) {
      QCOMPARE(image.size(), QSize(32, 32));
      QVERIFY(!Uniform(image));  // something was drawn
    }
    QVERIFY(images[0] != images[1]);
    QVERIFY(images[1] != images[2]);
    QVERIFY(images[0] != images[2]);

    for (const char* text : {"Making Frame 1", "Making Frame 2", "Making Frame 3"})
      QVERIFY(rig.host.status.contains(text));
    for (const QString& text : rig.host.status) {
      QVERIFY2(!text.startsWith("Saved ") && text != "Finished" && text != "Cleared", qPrintable(text));
    }
    QVERIFY(rig.host.messages.isEmpty());
    // The last frame was cleared away; the phase and offset are back to 0.
    for (int x = 0; x < 32; x += 5)
      for (int y = 0; y < 32; y += 5) QCOMPARE(rig.state.canvas.Pixel(1, x, y), 0.0);
    QCOMPARE(rig.state.anim.AnimationPhase, 0.0);
    QCOMPARE(rig.state.anim.AnimPathOffset, 0.0);
  }

  void aStopRequestEndsTheSeriesAfterTheFrame() {
    Rig rig;
    AnimationWindow& window = *rig.window;
    QStringList drawn;
    int steps_of_2 = 0;
    // Draw (or Stop) chosen while frame 2 draws asks the run to stop, as the
    // main window's Draw does when a run is in progress.
    window.SyncRunSwitches = [&] {
      drawn << window.FramePanel()->text();
      if (window.FramePanel()->text() == "2" && rig.state.flags.IsDrawing && ++steps_of_2 == 2)
        rig.run.DrawOrStop();
    };
    QVERIFY(rig.MakeFrames(4));
    QVERIFY(steps_of_2 >= 2 && steps_of_2 < 7);  // asked, and the frame ended early
    // Frame 1 is kept; frame 2 was cut short and is not saved; 3 and 4 are
    // not drawn at all.
    QCOMPARE(rig.Pictures().size(), 1);
    QVERIFY(!drawn.contains("3") && !drawn.contains("4"));
    QVERIFY(rig.host.status.contains("Stopping drawing..."));
    QVERIFY(Idle(window, rig.state));

    // The next series starts afresh.
    window.SyncRunSwitches = nullptr;
    QVERIFY(rig.MakeFrames(2));
    QCOMPARE(rig.Pictures().size(), 3);
  }

  void unreadableRotationPointsStopTheSeries() {
    RecordingDialogs dialogs;
    Rig rig;
    AnimationWindow& window = *rig.window;
    QLineEdit xa, ya, xb, yb;
    xa.setText("1.5");
    ya.setText("-");  // still being typed
    xb.setText("0");
    yb.setText("0,5");
    window.SetRotationFields({&xa, &ya, &xb, &yb});
    QVERIFY(rig.MakeFrames(3));
    QCOMPARE(dialogs.messages, QStringList{"RunHiddenCommand: '-' is not a valid floating point value"});
    QCOMPARE(rig.Pictures().size(), 0);
    QVERIFY(Idle(window, rig.state));

    // Readable: the frames turn about the fields' points.
    ya.setText("2");
    QVERIFY(rig.MakeFrames(1));
    QCOMPARE(rig.Pictures().size(), 1);
    QCOMPARE(rig.state.anim.AnimRotateStart, (Point{1.5, 2}));
    QCOMPARE(rig.state.anim.AnimRotateEnd, (Point{0, 0.5}));

    // Spoilt after the first frame: that frame stays, the series ends.
    window.SaveFrame = [&] {
      xb.setText("abc");
      return SavePictureFiles(rig.state, rig.host);
    };
    QVERIFY(rig.MakeFrames(3));
    QCOMPARE(rig.Pictures().size(), 2);
    QCOMPARE(dialogs.messages.last(), QString("RunHiddenCommand: 'abc' is not a valid floating point value"));
    QVERIFY(Idle(window, rig.state));
  }

  void aFailedSaveEndsTheSeries() {
    Rig rig;
    AnimationWindow& window = *rig.window;
    int saves = 0;
    window.SaveFrame = [&] {
      ++saves;
      SaveResult failed;
      failed.error = "disk full";
      return failed;
    };
    QVERIFY(rig.MakeFrames(4));
    QCOMPARE(saves, 1);
    QVERIFY(Idle(window, rig.state));
  }
};

QTEST_MAIN(AnimationWindowTest)
#include "animation_window_test.moc"
