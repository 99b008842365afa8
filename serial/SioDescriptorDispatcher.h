#pragma once
// What the port threads of a dispatcher on a POSIX descriptor need of it,
// whatever the descriptor is (a terminal here; a socket would do the same):
// the descriptor, the wake event each thread sleeps on beside it, the stop
// that wakes every one of them, and the write thread's side of the output
// ring. The read and write threads (TReadThread, TWriteThread) run on any
// such dispatcher; a platform adds its device operations and, where it has
// line status to watch, a status thread of its own.
//
// A device that goes away (a hang-up, a read or write error, a connection
// closed by the far end) ends the port threads with -161 or -160, which the
// base turns into the PORT_LOST notice (TSioBaseDispatcher::DeviceLost).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "serial/SioBaseDispatcher.h"
#include "serial/WakeEvent.h"

class TSioDescriptorDispatcher : public TSioBaseDispatcher {
 public:
  // The bytes of one received item.
  static constexpr int32_t kReadBufferSize = 256;

  using TSioBaseDispatcher::TSioBaseDispatcher;

  // The device's descriptor, -1 when none is open.
  int Device() const { return static_cast<int>(DeviceHandle()); }
  // Wakes the read thread (a stop).
  WakeEvent& SerialEvent() { return serialEvent_; }
  // Wakes the status thread (a stop).
  WakeEvent& StatusEvent() { return statusEvent_; }
  // Wakes the write thread out of a wait for room on the device (a flush or
  // a stop).
  WakeEvent& WriteWakeEvent() { return writeWakeEvent_; }
  // Sets the kill flag and wakes every port thread in its sleep.
  void KillThreads();

  // ---- The write thread's side of the output ring ----------------------------

  // Moves all queued output into block, which counts as being sent until
  // SendingLeft(0); false when there was none.
  bool TakeSendingBlock(std::vector<uint8_t>& block);
  // Bytes of the block being sent that are not yet written.
  void SendingLeft(size_t count);

  // Bytes put and not yet on the line: the output ring, the rest of the
  // block being sent and what the device's own queue holds (TIOCOUTQ; a
  // device that keeps none counts 0).
  uint32_t UnsentOutputCount();

 private:
  WakeEvent serialEvent_;
  WakeEvent statusEvent_;
  WakeEvent writeWakeEvent_;
  // Under OutputLock, so that bytes leaving the ring are never out of count.
  size_t sending_ = 0;
};
