#include "serial/NotifyWindowFactory.h"

#include "serial/InstalledHook.h"

namespace {

InstalledHook<std::shared_ptr<NotifyTarget>()>& factoryHook() {
  static InstalledHook<std::shared_ptr<NotifyTarget>()> hook;
  return hook;
}

}  // namespace

void SetNotifyWindowFactory(NotifyWindowFactory factory) {
  factoryHook().Install(std::move(factory));
}

std::shared_ptr<NotifyTarget> CreateNotifyWindow() {
  const auto factory = factoryHook().Current();
  return factory ? (*factory)() : nullptr;
}
