#include "serial/StatusThread.h"

#include <new>

#include "serial/CommCodes.h"
#include "serial/LineEvents.h"
#include "serial/ModemLines.h"

namespace {

// The events of a status item; a plain character arrival is not one.
constexpr uint32_t kQueuedEvents = 0x21F8;

}  // namespace

void TStatusThread::Execute() {
  TSioDescriptorDispatcher& port = Port();
  modemLinesKept_ = !NoModemLines(ReadModemLineBits(Device(), modemLines_));
  while (Running()) {
    if (!modemLinesKept_ && !terminal_.LineErrors().Kept()) {
      // Nothing will ever change: sleep until the stop.
      port.StatusEvent().Wait();
      continue;
    }
    port.StatusEvent().WaitFor(kWatchPeriod);
    uint32_t events = 0;
    if (!Running() || !lookAtLine(events)) continue;
    events &= LastMask;
    if (events & kQueuedEvents) queueEvents(events);
  }
}

bool TStatusThread::lookAtLine(uint32_t& events) {
  if (!lookAtModemLines(events)) return false;
  uint32_t errors = 0;
  if (const int error = terminal_.LineErrors().Poll(Device(), errors)) {
    FailWithError(error, kDeviceReadError);
    return false;
  }
  events |= LineErrorEvents(errors);
  return true;
}

bool TStatusThread::lookAtModemLines(uint32_t& events) {
  if (!modemLinesKept_) return true;
  uint8_t now = 0;
  const int error = ReadModemLineBits(Device(), now);
  if (NoModemLines(error)) {
    modemLinesKept_ = false;
    return true;
  }
  if (error != 0) {
    FailWithError(error, kDeviceReadError);
    return false;
  }
  events |= ModemLineEvents(modemLines_, now);
  modemLines_ = now;
  return true;
}

void TStatusThread::queueEvents(uint32_t events) {
  try {
    Port().InputQueue().PushItem(std::make_unique<TStatusBuffer>(events));
  } catch (const std::bad_alloc&) {
    Fail(kThreadOutOfMemory);
  }
}
