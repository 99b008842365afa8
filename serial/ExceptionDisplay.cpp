#include "serial/ExceptionDisplay.h"

#include <cstdio>

#include "serial/InstalledHook.h"
#include "serial/SioExceptions.h"

namespace {

InstalledHook<void(const std::exception&)>& displayHook() {
  static InstalledHook<void(const std::exception&)> hook;
  return hook;
}

}  // namespace

void SetExceptionDisplay(std::function<void(const std::exception&)> display) {
  displayHook().Install(std::move(display));
}

void ShowException(const std::exception& error) {
  if (const auto display = displayHook().Current()) {
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
