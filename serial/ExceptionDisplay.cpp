#include "serial/ExceptionDisplay.h"

#include <cstdio>
#include <memory>
#include <mutex>

#include "serial/SioExceptions.h"

namespace {

using Display = std::function<void(const std::exception&)>;

std::mutex& hookLock() {
  static std::mutex lock;
  return lock;
}

std::shared_ptr<const Display>& installedDisplay() {
  static std::shared_ptr<const Display> display;
  return display;
}

}  // namespace

void SetExceptionDisplay(Display display) {
  const std::lock_guard<std::mutex> lock(hookLock());
  installedDisplay() = display ? std::make_shared<const Display>(std::move(display)) : nullptr;
}

void ShowException(const std::exception& error) {
  std::shared_ptr<const Display> display;
  {
    const std::lock_guard<std::mutex> lock(hookLock());
    display = installedDisplay();
  }
  if (display) {
    (*display)(error);
  } else {
    std::fprintf(stderr, "%s\n", error.what());
  }
}

void ShowCurrentException() {
  try {
    throw;
  } catch (const std::exception& error) {
    ShowException(error);
  } catch (...) {
    ShowException(Exception("Unknown exception"));
  }
}
