#include "serial/SioEvent.h"

#include <algorithm>

#include "serial/Deadline.h"

// A waiter on two events parks on its own condition, which either event
// pokes when it is set. Shared, so an event can poke it after letting go of
// its own lock while the waiter, woken by the other event, already left.
struct SioEvent::Waiter {
  std::mutex mutex;
  std::condition_variable poked;
  bool wasPoked = false;

  void Poke() {
    {
      const std::lock_guard<std::mutex> lock(mutex);
      wasPoked = true;
    }
    poked.notify_one();
  }
};

SioEvent::SioEvent(Mode mode, bool initiallySet) : mode_(mode), set_(initiallySet) {}

void SioEvent::Set() {
  std::vector<std::shared_ptr<Waiter>> waiters;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    set_ = true;
    waiters = waiters_;
  }
  // After the lock is let go, so a woken waiter does not at once sleep again
  // on it.
  for (const std::shared_ptr<Waiter>& waiter : waiters) waiter->Poke();
  changed_.notify_all();
}

void SioEvent::Reset() {
  const std::lock_guard<std::mutex> lock(mutex_);
  set_ = false;
}

bool SioEvent::IsSet() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return set_;
}

bool SioEvent::consumeLocked() {
  if (!set_) return false;
  if (mode_ == Mode::AutoReset) set_ = false;
  return true;
}

bool SioEvent::tryConsume() {
  const std::lock_guard<std::mutex> lock(mutex_);
  return consumeLocked();
}

bool SioEvent::WaitFor(std::chrono::milliseconds timeout) {
  return waitUntil(Deadline(timeout).End());
}

void SioEvent::Wait() { waitUntil(std::nullopt); }

bool SioEvent::waitUntil(const std::optional<Clock::time_point>& end) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (set_ || (end && *end <= Clock::now())) return consumeLocked();
  if (end) {
    changed_.wait_until(lock, *end, [this] { return set_; });
  } else {
    changed_.wait(lock, [this] { return set_; });
  }
  return consumeLocked();
}

void SioEvent::addWaiter(const std::shared_ptr<Waiter>& waiter) {
  const std::lock_guard<std::mutex> lock(mutex_);
  waiters_.push_back(waiter);
}

void SioEvent::removeWaiter(const std::shared_ptr<Waiter>& waiter) {
  const std::lock_guard<std::mutex> lock(mutex_);
  waiters_.erase(std::remove(waiters_.begin(), waiters_.end(), waiter), waiters_.end());
}

int SioEvent::WaitForEither(SioEvent& first, SioEvent& second, std::chrono::milliseconds timeout) {
  return waitForEitherUntil(first, second, Deadline(timeout).End());
}

int SioEvent::WaitForEither(SioEvent& first, SioEvent& second) {
  return waitForEitherUntil(first, second, std::nullopt);
}

int SioEvent::waitForEitherUntil(SioEvent& first, SioEvent& second,
                                 const std::optional<Clock::time_point>& end) {
  const auto shared = std::make_shared<Waiter>();
  Waiter& waiter = *shared;
  first.addWaiter(shared);
  second.addWaiter(shared);
  int woken = -1;
  for (;;) {
    // Registered before looking, so a Set between the look and the park
    // leaves the waiter poked and the park returns at once.
    if (first.tryConsume()) {
      woken = 0;
      break;
    }
    if (second.tryConsume()) {
      woken = 1;
      break;
    }
    std::unique_lock<std::mutex> lock(waiter.mutex);
    const auto poked = [&waiter] { return waiter.wasPoked; };
    if (!end) {
      waiter.poked.wait(lock, poked);
    } else if (!waiter.poked.wait_until(lock, *end, poked)) {
      break;
    }
    waiter.wasPoked = false;
  }
  first.removeWaiter(shared);
  second.removeWaiter(shared);
  return woken;
}
