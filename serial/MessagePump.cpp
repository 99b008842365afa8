#include "serial/MessagePump.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

namespace {

std::mutex& hookLock() {
  static std::mutex lock;
  return lock;
}

std::shared_ptr<const std::function<void()>>& installedPump() {
  static std::shared_ptr<const std::function<void()>> pump;
  return pump;
}

}  // namespace

void SetMessagePump(std::function<void()> pump) {
  const std::lock_guard<std::mutex> lock(hookLock());
  installedPump() = pump ? std::make_shared<const std::function<void()>>(std::move(pump)) : nullptr;
}

void PumpOneMessage() {
  std::shared_ptr<const std::function<void()>> pump;
  {
    const std::lock_guard<std::mutex> lock(hookLock());
    pump = installedPump();
  }
  if (pump) {
    (*pump)();
  } else {
    // Without a GUI there is nothing to pump; a millisecond keeps the waiting
    // loop from spinning.
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}
