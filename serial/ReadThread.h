#pragma once
// The read thread of a POSIX port: sleeps in poll() on the device and its
// wake event (set only by the stop) and, as bytes arrive, reads what the
// driver holds into 256-byte data items, pushed onto the input queue in
// arrival order. One readv() fills up to kItemsPerRead items, and the items
// of one read are queued together, so a fast stream costs a system call and
// a queue lock per 4 KiB, not per 256 bytes. Reads never block. The device
// hanging up or failing ends the port threads with -161.

#include <memory>
#include <vector>

#include "serial/IOBuffer.h"
#include "serial/SioPosixThread.h"

class TReadThread : public TSioPosixThread {
 public:
  // Items one read fills at most.
  static constexpr size_t kItemsPerRead = 16;

  using TSioPosixThread::TSioPosixThread;

 protected:
  void Execute() override;

 private:
  // Reads until the driver has nothing more (or the thread must stop).
  void readAvailable();
  // Fresh items for the next read, kItemsPerRead of them; false (the
  // threads stopped) when there is no memory for one.
  bool holdBuffers();
  // Queues the first count bytes of the held items, in order.
  void queueRead(size_t count);

  std::vector<std::unique_ptr<TDataBuffer>> held_;
  std::vector<std::unique_ptr<TDataBuffer>> filled_;
};
