// A thread that draws one step of a run at a time, so the window's thread
// stays free to show pictures and take edits while a step is coloured.
// The window starts a step, the worker runs it and reports back through
// StepDone on the window's thread; between StepDone and the next Start the
// worker touches nothing, which is when the window hands it fresh copies of
// the parameters and applies Clear, Stop and the other commands.
#pragma once

#include <QObject>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace quorl {

class StepWorker : public QObject {
  Q_OBJECT

 public:
  // `step` runs on the worker and returns whether the run goes on.
  explicit StepWorker(std::function<bool()> step, QObject* parent = nullptr);
  // Waits for a step in progress to end.
  ~StepWorker() override;
  StepWorker(const StepWorker&) = delete;
  StepWorker& operator=(const StepWorker&) = delete;

  // Hands one step to the worker; call only while not Busy().
  void Start();
  // A step was started and its StepDone has not yet been delivered.
  bool Busy() const { return busy_; }
  // Blocks until the worker is not inside a step (for the program's end).
  void WaitUntilIdle();

 signals:
  void StepDone(bool more);

 private:
  void Loop();
  void Deliver(bool more);

  std::function<bool()> step_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  bool pending_ = false;
  bool running_ = false;
  bool quit_ = false;
  // Read and written on the owner's thread only.
  bool busy_ = false;
  std::thread thread_;
};

}  // namespace quorl
