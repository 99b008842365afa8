// SioEvent on Windows: a Win32 event object, unnamed and without security
// attributes, so the port threads can wait on it together with the events
// of their overlapped I/O.

#include <windows.h>

#include <system_error>

#include "serial/SioEvent.h"
#include "serial/Win32Records.h"

struct SioEvent::State {
  State(Mode eventMode, bool initiallySet)
      : mode(eventMode),
        handle(CreateEventA(nullptr, eventMode == Mode::ManualReset, initiallySet, nullptr)) {
    if (handle == nullptr) {
      throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                              "CreateEventA");
    }
  }
  ~State() { CloseHandle(handle); }

  const Mode mode;
  const HANDLE handle;
};

namespace {

int waitForEither(HANDLE first, HANDLE second, DWORD milliseconds) {
  const HANDLE events[] = {first, second};
  // The lower index wins when both are set.
  switch (WaitForMultipleObjects(2, events, FALSE, milliseconds)) {
    case WAIT_OBJECT_0:
      return 0;
    case WAIT_OBJECT_0 + 1:
      return 1;
    default:
      return -1;
  }
}

}  // namespace

SioEvent::SioEvent(Mode mode, bool initiallySet)
    : state_(std::make_unique<State>(mode, initiallySet)) {}

SioEvent::~SioEvent() = default;

void SioEvent::Set() { SetEvent(state_->handle); }

void SioEvent::Reset() { ResetEvent(state_->handle); }

bool SioEvent::IsSet() const {
  if (WaitForSingleObject(state_->handle, 0) != WAIT_OBJECT_0) return false;
  // Looking consumed the signal of an auto-reset event: give it back.
  if (state_->mode == Mode::AutoReset) SetEvent(state_->handle);
  return true;
}

bool SioEvent::WaitFor(std::chrono::milliseconds timeout) {
  return WaitForSingleObject(state_->handle, Win32WaitMilliseconds(timeout)) == WAIT_OBJECT_0;
}

void SioEvent::Wait() { WaitForSingleObject(state_->handle, INFINITE); }

int SioEvent::WaitForEither(SioEvent& first, SioEvent& second, std::chrono::milliseconds timeout) {
  return waitForEither(first.state_->handle, second.state_->handle, Win32WaitMilliseconds(timeout));
}

int SioEvent::WaitForEither(SioEvent& first, SioEvent& second) {
  return waitForEither(first.state_->handle, second.state_->handle, INFINITE);
}

void* SioEvent::NativeHandle() const { return state_->handle; }
