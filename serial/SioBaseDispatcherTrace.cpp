// The byte trace and the event log of the dispatcher.

#include "serial/SioBaseDispatcher.h"

namespace {
using Lock = std::lock_guard<std::recursive_mutex>;
}  // namespace

void TSioBaseDispatcher::addLog(LogKind kind, int32_t value, const uint8_t* data, uint32_t count) {
  if (!trace_.LogActive.load()) return;
  const Lock lock(DispatchLock);
  trace_.AddLog(kind, value, data, count);
}

void TSioBaseDispatcher::traceBytes(uint8_t direction, const uint8_t* bytes, uint32_t count) {
  if (!trace_.TraceActive.load()) return;
  const Lock lock(DispatchLock);
  trace_.AddBytes(direction, bytes, count);
}

int32_t TSioBaseDispatcher::InitTracing(uint32_t entries) {
  const Lock lock(DispatchLock);
  const int32_t result = trace_.Bytes.Start(entries);
  if (result == 0) SetTracingActive(true);
  return result;
}

void TSioBaseDispatcher::SetTracingActive(bool active) {
  trace_.TraceActive.store(active);
  // A notice's reader records its bytes from now on, which the lock-free
  // reads do not.
  if (active) ring_.ReaderLimit.store(0);
}

bool TSioBaseDispatcher::TracingActive() const { return trace_.TraceActive.load(); }

void TSioBaseDispatcher::ClearTracing() {
  const Lock lock(DispatchLock);
  trace_.Bytes.Clear();
}

void TSioBaseDispatcher::StopTracing() {
  const Lock lock(DispatchLock);
  trace_.TraceActive.store(false);
  trace_.Bytes.Release();
}

int32_t TSioBaseDispatcher::DumpTracing(const std::string& fileName, bool append, bool hex,
                                        bool allHex) {
  const Lock lock(DispatchLock);
  const int32_t result = trace_.Bytes.Dump(fileName, append, hex, allHex);
  if (result != 0) StopTracing();
  return result;
}

std::vector<uint8_t> TSioBaseDispatcher::TraceEntries() {
  const Lock lock(DispatchLock);
  return trace_.Bytes.Entries();
}

void TSioBaseDispatcher::InitLogging(uint32_t limit) {
  const Lock lock(DispatchLock);
  trace_.Log.Start(limit);
  trace_.LogActive.store(true);
}

void TSioBaseDispatcher::SetLoggingActive(bool active) { trace_.LogActive.store(active); }

bool TSioBaseDispatcher::LoggingActive() const { return trace_.LogActive.load(); }

void TSioBaseDispatcher::ClearLogging() {
  const Lock lock(DispatchLock);
  trace_.Log.Clear();
}

void TSioBaseDispatcher::StopLogging() {
  const Lock lock(DispatchLock);
  trace_.LogActive.store(false);
  trace_.Log.Clear();
}

int32_t TSioBaseDispatcher::DumpLogging(const std::string& fileName, bool append, bool hex,
                                        bool allHex) {
  const Lock lock(DispatchLock);
  const int32_t result = trace_.Log.Dump(fileName, append, hex, allHex, portName_);
  if (result != 0) StopLogging();
  return result;
}
