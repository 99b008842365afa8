#pragma once
// The serial dispatcher on a Win32 COM device: the platform operations under
// TSioBaseDispatcher and the read, write and status threads (TReadThread,
// TWriteThread, TStatusThread of the Win32 layer) that move bytes and line
// events between the device and the dispatcher.
//
// The device is opened by its name ("\\.\COMn") for sole use and overlapped
// I/O. The status thread waits for line events (WaitCommEvent) and wakes the
// read thread through SerialEvent as characters arrive; the read thread reads
// what the driver holds into 256-byte data items, and otherwise looks every
// 50 ms; the write thread sends the output ring one block per drain. Every
// wait of the threads lasts at most 100 ms, so a stop is seen promptly. A
// device that fails ends the threads with -161 (read, line events) or -160
// (write); the program keeps running.

#include <windows.h>

#include <cstdint>

#include "serial/SioBaseDispatcher.h"

class TSioWin32Dispatcher : public TSioBaseDispatcher {
 public:
  // The bytes of one received item.
  static constexpr int32_t kReadBufferSize = 256;

  explicit TSioWin32Dispatcher(TSioBaseComponent* owner);
  ~TSioWin32Dispatcher() override;

  // EscapeCommFunction; 0 whatever it returned.
  int32_t SendLineEscape(int32_t func) override;
  int32_t PurgeDeviceQueue(int32_t which) override;
  int32_t CollectLineErrors(ComStat& status) override;
  // Not used on this platform: 0.
  uint32_t QueryEventMask(int32_t mask) override;
  int32_t FetchLineSettings(Dcb& dcb) override;
  int32_t TakeReceivedBytes(uint8_t* buffer, int32_t size) override;
  int32_t ApplyLineSettings(Dcb& dcb) override;
  int32_t QueueOutputBytes(const uint8_t* buffer, int32_t size) override;
  // Not used on this platform (the status thread waits itself): mask 0, true.
  bool AwaitLineEvent(uint32_t& mask) override;
  // SetupComm; false (SioLastError set) when it failed.
  bool SizeDeviceQueues(int32_t inSize, int32_t outSize) override;
  void StartPortThreads() override;
  void ReleasePortEvents() override;
  uint32_t PendingOutputCount() override;
  uint32_t PendingInputCount() override;
  // CreateFileA; -1 on failure, with SioLastError set to GetLastError (2 no
  // such port, 5 in use). The sizes are not used here.
  intptr_t OpenDevice(const char* name, int32_t inSize, int32_t outSize) override;
  int32_t CloseDevice() override;
  // Sleep(0); 0.
  int32_t YieldTimeSlice() override;
  // GetCommModemStatus; 0 when the driver cannot tell.
  uint8_t ReadModemLines() override;

  // ---- For the port threads ------------------------------------------------

  HANDLE Device() const { return reinterpret_cast<HANDLE>(DeviceHandle()); }
  // Set by the status thread when a character arrives; the read thread waits
  // on it.
  SioEvent& SerialEvent() { return serialEvent_; }
  // The write thread's side of the output ring.
  using TSioBaseDispatcher::TakeOutputBlock;

 private:
  int32_t purgeOutput();
  int32_t purgeInput();
  // Stops the four threads, in the order status, write, read, dispatch.
  void stopThreads();

  SioEvent serialEvent_{SioEvent::Mode::AutoReset};
  // A close is running (under DispatchLock).
  bool closing_ = false;
};
