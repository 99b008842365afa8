#include "serial/Win32WriteThread.h"

namespace {

// The longest a wait lasts before the thread looks again whether it must
// stop.
constexpr DWORD kStopLook = 100;
// WaitForOverlapped's result when a flush came.
constexpr int32_t kFlushed = -1;
// sendBlock's results besides 0 and kDeviceWriteError.
constexpr int32_t kBlockDropped = 1;

}  // namespace

void TWriteThread::Execute() {
  if (!CreateOverlappedEvent()) return;
  TSioWin32Dispatcher& port = Port();
  const HANDLE waitSet[] = {port.OutputReadyEvent().NativeHandle(),
                            port.OutputFlushEvent().NativeHandle()};
  while (Running()) {
    switch (WaitForMultipleObjects(2, waitSet, FALSE, kStopLook)) {
      case WAIT_OBJECT_0:
        if (!port.KillFlag() && drain() != 0) FailUnlessClosed(kDeviceWriteError);
        break;
      case WAIT_OBJECT_0 + 1:
        // Acknowledges a purge.
        port.ThreadAckEvent().Set();
        break;
      case WAIT_TIMEOUT:
        break;
      default:
        Fail(kDeviceWriteError);
        break;
    }
  }
}

int32_t TWriteThread::drain() {
  while (Port().TakeOutputBlock(block_)) {
    const int32_t sent = sendBlock();
    if (sent == kBlockDropped) return 0;
    if (sent != 0) return sent;
  }
  return 0;
}

int32_t TWriteThread::sendBlock() {
  size_t sent = 0;
  while (sent < block_.size()) {
    DWORD written = 0;
    if (WriteFile(Device(), block_.data() + sent, static_cast<DWORD>(block_.size() - sent),
                  &written, &Overlapped())) {
      sent += written;
      continue;
    }
    if (GetLastError() != ERROR_IO_PENDING) return kDeviceWriteError;
    const int32_t result = WaitForOverlapped();
    if (result == kFlushed) {
      // The rest of the block is dropped.
      Port().ThreadAckEvent().Set();
      return kBlockDropped;
    }
    if (result == kDeviceWriteError) return GetLastError() == ERROR_OPERATION_ABORTED ? 0 : kDeviceWriteError;
    sent += static_cast<size_t>(result);
  }
  return 0;
}

int32_t TWriteThread::WaitForOverlapped() {
  const HANDLE waitSet[] = {Overlapped().hEvent, Port().OutputFlushEvent().NativeHandle()};
  DWORD woken = WAIT_TIMEOUT;
  while (woken == WAIT_TIMEOUT && Running()) {
    woken = WaitForMultipleObjects(2, waitSet, FALSE, kStopLook);
  }
  if (woken == WAIT_OBJECT_0) return TakeOverlappedResult(kDeviceWriteError);
  // The write still pending must not outlive its block.
  CancelPending();
  return woken == WAIT_OBJECT_0 + 1 ? kFlushed : kDeviceWriteError;
}
