#include "serial/SioEvent.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

#include "serial/Deadline.h"

namespace {

using Clock = std::chrono::steady_clock;

// A waiter on two events parks on its own condition, which either event
// pokes when it is set. Shared, so an event can poke it after letting go of
// its own lock while the waiter, woken by the other event, already left.
struct Waiter {
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

}  // namespace

struct SioEvent::State {
  State(Mode mode, bool initiallySet) : mode(mode), set(initiallySet) {}

  bool consumeLocked() {
    if (!set) return false;
    if (mode == Mode::AutoReset) set = false;
    return true;
  }

  bool tryConsume() {
    const std::lock_guard<std::mutex> lock(mutex);
    return consumeLocked();
  }

  // No end means no time limit.
  bool waitUntil(const std::optional<Clock::time_point>& end) {
    std::unique_lock<std::mutex> lock(mutex);
    if (set || (end && *end <= Clock::now())) return consumeLocked();
    if (end) {
      changed.wait_until(lock, *end, [this] { return set; });
    } else {
      changed.wait(lock, [this] { return set; });
    }
    return consumeLocked();
  }

  void addWaiter(const std::shared_ptr<Waiter>& waiter) {
    const std::lock_guard<std::mutex> lock(mutex);
    waiters.push_back(waiter);
  }

  void removeWaiter(const std::shared_ptr<Waiter>& waiter) {
    const std::lock_guard<std::mutex> lock(mutex);
    waiters.erase(std::remove(waiters.begin(), waiters.end(), waiter), waiters.end());
  }

  static int waitForEitherUntil(State& first, State& second,
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

  const Mode mode;
  mutable std::mutex mutex;
  std::condition_variable changed;
  bool set;
  std::vector<std::shared_ptr<Waiter>> waiters;
};

SioEvent::SioEvent(Mode mode, bool initiallySet)
    : state_(std::make_unique<State>(mode, initiallySet)) {}

SioEvent::~SioEvent() = default;

void SioEvent::Set() {
  std::vector<std::shared_ptr<Waiter>> waiters;
  {
    const std::lock_guard<std::mutex> lock(state_->mutex);
    state_->set = true;
    waiters = state_->waiters;
  }
  // After the lock is let go, so a woken waiter does not at once sleep again
  // on it.
  for (const std::shared_ptr<Waiter>& waiter : waiters) waiter->Poke();
  state_->changed.notify_all();
}

void SioEvent::Reset() {
  const std::lock_guard<std::mutex> lock(state_->mutex);
  state_->set = false;
}

bool SioEvent::IsSet() const {
  const std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->set;
}

bool SioEvent::WaitFor(std::chrono::milliseconds timeout) {
  return state_->waitUntil(Deadline(timeout).End());
}

void SioEvent::Wait() { state_->waitUntil(std::nullopt); }

int SioEvent::WaitForEither(SioEvent& first, SioEvent& second, std::chrono::milliseconds timeout) {
  return State::waitForEitherUntil(*first.state_, *second.state_, Deadline(timeout).End());
}

int SioEvent::WaitForEither(SioEvent& first, SioEvent& second) {
  return State::waitForEitherUntil(*first.state_, *second.state_, std::nullopt);
}

void* SioEvent::NativeHandle() const { return nullptr; }
