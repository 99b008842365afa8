#pragma once
// The read thread of a POSIX port: sleeps in poll() on the device and its
// wake event (set only by the stop) and, as bytes arrive, reads everything the driver holds
// into 256-byte data items, each pushed onto the input queue in arrival
// order. Reads never block. The device hanging up or failing ends the port
// threads with -161.

#include <memory>

#include "serial/IOBuffer.h"
#include "serial/SioPosixThread.h"

class TReadThread : public TSioPosixThread {
 public:
  using TSioPosixThread::TSioPosixThread;

 protected:
  void Execute() override;

 private:
  // Reads until the driver has nothing more (or the thread must stop).
  void readAvailable();
  // A fresh item for the next read; false (the threads stopped) when there is
  // no memory for it.
  bool holdBuffer();

  std::unique_ptr<TDataBuffer> buffer_;
};
