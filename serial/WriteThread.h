#pragma once
// The write thread of a POSIX port: sleeps until output is queued, a flush
// is requested or the port stops, takes the whole output ring as one block
// per drain and writes it without blocking, waiting in poll() for room on
// the device. A flush request drops the rest of the block being sent and is
// acknowledged on ThreadAckEvent. A failing device ends the port threads
// with -160.

#include <cstdint>
#include <vector>

#include "serial/SioPosixThread.h"

class TWriteThread : public TSioPosixThread {
 public:
  using TSioPosixThread::TSioPosixThread;

 protected:
  void Execute() override;

 private:
  // Sends blocks until the ring is empty, a flush came or the thread stops.
  void drain();
  // Writes block_ whole; false when it was cut short (flush, stop, failure).
  bool sendBlock();
  // Takes a pending flush request and acknowledges it.
  bool flushRequested();

  std::vector<uint8_t> block_;
};
