#include "serial/NotifyWindowFactory.h"

#include <mutex>

namespace {

std::mutex& hookLock() {
  static std::mutex lock;
  return lock;
}

std::shared_ptr<const NotifyWindowFactory>& installedFactory() {
  static std::shared_ptr<const NotifyWindowFactory> factory;
  return factory;
}

}  // namespace

void SetNotifyWindowFactory(NotifyWindowFactory factory) {
  const std::lock_guard<std::mutex> lock(hookLock());
  installedFactory() =
      factory ? std::make_shared<const NotifyWindowFactory>(std::move(factory)) : nullptr;
}

std::shared_ptr<NotifyTarget> CreateNotifyWindow() {
  std::shared_ptr<const NotifyWindowFactory> factory;
  {
    const std::lock_guard<std::mutex> lock(hookLock());
    factory = installedFactory();
  }
  return factory ? (*factory)() : nullptr;
}
