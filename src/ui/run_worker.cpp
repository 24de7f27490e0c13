#include "ui/run_worker.h"

#include "engine/drawing_run.h"
#include "engine/program_state.h"

namespace quorl {

RunWorker::RunWorker(DrawingRun& run, ProgramState& state, QObject* parent)
    : QObject(parent), run_(run), state_(state) {}

RunWorker::~RunWorker() { AbandonAndJoin(); }

void RunWorker::Start() {
  if (thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    parked_ = false;
    abandoned_ = false;
  }
  thread_ = std::thread([this] {
    run_.Begin();
    while (run_.RunStep()) {
    }
    run_.Finish();
    QMetaObject::invokeMethod(this, [this] { ThreadDone(); }, Qt::QueuedConnection);
  });
}

void RunWorker::Park() {
  std::unique_lock lock(mutex_);
  if (!abandoned_) {
    parked_ = true;
    QMetaObject::invokeMethod(this, [this] { ServeBoundary(); }, Qt::QueuedConnection);
    wake_.wait(lock, [this] { return !parked_ || abandoned_; });
    parked_ = false;
  }
  // The window is going away: end after this step.
  if (abandoned_) state_.flags.StopRequested = true;
}

void RunWorker::ServeBoundary() {
  {
    std::lock_guard lock(mutex_);
    if (!parked_ || abandoned_) return;
  }
  emit StepBoundary();
  {
    std::lock_guard lock(mutex_);
    parked_ = false;
  }
  wake_.notify_one();
}

void RunWorker::Abandon() {
  {
    std::lock_guard lock(mutex_);
    abandoned_ = true;
  }
  wake_.notify_one();
}

void RunWorker::AbandonAndJoin() {
  if (!thread_.joinable()) return;
  Abandon();
  thread_.join();
}

void RunWorker::ThreadDone() {
  if (thread_.joinable()) thread_.join();
  emit Finished();
}

}  // namespace quorl
