#include "serial/MessagePump.h"

#include <chrono>
#include <thread>

#include "serial/InstalledHook.h"

namespace {

InstalledHook<void()>& pumpHook() {
  static InstalledHook<void()> hook;
  return hook;
}

}  // namespace

void SetMessagePump(std::function<void()> pump) { pumpHook().Install(std::move(pump)); }

void PumpOneMessage() {
  if (const auto pump = pumpHook().Current()) {
    (*pump)();
  } else {
    // Without a GUI there is nothing to pump; a millisecond keeps the waiting
    // loop from spinning.
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}
