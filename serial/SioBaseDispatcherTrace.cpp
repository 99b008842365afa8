// The byte trace and the event log of the dispatcher.

#include "serial/MsClock.h"
#include "serial/SioBaseDispatcher.h"

namespace {
using Lock = std::lock_guard<std::recursive_mutex>;
}  // namespace

void TSioBaseDispatcher::addLog(LogKind kind, int32_t value, const uint8_t* data, uint32_t count) {
  if (!logActive_.load()) return;
  const Lock lock(DispatchLock);
  log_.Add(kind, 0, SioMilliseconds() - startTime_, value, data, count);
}

void TSioBaseDispatcher::traceBytes(uint8_t direction, const uint8_t* bytes, uint32_t count) {
  if (!traceActive_.load()) return;
  const Lock lock(DispatchLock);
  for (uint32_t i = 0; i < count; ++i) trace_.Add(direction, bytes[i]);
}

int32_t TSioBaseDispatcher::InitTracing(uint32_t entries) {
  const Lock lock(DispatchLock);
  const int32_t result = trace_.Start(entries);
  if (result == 0) SetTracingActive(true);
  return result;
}

void TSioBaseDispatcher::SetTracingActive(bool active) {
  traceActive_.store(active);
  // A notice's reader records its bytes from now on, which the lock-free
  // reads do not.
  if (active) readerLimit_.store(0);
}

bool TSioBaseDispatcher::TracingActive() const { return traceActive_.load(); }

void TSioBaseDispatcher::ClearTracing() {
  const Lock lock(DispatchLock);
  trace_.Clear();
}

void TSioBaseDispatcher::StopTracing() {
  const Lock lock(DispatchLock);
  traceActive_.store(false);
  trace_.Release();
}

int32_t TSioBaseDispatcher::DumpTracing(const std::string& fileName, bool append, bool hex,
                                        bool allHex) {
  const Lock lock(DispatchLock);
  const int32_t result = trace_.Dump(fileName, append, hex, allHex);
  if (result != 0) StopTracing();
  return result;
}

std::vector<uint8_t> TSioBaseDispatcher::TraceEntries() {
  const Lock lock(DispatchLock);
  return trace_.Entries();
}

void TSioBaseDispatcher::InitLogging(uint32_t limit) {
  const Lock lock(DispatchLock);
  log_.Start(limit);
  logActive_.store(true);
}

void TSioBaseDispatcher::SetLoggingActive(bool active) { logActive_.store(active); }

bool TSioBaseDispatcher::LoggingActive() const { return logActive_.load(); }

void TSioBaseDispatcher::ClearLogging() {
  const Lock lock(DispatchLock);
  log_.Clear();
}

void TSioBaseDispatcher::StopLogging() {
  const Lock lock(DispatchLock);
  logActive_.store(false);
  log_.Clear();
}

int32_t TSioBaseDispatcher::DumpLogging(const std::string& fileName, bool append, bool hex,
                                        bool allHex) {
  const Lock lock(DispatchLock);
  const int32_t result = log_.Dump(fileName, append, hex, allHex, portName_);
  if (result != 0) StopLogging();
  return result;
}
