#include "app/BlockingPause.h"

#include <thread>

namespace {

void sleepFor(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

PauseHook& installedPause() {
  static PauseHook pause = sleepFor;
  return pause;
}

}  // namespace

void SetBlockingPause(PauseHook hook) { installedPause() = hook ? std::move(hook) : sleepFor; }

void BlockingPause(std::chrono::milliseconds duration) { installedPause()(duration); }
