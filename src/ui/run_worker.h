// Runs the steps of a drawing run on a worker thread. After every drawn
// step the worker parks; the window then hands over the user's edits and
// any queued Stop or Clear (StepBoundary) and lets it go on. So the window
// never waits for more than one step, and the run never sees a value half
// written.
#pragma once

#include <QObject>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace quorl {

class DrawingRun;
struct ProgramState;

class RunWorker : public QObject {
  Q_OBJECT

 public:
  RunWorker(DrawingRun& run, ProgramState& state, QObject* parent = nullptr);
  ~RunWorker() override;

  // Begins the run on a new thread (the caller has already done the start
  // of Draw). Finished follows once the run has ended.
  void Start();
  bool Running() const { return thread_.joinable(); }

  // Called on the worker between steps: waits until the window has served
  // the boundary, or returns at once once abandoned.
  void Park();

  // Makes the run stop after its current step without serving boundaries
  // any more (the program is ending). Does not wait.
  void Abandon();
  // Abandons and waits for the thread.
  void AbandonAndJoin();

 signals:
  // On the window's thread while the worker is parked: the run's state may
  // be read and changed here.
  void StepBoundary();
  // On the window's thread after the thread has ended.
  void Finished();

 private:
  void ServeBoundary();
  void ThreadDone();

  DrawingRun& run_;
  ProgramState& state_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool parked_ = false;
  bool abandoned_ = false;
};

}  // namespace quorl
