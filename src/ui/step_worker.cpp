#include "ui/step_worker.h"

#include <QMetaObject>

namespace quorl {

StepWorker::StepWorker(std::function<bool()> step, QObject* parent)
    : QObject(parent), step_(std::move(step)), thread_([this] { Loop(); }) {}

StepWorker::~StepWorker() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void StepWorker::Start() {
  busy_ = true;
  {
    std::lock_guard lock(mutex_);
    pending_ = true;
  }
  wake_.notify_one();
}

void StepWorker::WaitUntilIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return !running_ && !pending_; });
}

void StepWorker::Deliver(bool more) {
  busy_ = false;
  emit StepDone(more);
}

void StepWorker::Loop() {
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return pending_ || quit_; });
      if (quit_) return;
      pending_ = false;
      running_ = true;
    }
    const bool more = step_();
    {
      std::lock_guard lock(mutex_);
      running_ = false;
    }
    idle_.notify_all();
    // Queued: the report runs on the owner's thread, after the messages the
    // step itself posted there.
    QMetaObject::invokeMethod(
        this, [this, more] { Deliver(more); }, Qt::QueuedConnection);
  }
}

}  // namespace quorl
