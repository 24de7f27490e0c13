// A source or background picture chosen while Draw colours a step on the
// worker reaches the run only between steps: the finished canvas equals a
// core run that loads the same picture after the same step, byte for byte.
#include <QAction>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <functional>

#include "canvas/picture_files.h"
#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "services/image_loading.h"
#include "support/engine_test_support.h"
#include "support/ui_test_support.h"
#include "ui/background_image_window.h"
#include "ui/main_window.h"
#include "ui/source_image_window.h"

using namespace quorl;

namespace {

constexpr int kSteps = 120;

ParameterSet Scene() {
  ParameterSet p;
  p.ImageWidth = 160;
  p.ImageHeight = 120;
  p.Steps = kSteps;
  p.StartBumps = 5;
  p.EndBumps = 9;
  p.EndIota = 540;
  p.StartGrain = p.EndGrain = 30;
  p.UseSourceImage = true;
  return p;
}

class InjectingHost : public testing::TestHost {
 public:
  DrawingRun* run = nullptr;
  int after = -1;
  std::function<void()> between;
  void ProcessPendingEvents() override {
    if (run->CurrentStep() == after + 1 && between) between();
  }
};

bool SameCanvas(const Canvas& a, const Canvas& b) {
  if (a.CanvasWidth() != b.CanvasWidth() || a.CanvasHeight() != b.CanvasHeight()) return false;
  for (int y = 0; y < a.CanvasHeight(); ++y)
    for (int x = 0; x < a.CanvasWidth(); ++x)
      for (int c = 0; c < 3; ++c) {
        const double u = a.Pixel(c, x, y), v = b.Pixel(c, x, y);
        if (std::memcmp(&u, &v, sizeof u) != 0) return false;
      }
  return a.Bitmap().Bytes() == b.Bitmap().Bytes();
}

QString WriteGradient(const QString& path) {
  QImage picture(40, 30, QImage::Format_RGB888);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) picture.setPixelColor(x, y, QColor(6 * x, 8 * y, 200 - 5 * x));
  return picture.save(path) ? path : QString();
}

}  // namespace

class BetweenStepsLoadsTest : public QObject {
  Q_OBJECT

 private slots:
  void aSourcePictureChosenDuringAStepArrivesAfterIt_data() {
    QTest::addColumn<int>("threads");
    QTest::newRow("1 thread") << 1;
    QTest::newRow("2 threads") << 2;
  }
  void aSourcePictureChosenDuringAStepArrivesAfterIt() {
    QFETCH(int, threads);
    QTemporaryDir home;
    test::UseSettingsFolder(home.path());
    const QString settings = home.filePath("scene.ini");
    QVERIFY(test::WriteStyleFile(Scene(), "circles", settings));
    const QString picture = WriteGradient(home.filePath("source.png"));
    QVERIFY(!picture.isEmpty());

    test::RecordingDialogs dialogs;
    MainWindow window;
    window.show();
    dialogs.file_answer = settings;
    window.OpenSettingsFile();
    const ParameterSet start = window.Parameters();
    window.Run().SetThreads(threads);
    auto* source = window.findChild<SourceImageWindow*>();
    QVERIFY(source);

    // Chosen from the event loop while a later step is on the worker.
    const int k = 60;
    int chosen = 0, landed_after = -1;
    bool loaded_at_once = true;
    connect(&window, &MainWindow::StepDrawn, &window, [&](int step) {
      if (landed_after < 0 && window.State().source.Loaded()) landed_after = step - 1;
      if (step != k) return;
      QTimer::singleShot(0, &window, [&] {
        ++chosen;
        dialogs.file_answer = picture;
        source->ChooseSourceImage();
        loaded_at_once = window.State().source.Loaded();
      });
    });
    window.Action("Draw1")->trigger();
    QVERIFY(QTest::qWaitFor([&] { return !window.RunInProgress(); }, 60000));
    QCOMPARE(window.StatusText(), QStringLiteral("Finished"));
    QCOMPARE(chosen, 1);
    QVERIFY2(!loaded_at_once, "the picture was loaded while a step was being coloured");
    QVERIFY(landed_after > k && landed_after < kSteps - 1);

    // The core run, loading the same picture right after that step.
    auto core = std::make_unique<ProgramState>();
    core->params = start;
    QVERIFY(core->canvas.SetImageDimensions(core->params));
    core->canvas.MakePictureBlack(core->params, core->background);
    InjectingHost host;
    DrawingRun run(*core, host);
    host.run = &run;
    host.after = landed_after;
    host.between = [&] {
      testing::TestHost quiet;
      const std::string name = picture.toStdString();
      if (!LoadSourceImage(*core, name, ExtensionOf(name), quiet)) qFatal("the core did not load it");
    };
    run.SetThreads(threads);
    run.StartDrawing();
    run.DrawAllSteps();
    QVERIFY(SameCanvas(window.State().canvas, core->canvas));
  }

  void aBackgroundChosenDuringAStepWaitsForItsEnd() {
    QTemporaryDir home;
    test::UseSettingsFolder(home.path());
    const QString settings = home.filePath("scene.ini");
    QVERIFY(test::WriteStyleFile(Scene(), "circles", settings));
    const QString picture = WriteGradient(home.filePath("background.png"));
    test::RecordingDialogs dialogs;
    MainWindow window;
    window.show();
    dialogs.file_answer = settings;
    window.OpenSettingsFile();
    auto* background = window.findChild<BackgroundImageWindow*>();
    QVERIFY(background);
    bool loaded_at_once = true, tried = false;
    connect(&window, &MainWindow::StepDrawn, &window, [&](int step) {
      if (step != 10) return;
      QTimer::singleShot(0, &window, [&] {
        tried = true;
        dialogs.file_answer = picture;
        background->ChooseBackgroundImage();
        loaded_at_once = window.State().background.Loaded();
      });
    });
    window.Action("Draw1")->trigger();
    QVERIFY(QTest::qWaitFor([&] { return !window.RunInProgress(); }, 60000));
    QVERIFY(tried);
    QVERIFY2(!loaded_at_once, "the background was loaded while a step was being coloured");
    QVERIFY(window.State().background.Loaded());
  }
};

QTEST_MAIN(BetweenStepsLoadsTest)
#include "between_steps_loads_test.moc"
