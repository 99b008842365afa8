#include "serial/WriteThread.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

void TWriteThread::Execute() {
  TSioDescriptorDispatcher& port = Port();
  while (Running()) {
    // The stop sets OutputReadyEvent too, so this needs no time limit.
    switch (SioEvent::WaitForEither(port.OutputReadyEvent(), port.OutputFlushEvent())) {
      case 0:
        if (!port.KillFlag()) drain();
        break;
      case 1:
        port.ThreadAckEvent().Set();
        break;
      default:
        break;
    }
  }
}

void TWriteThread::drain() {
  while (Running() && Port().TakeSendingBlock(block_)) {
    const bool sent = sendBlock();
    // Sent, or dropped by a flush or a stop: nothing of it is on its way.
    Port().SendingLeft(0);
    if (!sent) return;
  }
}

bool TWriteThread::sendBlock() {
  size_t sent = 0;
  while (sent < block_.size()) {
    if (flushRequested() || !Running()) return false;
    const ssize_t written = write(Device(), block_.data() + sent, block_.size() - sent);
    if (written > 0) {
      sent += static_cast<size_t>(written);
      Port().SendingLeft(block_.size() - sent);
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno != EAGAIN) {
      FailWithError(errno, kDeviceWriteError);
      return false;
    }
    // The device is full: wait for room, a flush or a stop. A hang-up or an
    // error shows in the next write.
    const Readiness ready = WaitForDevice(POLLOUT, Port().WriteWakeEvent());
    if (ready.Error != 0) {
      FailWithError(ready.Error, kDeviceWriteError);
      return false;
    }
    if (ready.DeviceEvents & POLLNVAL) {
      FailWithError(EBADF, kDeviceWriteError);
      return false;
    }
  }
  return true;
}

bool TWriteThread::flushRequested() {
  if (!Port().OutputFlushEvent().WaitFor(std::chrono::milliseconds(0))) return false;
  // The rest of the block is dropped before the purge hears it is done.
  Port().SendingLeft(0);
  Port().ThreadAckEvent().Set();
  return true;
}
