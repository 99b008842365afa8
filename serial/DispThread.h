#pragma once
// The dispatch thread: sleeps on the input queue until there is work, with
// no time limit (the stop wakes it), and runs the dispatcher's input and
// timer passes until the port closes.

#include "serial/SioDispatcherThread.h"

class TDispThread : public TSioDispatcherThread {
 public:
  using TSioDispatcherThread::TSioDispatcherThread;

 protected:
  void Execute() override;
  // The buffers go with the thread when the port closed or the threads were
  // killed.
  void BeforeFinish() override;
};
