#include "serial/DispThread.h"

#include "serial/SioBaseDispatcher.h"

void TDispThread::Execute() {
  TSioBaseDispatcher& dispatcher = Dispatcher();
  TIOQueue& queue = dispatcher.InputQueue();
  for (;;) {
    // Asleep until there is work: a push, a read that makes room in a full
    // ring, a change of what is to be announced, or the stop (all wake the
    // queue). With the ring full nothing can be pulled however much is
    // queued.
    if (dispatcher.DispatchFull()) {
      queue.WaitForWake();
    } else {
      queue.WaitForItem();
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
