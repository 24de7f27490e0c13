// Draw colours its steps on a worker thread: Clear and edits made through
// the window between steps must land exactly where a run on one thread puts
// them, whatever the thread count.
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "engine/drawing_run.h"
#include "engine/program_state.h"
#include "settings/settings_file.h"
#include "support/core_comparison.h"
#include "support/ui_test_support.h"
#include "ui/main_window.h"
#include "ui/numeric_field.h"
#include "ui/values_window.h"

using namespace quorl;
using quorl::testing::InjectingHost;
using quorl::testing::SameCanvas;

namespace {

constexpr int kSteps = 120;

ParameterSet Scene() {
  ParameterSet p;
  p.ImageWidth = 200;
  p.ImageHeight = 160;
  p.Steps = kSteps;
  p.StartBumps = 5;
  p.EndBumps = 9;
  p.StartIota = 0;
  p.EndIota = 540;
  p.StartGrain = p.EndGrain = 30;
  return p;
}

}  // namespace

class WorkerRunTest : public QObject {
  Q_OBJECT

 private:
  // The window with the scene opened, drawing on `threads`; `atStep` runs
  // in the window's own handler of each drawn step.
  // Returns the parameters the run started with (the window's fields may
  // have brought some into their ranges), for the core run to start from.
  ParameterSet DrawInWindow(MainWindow& window, const QString& settings, int threads,
                            const std::function<void(int)>& atStep) {
    test::RecordingDialogs dialogs;
    dialogs.file_answer = settings;
    window.OpenSettingsFile();
    const ParameterSet start = window.Parameters();
    window.Run().SetThreads(threads);
    QObject::connect(&window, &MainWindow::StepDrawn, &window, atStep);
    window.Action("Draw1")->trigger();
    if (!window.RunInProgress()) qFatal("Draw did not start");
    if (!QTest::qWaitFor([&] { return !window.RunInProgress(); }, 60000)) qFatal("the run did not end");
    if (window.StatusText() != "Finished") qFatal("the run did not finish");
    return start;
  }

  void CoreRun(ProgramState& core, const ParameterSet& start, int threads, int after,
               std::function<void(DrawingRun&)> between) {
    core.params = start;
    // Cleared to the background first, as the window is at its start.
    if (!core.canvas.SetImageDimensions(core.params)) qFatal("no canvas");
    core.canvas.MakePictureBlack(core.params, core.background);
    InjectingHost host;
    DrawingRun run(core, host);
    host.run = &run;
    host.after = after;
    if (between) host.between = [&] { between(run); };
    run.SetThreads(threads);
    run.StartDrawing();
    run.DrawAllSteps();
  }

 private slots:
  void clearBetweenStepsLandsWhereTheCoreRunPutsIt_data() {
    QTest::addColumn<int>("threads");
    QTest::newRow("1 thread") << 1;
    QTest::newRow("2 threads") << 2;
  }
  void clearBetweenStepsLandsWhereTheCoreRunPutsIt() {
    QFETCH(int, threads);
    QTemporaryDir home;
    test::UseSettingsFolder(home.path());
    const QString settings = home.filePath("scene.ini");
    QVERIFY(test::WriteStyleFile(Scene(), "circles", settings));
    const int k = 70;

    MainWindow window;
    window.show();
    int clears = 0;
    const ParameterSet start = DrawInWindow(window, settings, threads, [&](int step) {
      if (step != k) return;
      ++clears;
      window.Action("Clear1")->trigger();
    });
    QCOMPARE(clears, 1);

    ProgramState withClear;
    CoreRun(withClear, start, 1, k, [](DrawingRun& run) { run.Clear(); });
    QVERIFY(SameCanvas(window.State().canvas, withClear.canvas));
    // The Clear mattered: a run without it ends elsewhere.
    ProgramState without;
    CoreRun(without, start, 1, -1, nullptr);
    QVERIFY(!SameCanvas(window.State().canvas, without.canvas));
  }

  void anEditAtStepKDrawsFromStepKPlusOne() {
    QTemporaryDir home;
    test::UseSettingsFolder(home.path());
    const QString settings = home.filePath("scene.ini");
    QVERIFY(test::WriteStyleFile(Scene(), "circles", settings));
    const int k = 40;

    MainWindow window;
    window.show();
    const ParameterSet start = DrawInWindow(window, settings, 2, [&](int step) {
      // Typed into the Values window while the run draws.
      if (step == k) window.Values()->Field("EndRadius")->setText("2.5");
    });
    QCOMPARE(window.State().params.EndRadius, 250);

    ProgramState edited;
    CoreRun(edited, start, 1, k, [&edited](DrawingRun&) { edited.params.EndRadius = 250; });
    QVERIFY(SameCanvas(window.State().canvas, edited.canvas));
    // One step later is another picture: the step the edit reaches counts.
    ProgramState late;
    CoreRun(late, start, 1, k + 1, [&late](DrawingRun&) { late.params.EndRadius = 250; });
    QVERIFY(!SameCanvas(window.State().canvas, late.canvas));
  }
};

QTEST_MAIN(WorkerRunTest)
#include "worker_run_test.moc"
