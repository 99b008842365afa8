#pragma once
// The base of every dispatcher on a POSIX descriptor, whatever the
// descriptor is (a terminal, a socket): the descriptor, the wake event each
// port thread sleeps on beside it, the stop that wakes every one of them,
// the write thread's side of the output ring, and the platform operations
// that do not depend on what is behind the descriptor: the input queue and
// the output ring, starting the four threads, and stopping them on close.
// The read and write threads (TReadThread, TWriteThread) run on any such
// dispatcher; a platform adds its device operations and its status thread.
//
// A device that goes away (a hang-up, a read or write error, a connection
// closed by the far end) ends the port threads with -161 or -160, which the
// base turns into the PORT_LOST notice (TSioBaseDispatcher::DeviceLost).

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "serial/SioBaseDispatcher.h"
#include "serial/WakeEvent.h"

class TSioDescriptorDispatcher : public TSioBaseDispatcher {
 public:
  // The bytes of one received item.
  static constexpr int32_t kReadBufferSize = 256;
  // The longest wait of an output purge for the write thread before it looks
  // again whether the thread is still there.
  static constexpr std::chrono::milliseconds kPurgeLook{100};

  using TSioBaseDispatcher::TSioBaseDispatcher;

  // The device's descriptor, -1 when none is open.
  int Device() const { return static_cast<int>(DeviceHandle()); }
  // Wakes the read thread (a stop).
  WakeEvent& SerialEvent() { return serialEvent_; }
  // Wakes the status thread (a stop, or work a platform gives it).
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
  // block being sent and what the descriptor's own queue holds (TIOCOUTQ; a
  // device that keeps none counts 0).
  uint32_t UnsentOutputCount();

  // ---- Platform operations shared by every descriptor ------------------------

  int32_t TakeReceivedBytes(uint8_t* buffer, int32_t size) override;
  int32_t QueueOutputBytes(const uint8_t* buffer, int32_t size) override;
  // Not used on POSIX platforms: 0.
  uint32_t QueryEventMask(int32_t mask) override;
  // Not used on POSIX platforms: mask 0, true.
  bool AwaitLineEvent(uint32_t& mask) override;
  // The system sizes its own queues: always true.
  bool SizeDeviceQueues(int32_t inSize, int32_t outSize) override;
  // The read thread, the dispatch thread, the write thread and the
  // platform's status thread (CreateStatusThread), each acknowledged (or
  // given 3000 ms) before the next starts.
  void StartPortThreads() override;
  void ReleasePortEvents() override;
  uint32_t PendingOutputCount() override;
  uint32_t PendingInputCount() override;
  // Stops the threads (each woken in its sleep, in the order status, write,
  // read, dispatch), pumping messages while it waits, then gives the
  // descriptor back (ReleaseDevice).
  int32_t CloseDevice() override;
  int32_t YieldTimeSlice() override;

 protected:
  // The platform's fourth thread, started last.
  virtual std::unique_ptr<TSioDispatcherThread> CreateStatusThread() = 0;
  // Closes device, the descriptor being given up: 0, or -1 when that failed.
  virtual int32_t ReleaseDevice(int device) = 0;
  // Makes the write thread drop the block it is sending and waits (at most
  // 5000 ms, less when the thread ends) for its acknowledgement. Whether
  // there was a write thread to ask.
  bool AbortPendingWrite();

 private:
  WakeEvent serialEvent_;
  WakeEvent statusEvent_;
  WakeEvent writeWakeEvent_;
  // A close is running (under DispatchLock).
  bool closing_ = false;
  // Under OutputLock, so that bytes leaving the ring are never out of count.
  size_t sending_ = 0;
};
