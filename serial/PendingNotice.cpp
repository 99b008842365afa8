#include "serial/PendingNotice.h"

#include "serial/Deadline.h"

bool PendingNotice::Begin() {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (state_ != State::Queued) return false;
  state_ = State::Running;
  return true;
}

void PendingNotice::End() {
  // Notified under the lock: the sender may destroy the notice as soon as it
  // sees Done.
  const std::lock_guard<std::mutex> lock(mutex_);
  state_ = State::Done;
  done_.notify_all();
}

bool PendingNotice::WaitHandled(std::chrono::milliseconds timeout) {
  const Deadline deadline(timeout);
  std::unique_lock<std::mutex> lock(mutex_);
  if (done_.wait_until(lock, deadline.End(), [this] { return state_ == State::Done; })) {
    return true;
  }
  if (state_ == State::Queued) state_ = State::Cancelled;
  return false;
}
