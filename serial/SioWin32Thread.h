#pragma once
// The base of the Win32 port threads (TReadThread, TWriteThread,
// TStatusThread): access to the device and the dispatcher, the thread's
// OVERLAPPED record with its event, the wait for an overlapped request, and
// the common way a failure ends every port thread.

#include <windows.h>

#include <cstdint>

#include "serial/ResultCodes.h"
#include "serial/SioDispatcherThread.h"
#include "serial/SioWin32Dispatcher.h"

class TSioWin32Thread : public TSioDispatcherThread {
 public:
  explicit TSioWin32Thread(TSioWin32Dispatcher& port) : TSioDispatcherThread(port), port_(port) {}

 protected:
  // Creates the overlapped record's event (manual-reset, initially clear,
  // unnamed) first thing in the body; false, with every port thread stopped,
  // when there is none to be had.
  bool CreateOverlappedEvent();
  // Closes the event as the thread ends.
  void BeforeFinish() override;

  TSioWin32Dispatcher& Port() const { return port_; }
  HANDLE Device() const { return port_.Device(); }
  OVERLAPPED& Overlapped() { return overlapped_; }
  // Neither terminated nor killed.
  bool Running() const { return !Terminated() && !port_.KillFlag(); }

  // Waits, 100 ms at a time while the thread runs, for the request pending
  // on the overlapped record: its count; -161 when it failed; 0 when the
  // thread was told to stop, the request then cancelled.
  virtual int32_t WaitForOverlapped();
  // The completed request's count (and the event cleared for the next), or
  // failure (GetLastError tells why).
  int32_t TakeOverlappedResult(int32_t failure);
  // Cancels the request pending on the overlapped record and waits until the
  // driver has let go of it, so its buffer may go.
  void CancelPending();

  // Stops every port thread; a nonzero code becomes this thread's result.
  void Fail(int32_t code);
  // Stops every port thread after a device call failed: without a code when
  // GetLastError is ERROR_INVALID_HANDLE (the device was closed under the
  // thread), else with code.
  void FailUnlessClosed(int32_t code);

 private:
  TSioWin32Dispatcher& port_;
  OVERLAPPED overlapped_{};
};
