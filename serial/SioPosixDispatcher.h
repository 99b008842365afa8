#pragma once
// The serial dispatcher on a POSIX terminal device (Linux): the platform
// operations under TSioBaseDispatcher and the read, write and status threads
// that move bytes and line events between the device and the dispatcher.
//
// The device is opened by the name "\\.\COMn" (see ResolvePortPath), for
// sole use and non-blocking; the first line configuration makes it raw. The
// read thread sleeps in poll() on the device and wakes as bytes arrive, the
// write thread sends the output ring one block per drain, and the status
// thread watches the modem lines and the kernel's line error counters
// (devices without them, such as pseudo-terminals, leave it asleep). The
// threads sleep with no time limit until there is work; the stop (a close or
// a failing thread) sets the kill flag and wakes every one of them, so an
// idle port costs nothing and a close is still seen at once. A device that
// goes away ends the threads with -161 (read) or -160 (write), and the
// component hears of it (PORT_LOST); the program keeps running.
//
// Besides its own locks the port takes the UUCP lock file of the device
// (UucpLock.h) while it is open. RS-485 mode (the DCB's RTS toggle) is the
// kernel's RS-485 support, refused with EINVAL where the driver has none.

#include <atomic>
#include <cstdint>
#include <mutex>

#include "serial/Dcb.h"
#include "serial/LineErrorCounters.h"
#include "serial/SioDescriptorDispatcher.h"
#include "serial/UucpLock.h"

struct termios2;

class TSioPosixDispatcher : public TSioDescriptorDispatcher {
 public:
  // The longest wait of an output purge for the write thread before it looks
  // again whether the thread is still there.
  static constexpr std::chrono::milliseconds kPurgeLook{100};

  explicit TSioPosixDispatcher(TSioBaseComponent* owner);
  ~TSioPosixDispatcher() override;

  // Where the line error counters come from (default: the kernel's); set
  // before the device is opened.
  void SetLineCountSource(LineCountSource source);

  // 0 whatever happened; escapes 3 to 6 raise and drop RTS and DTR.
  int32_t SendLineEscape(int32_t func) override;
  int32_t PurgeDeviceQueue(int32_t which) override;
  // cbOutQue counts every byte not yet on the line (UnsentOutputCount), so
  // that a line change waits for the kernel's queue too.
  int32_t CollectLineErrors(ComStat& status) override;
  uint32_t QueryEventMask(int32_t mask) override;
  int32_t FetchLineSettings(Dcb& dcb) override;
  int32_t TakeReceivedBytes(uint8_t* buffer, int32_t size) override;
  // 0, or minus the error code of a refused setting: as an opening error
  // (SioErrorOfErrno) until the port threads run, then as the system said.
  // A setting the device cannot take (see DcbToTermios, LineTaken), or RS-485
  // on a driver without it, is refused with EINVAL.
  int32_t ApplyLineSettings(Dcb& dcb) override;
  int32_t QueueOutputBytes(const uint8_t* buffer, int32_t size) override;
  bool AwaitLineEvent(uint32_t& mask) override;
  // The kernel sizes its own queues: always true.
  bool SizeDeviceQueues(int32_t inSize, int32_t outSize) override;
  void StartPortThreads() override;
  void ReleasePortEvents() override;
  uint32_t PendingOutputCount() override;
  uint32_t PendingInputCount() override;
  // -1 on failure, with SioLastError set to the mapped error (2 no such
  // port, 5 in use, else the error number).
  intptr_t OpenDevice(const char* name, int32_t inSize, int32_t outSize) override;
  int32_t CloseDevice() override;
  int32_t YieldTimeSlice() override;
  // 0 when the device has no modem lines.
  uint8_t ReadModemLines() override;

  // ---- For the status thread ------------------------------------------------

  LineErrorCounters& LineErrors() { return lineErrors_; }

 protected:
  // Makes device the open device; claimed: this dispatcher took it for sole
  // use and gives it back on close.
  void AdoptDevice(int device, bool claimed);
  // Writes the terminal settings of a line change (WriteTermios): 0, or the
  // error number.
  virtual int WriteTerminal(int device, const termios2& line);
  // Switches the driver's RS-485 mode (SetKernelRs485): 0, or the error
  // number.
  virtual int WriteRs485(int device, bool on);

 private:
  // Output purge: the write thread drops what it is sending and acknowledges.
  int32_t purgeOutput();
  int32_t purgeInput();
  // Follows the DCB's RTS toggle with the kernel's RS-485 mode: 0, or the
  // error number.
  int followRs485(const Dcb& dcb);

  LineErrorCounters lineErrors_;

  // The settings last written, for what the terminal does not hold.
  std::mutex lineLock_;
  Dcb keptLine_;

  // Under DispatchLock.
  bool closing_ = false;
  // Whether this dispatcher opened the device (and so claimed it).
  std::atomic<bool> ownsDevice_{false};
  UucpLock uucpLock_;
  // From the start of the port threads until the close: line-setting
  // failures are those of an open device.
  std::atomic<bool> inService_{false};
  // The kernel's RS-485 mode was switched on by this port. Under DispatchLock
  // while open.
  bool rs485On_ = false;
  // Until the device said it has no modem lines.
  std::atomic<bool> modemLinesKept_{true};
};
