#include "serial/PendingNotice.h"

#include "serial/Deadline.h"

bool PendingNotice::Begin() {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (state_ != State::Queued) return false;
  state_ = State::Running;
  return true;
}

void PendingNotice::End() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    state_ = State::Done;
  }
  // After the lock is let go, so the woken sender does not at once sleep
  // again on it; both sides own the notice, so it outlives this call.
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
