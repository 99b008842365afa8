#include "serial/DispatcherTrace.h"

#include <chrono>

namespace {

// Milliseconds on the monotonic clock, wrapping at 32 bits.
uint32_t nowMs() {
  const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count());
}

}  // namespace

void DispatcherTrace::RestartLog() {
  StartTime = nowMs();
  Log.Start(0);
}

void DispatcherTrace::AddLog(LogKind kind, int32_t value, const uint8_t* data, uint32_t count) {
  Log.Add(kind, 0, nowMs() - StartTime, value, data, count);
}

void DispatcherTrace::AddBytes(uint8_t direction, const uint8_t* bytes, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) Bytes.Add(direction, bytes[i]);
}
