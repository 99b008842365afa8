#pragma once
// The dispatcher's recording of its traffic: the byte trace, the event log
// and the time its log counts from. Not locked itself: the dispatcher guards
// it with its DispatchLock, except the two switches, which are read without
// it so that an idle recording costs no lock.

#include <atomic>
#include <cstdint>

#include "serial/ByteTrace.h"
#include "serial/EventLog.h"

struct DispatcherTrace {
  // Empties the log, unbounded, and counts its time stamps from now.
  void RestartLog();
  // A log record stamped with the milliseconds since RestartLog.
  void AddLog(LogKind kind, int32_t value, const uint8_t* data, uint32_t count);
  void AddBytes(uint8_t direction, const uint8_t* bytes, uint32_t count);

  ByteTrace Bytes;
  EventLog Log;
  uint32_t StartTime = 0;
  std::atomic<bool> TraceActive{false};
  std::atomic<bool> LogActive{false};
};
