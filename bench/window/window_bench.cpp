// How the window keeps up while it draws (a benchmark, printed, never a
// test): the longest wait of the window's event loop during a heavy run,
// measured as the longest gap between ticks of a 5 ms timer, and the cost of
// "Draw each step?" on a 3000-step run of the default scene.
//
//   quorl_window_bench [RUNS]    (QT_QPA_PLATFORM=offscreen without a display)
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "ui/dialogs.h"
#include "ui/main_window.h"

using namespace quorl;

namespace {

// No box ever waits for a click during a benchmark.
class SilentDialogs : public Dialogs {
 public:
  void ShowMessage(QWidget*, const QString& text) override {
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
  }
  SaveChoice AskSaveFirst(QWidget*, bool&) override { return SaveChoice::Discard; }
};

struct RunFigures {
  double seconds = 0;
  double longestGapMs = 0;
};

RunFigures Draw(MainWindow& window) {
  RunFigures figures;
  QElapsedTimer clock, tick;
  QTimer ticker;
  ticker.setInterval(5);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    figures.longestGapMs = std::max(figures.longestGapMs, tick.nsecsElapsed() / 1e6);
    tick.restart();
  });
  clock.start();
  tick.start();
  ticker.start();
  window.Action("Draw1")->trigger();
  while (window.RunInProgress()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  figures.seconds = clock.nsecsElapsed() / 1e9;
  // The end of the run (the last picture, the autosave copy, the history
  // step) counts too: the next tick after it closes that gap.
  QElapsedTimer after;
  after.start();
  while (after.elapsed() < 30) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  ticker.stop();
  return figures;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  QTemporaryDir home;
  qputenv("QUORL_SETTINGS", (home.path() + "/quorl.ini").toUtf8());
  SilentDialogs dialogs;
  InstallDialogs(&dialogs);
  MainWindow window;
  window.show();

  // The same timer with nothing drawing: what the machine itself adds.
  {
    double idle = 0;
    QElapsedTimer tick, clock;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      idle = std::max(idle, tick.nsecsElapsed() / 1e6);
      tick.restart();
    });
    clock.start();
    tick.start();
    ticker.start();
    while (clock.elapsed() < 3000) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    std::printf("idle window, 3 s: longest gap between timer ticks %.1f ms\n", idle);
  }

  const QString scenes = QStringLiteral(QUORL_SOURCE_DIR "/bench/scenes/");
  if (!window.OpenFile(scenes + "heavy.ini")) return 1;
  std::vector<double> gaps, heavy;
  for (int i = 0; i < runs; ++i) {
    window.Clear();
    const RunFigures f = Draw(window);
    gaps.push_back(f.longestGapMs);
    heavy.push_back(f.seconds);
  }
  std::printf(
      "heavy scene: %.2f s a run, longest gap between timer ticks %.1f ms (median of %d; worst %.1f ms)\n",
      Median(heavy), Median(gaps), runs, *std::max_element(gaps.begin(), gaps.end()));

  if (!window.OpenFile(scenes + "default.ini")) return 1;
  window.Parameters().Steps = 3000;
  std::vector<double> off, on;
  for (int i = 0; i < runs; ++i) {
    for (const bool each : {false, true}) {
      window.Action("Draweachstep1")->setChecked(each);
      window.Clear();
      (each ? on : off).push_back(Draw(window).seconds);
    }
  }
  std::printf("default scene, 3000 steps: %.2f s, with \"Draw each step?\" %.2f s: %.2fx (medians of %d)\n",
              Median(off), Median(on), Median(on) / Median(off), runs);
  return 0;
}
