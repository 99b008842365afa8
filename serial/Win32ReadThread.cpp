#include "serial/Win32ReadThread.h"

#include <new>

#include "serial/SioExceptions.h"

namespace {

// How long the thread waits for SerialEvent before it reads anyway.
constexpr DWORD kReadLook = 50;

}  // namespace

void TReadThread::Execute() {
  if (!CreateOverlappedEvent()) return;
  // Reads return at once with what the driver holds, possibly nothing.
  COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 0};
  SetCommTimeouts(Device(), &timeouts);
  const HANDLE serialEvent = Port().SerialEvent().NativeHandle();
  while (Running()) {
    const DWORD woken = WaitForSingleObject(serialEvent, kReadLook);
    if (woken != WAIT_OBJECT_0 && woken != WAIT_TIMEOUT) {
      Fail(kDeviceReadError);
      continue;
    }
    readAvailable();
  }
}

void TReadThread::readAvailable() {
  if (!held_ && !holdBuffer()) return;
  int32_t count = readStep();
  while (count > 0) {
    held_->UsedCount = static_cast<uint32_t>(count);
    Port().InputQueue().PushItem(std::move(held_));
    if (!holdBuffer()) return;
    count = readStep();
  }
  if (count < 0) FailUnlessClosed(kDeviceReadError);
}

bool TReadThread::holdBuffer() {
  try {
    held_ = std::make_unique<TDataBuffer>(TSioWin32Dispatcher::kReadBufferSize);
    return true;
  } catch (const Exception&) {
  } catch (const std::bad_alloc&) {
  }
  Fail(kThreadOutOfMemory);
  return false;
}

int32_t TReadThread::readStep() {
  DWORD count = 0;
  if (ReadFile(Device(), held_->Data.get(), static_cast<DWORD>(held_->Size), &count,
               &Overlapped())) {
    return static_cast<int32_t>(count);
  }
  if (GetLastError() != ERROR_IO_PENDING) return kDeviceReadError;
  const int32_t result = WaitForOverlapped();
  if (result >= 0) return result;
  return GetLastError() == ERROR_OPERATION_ABORTED ? 0 : result;
}

void TReadThread::BeforeFinish() {
  held_.reset();
  TSioWin32Thread::BeforeFinish();
}
