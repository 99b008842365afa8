#include "serial/SioWin32Thread.h"

namespace {

// The longest a thread waits before it looks again whether it must stop.
constexpr DWORD kStopLook = 100;

}  // namespace

bool TSioWin32Thread::CreateOverlappedEvent() {
  overlapped_.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (overlapped_.hEvent != nullptr) return true;
  Fail(kThreadOutOfMemory);
  return false;
}

void TSioWin32Thread::BeforeFinish() {
  if (overlapped_.hEvent != nullptr) CloseHandle(overlapped_.hEvent);
  overlapped_.hEvent = nullptr;
}

int32_t TSioWin32Thread::WaitForOverlapped() {
  DWORD woken = WAIT_TIMEOUT;
  while (woken == WAIT_TIMEOUT && Running())
    woken = WaitForSingleObject(overlapped_.hEvent, kStopLook);
  if (woken == WAIT_OBJECT_0) return TakeOverlappedResult(kDeviceReadError);
  // Told to stop, or the wait itself failed: the request must not outlive
  // the buffer it fills.
  CancelPending();
  return woken == WAIT_TIMEOUT ? 0 : kDeviceReadError;
}

int32_t TSioWin32Thread::TakeOverlappedResult(int32_t failure) {
  DWORD count = 0;
  if (!GetOverlappedResult(Device(), &overlapped_, &count, TRUE)) return failure;
  ResetEvent(overlapped_.hEvent);
  return static_cast<int32_t>(count);
}

void TSioWin32Thread::CancelPending() {
  CancelIo(Device());
  DWORD count = 0;
  GetOverlappedResult(Device(), &overlapped_, &count, TRUE);
}

void TSioWin32Thread::Fail(int32_t code) {
  if (code != 0) SetReturnValue(code);
  port_.SetKillFlag();
}

void TSioWin32Thread::FailUnlessClosed(int32_t code) {
  Fail(GetLastError() == ERROR_INVALID_HANDLE ? 0 : code);
}
