#include "serial/MsClock.h"

#include <chrono>

uint32_t SioMilliseconds() {
  const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count());
}
