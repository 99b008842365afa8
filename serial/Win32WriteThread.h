#pragma once
// The write thread of a Win32 port: sleeps (100 ms at a time) until output
// is queued or a flush is requested, takes the whole output ring as one
// block per drain and writes it with overlapped WriteFile. A flush (an
// output purge, or the close) aborts the pending write, drops the rest of
// the block and is acknowledged on ThreadAckEvent. A failing write ends the
// port threads with -160.

#include <cstdint>
#include <vector>

#include "serial/SioWin32Thread.h"

class TWriteThread : public TSioWin32Thread {
 public:
  using TSioWin32Thread::TSioWin32Thread;

 protected:
  void Execute() override;
  // As the base's, but a flush ends the wait too: -1 then. A time-out on
  // the way out counts as a failure (-160); either way the pending write is
  // cancelled first.
  int32_t WaitForOverlapped() override;

 private:
  // Sends blocks until the ring is empty or a flush came: 0, or -160 when a
  // write failed.
  int32_t drain();
  // Writes block_ whole: 0, 1 when a flush dropped the rest, -160 on failure.
  int32_t sendBlock();

  std::vector<uint8_t> block_;
};
