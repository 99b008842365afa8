#include "serial/ReadThread.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "serial/SioExceptions.h"

void TReadThread::Execute() {
  while (Running()) {
    const Readiness ready = WaitForDevice(POLLIN, Port().SerialEvent());
    if (ready.Error != 0) {
      FailWithError(ready.Error, kReadError);
    } else if (ready.DeviceEvents & POLLNVAL) {
      FailWithError(EBADF, kReadError);
    } else if (ready.DeviceEvents != 0) {
      // Hang-ups and errors too: the read tells which.
      readAvailable();
    }
  }
}

void TReadThread::readAvailable() {
  while (Running() && holdBuffer()) {
    const ssize_t count = read(Device(), buffer_->Data.get(), TSioPosixDispatcher::kReadBufferSize);
    if (count > 0) {
      buffer_->UsedCount = static_cast<uint32_t>(count);
      Port().InputQueue().PushItem(std::move(buffer_));
    } else if (count == 0) {
      // A raw line with a one-byte minimum reads 0 only once it hung up.
      Fail(kReadError);
    } else if (errno == EAGAIN) {
      return;
    } else if (errno != EINTR) {
      FailWithError(errno, kReadError);
    }
  }
}

bool TReadThread::holdBuffer() {
  if (buffer_) return true;
  try {
    buffer_ = std::make_unique<TDataBuffer>(TSioPosixDispatcher::kReadBufferSize);
    return true;
  } catch (const Exception&) {
  } catch (const std::bad_alloc&) {
  }
  Fail(kNoMemory);
  return false;
}
