#include "serial/Win32StatusThread.h"

#include <new>

#include "serial/CommCodes.h"

namespace {

// The events of a status item; a plain character arrival is not one.
constexpr uint32_t kQueuedEvents = 0x21F8;
// The modem line events: CTS, DSR, carrier and ring changes, the ring's
// trailing edge.
constexpr uint32_t kModemLineEvents = kEvCts | kEvDsr | kEvRlsd | kEvRing | kEvRingTrailingEdge;

}  // namespace

void TStatusThread::Execute() {
  if (!CreateOverlappedEvent()) return;
  SetCommMask(Device(), LastMask);
  while (Running()) {
    if (waitForLineEvent() < 0) {
      FailUnlessClosed(kDeviceReadError);
      continue;
    }
    if (mask_ & kEvRxChar) Port().SerialEvent().Set();
    if (mask_ & kQueuedEvents) queueEvents();
  }
}

int32_t TStatusThread::waitForLineEvent() {
  bool started = startWait();
  // A driver without modem lines (a virtual port) refuses to watch them:
  // the line events it can report are still worth waiting for.
  if (!started && GetLastError() == ERROR_NOT_SUPPORTED && (LastMask & kModemLineEvents)) {
    LastMask &= ~kModemLineEvents;
    SetCommMask(Device(), LastMask);
    started = startWait();
  }
  if (started) return 0;
  if (GetLastError() != ERROR_IO_PENDING) return kDeviceReadError;
  const int32_t result = WaitForOverlapped();
  // A wait aborted under the thread (a purge, a mask change) reports no
  // events; the device is still there.
  if (result < 0 && GetLastError() == ERROR_OPERATION_ABORTED) {
    mask_ = 0;
    return 0;
  }
  return result < 0 ? result : 0;
}

bool TStatusThread::startWait() {
  mask_ = 0;
  return WaitCommEvent(Device(), &mask_, &Overlapped()) != FALSE;
}

void TStatusThread::queueEvents() {
  try {
    Port().InputQueue().PushItem(std::make_unique<TStatusBuffer>(mask_));
  } catch (const std::bad_alloc&) {
    Fail(kThreadOutOfMemory);
  }
}
