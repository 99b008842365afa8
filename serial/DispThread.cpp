#include "serial/DispThread.h"

#include "serial/SioBaseDispatcher.h"

void TDispThread::Execute() {
  TSioBaseDispatcher& dispatcher = Dispatcher();
  TIOQueue& queue = dispatcher.InputQueue();
  for (;;) {
    // With the ring full nothing can be pulled however much is queued, so
    // sleep until a read makes room (it wakes the queue) or the next round.
    if (dispatcher.DispatchFull()) {
      queue.WaitForWake(TSioBaseDispatcher::kDispatchWake);
    } else {
      queue.WaitForItem(TSioBaseDispatcher::kDispatchWake);
    }
    if (dispatcher.KillFlag() || Terminated()) return;
    dispatcher.ServiceInput();
    dispatcher.ServiceTimers();
    if (dispatcher.KillFlag() || dispatcher.ClosePending()) break;
  }
  dispatcher.ThreadAckEvent().Set();
}

void TDispThread::BeforeFinish() {
  TSioBaseDispatcher& dispatcher = Dispatcher();
  dispatcher.SetReleaseOnExit(dispatcher.ClosePending() || dispatcher.KillFlag());
}
