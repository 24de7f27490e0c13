// A source or background picture chosen while Draw colours a step on the
// worker reaches the run only between steps: the finished canvas equals a
// core run that loads the same picture after the same step, byte for byte.
// Curve strokes and drags on the canvas during a Draw change nothing.
#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "canvas/picture_files.h"
#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "services/image_loading.h"
#include "support/core_comparison.h"
#include "support/engine_test_support.h"
#include "support/ui_test_support.h"
#include "ui/background_image_window.h"
#include "ui/canvas_view.h"
#include "ui/main_window.h"
#include "ui/points_window.h"
#include "ui/source_image_window.h"

using namespace quorl;
using quorl::testing::InjectingHost;
using quorl::testing::SameCanvas;

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

  void curveStrokesAndDragsDuringADrawChangeNothing() {
    QTemporaryDir home;
    test::UseSettingsFolder(home.path());
    const QString settings = home.filePath("scene.ini");
    ParameterSet scene = Scene();
    scene.UseSourceImage = false;
    QVERIFY(test::WriteStyleFile(scene, "circles", settings));
    test::RecordingDialogs dialogs;
    MainWindow window;
    window.show();
    dialogs.file_answer = settings;
    window.OpenSettingsFile();
    CanvasView* canvas = window.Image1();
    window.Action("DrawMultiplierBezier1")->trigger();
    window.Points()->SlotList()->setCurrentIndex(3);
    auto stroke = [&](const QList<QPoint>& path) {
      test::SendMouse(canvas, QEvent::MouseButtonPress, path.first(), Qt::RightButton, Qt::RightButton);
      for (qsizetype i = 1; i < path.size(); ++i)
        test::SendMouse(canvas, QEvent::MouseMove, path[i], Qt::NoButton, Qt::RightButton);
      test::SendMouse(canvas, QEvent::MouseButtonRelease, path.last(), Qt::RightButton, Qt::NoButton);
    };
    QVERIFY(canvas->width() >= 160 && canvas->height() >= 120);
    const int w = canvas->width(), h = canvas->height();
    stroke({{w / 20, h / 20},
            {w / 5, h / 6},
            {2 * w / 5, h / 2},
            {3 * w / 5, h / 4},
            {4 * w / 5, 3 * h / 4},
            {19 * w / 20, 9 * h / 10}});
    const ParameterSet start = window.Parameters();
    const CurveSlots curves = window.State().curves;
    QCOMPARE(curves[3].Curve.GetLength(), 5);

    // A new stroke, and a drag of the first control point, while steps run.
    bool sent = false;
    connect(&window, &MainWindow::StepDrawn, &window, [&](int step) {
      if (step != 20) return;
      QTimer::singleShot(0, &window, [&] {
        sent = true;
        stroke({{19 * w / 20, h / 20},
                {4 * w / 5, h / 3},
                {3 * w / 5, h / 6},
                {2 * w / 5, 2 * h / 3},
                {w / 5, h / 2},
                {w / 20, 9 * h / 10}});
        const QPoint first(w / 5, h / 6);
        test::SendMouse(canvas, QEvent::MouseButtonPress, first, Qt::LeftButton, Qt::LeftButton);
        test::SendMouse(canvas, QEvent::MouseMove, first + QPoint(30, 30), Qt::NoButton, Qt::LeftButton);
        test::SendMouse(canvas, QEvent::MouseButtonRelease, first + QPoint(30, 30), Qt::LeftButton,
                        Qt::NoButton);
      });
    });
    window.Action("Draw1")->trigger();
    QVERIFY(QTest::qWaitFor([&] { return !window.RunInProgress(); }, 60000));
    QVERIFY(sent);
    for (int slot = 0; slot < kCurveCount; ++slot)
      QVERIFY(window.State().curves[slot].Curve.Points == curves[slot].Curve.Points);

    // The picture is the core's, drawn with the curves as they were.
    auto core = std::make_unique<ProgramState>();
    core->params = start;
    core->curves = curves;
    QVERIFY(core->canvas.SetImageDimensions(core->params));
    core->canvas.MakePictureBlack(core->params, core->background);
    testing::TestHost host;
    DrawingRun run(*core, host);
    run.StartDrawing();
    run.DrawAllSteps();
    QVERIFY(SameCanvas(window.State().canvas, core->canvas));
  }
};

QTEST_MAIN(BetweenStepsLoadsTest)
#include "between_steps_loads_test.moc"
