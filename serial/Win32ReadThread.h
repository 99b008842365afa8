#pragma once
// The read thread of a Win32 port: sets the device's time-outs so a read
// returns at once with what the driver holds, then, woken by the status
// thread through SerialEvent as characters arrive or every 50 ms, reads
// into 256-byte data items and queues each filled one on the input queue in
// arrival order. A failing read ends the port threads with -161.

#include <memory>

#include "serial/IOBuffer.h"
#include "serial/SioWin32Thread.h"

class TReadThread : public TSioWin32Thread {
 public:
  using TSioWin32Thread::TSioWin32Thread;

 protected:
  void Execute() override;
  // Frees the buffer still held (it is empty), then as the base.
  void BeforeFinish() override;

 private:
  // Reads and queues until the driver has nothing more.
  void readAvailable();
  // A fresh buffer in held_; false (the threads stopped) when there is no
  // memory for it.
  bool holdBuffer();
  // One read into held_: the count, 0 when nothing came or the thread must
  // stop, -161 on failure.
  int32_t readStep();

  std::unique_ptr<TDataBuffer> held_;
};
