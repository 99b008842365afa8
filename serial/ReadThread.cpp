#include "serial/ReadThread.h"

#include <poll.h>
#include <sys/uio.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <new>

#include "serial/SioExceptions.h"

namespace {

constexpr size_t kItemSize = TSioDescriptorDispatcher::kReadBufferSize;

}  // namespace

void TReadThread::Execute() {
  while (Running()) {
    const Readiness ready = WaitForDevice(POLLIN, Port().SerialEvent());
    if (ready.Error != 0) {
      FailWithError(ready.Error, kDeviceReadError);
    } else if (ready.DeviceEvents & POLLNVAL) {
      FailWithError(EBADF, kDeviceReadError);
    } else if (ready.DeviceEvents != 0) {
      // Hang-ups and errors too: the read tells which.
      readAvailable();
    }
  }
}

void TReadThread::readAvailable() {
  while (Running() && holdBuffers()) {
    std::array<iovec, kItemsPerRead> parts;
    for (size_t i = 0; i < kItemsPerRead; ++i) parts[i] = {held_[i]->Data.get(), kItemSize};
    const ssize_t count = readv(Device(), parts.data(), static_cast<int>(parts.size()));
    if (count > 0) {
      queueRead(static_cast<size_t>(count));
      // Less than asked for: the driver is empty now, and poll() tells when
      // it is not.
      if (static_cast<size_t>(count) < kItemsPerRead * kItemSize) return;
    } else if (count == 0) {
      // A raw line with a one-byte minimum reads 0 only once it hung up.
      Fail(kDeviceReadError);
    } else if (errno == EAGAIN) {
      return;
    } else if (errno != EINTR) {
      FailWithError(errno, kDeviceReadError);
    }
  }
}

void TReadThread::queueRead(size_t count) {
  // The filled items leave the front of held_, the rest stay for the next read.
  size_t items = 0;
  for (; count > 0; ++items) {
    const size_t used = count < kItemSize ? count : kItemSize;
    held_[items]->UsedCount = static_cast<uint32_t>(used);
    filled_.push_back(std::move(held_[items]));
    count -= used;
  }
  held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(items));
  Port().InputQueue().PushItems(filled_);
}

bool TReadThread::holdBuffers() {
  try {
    Port().InputQueue().FreshDataBuffers(held_, kItemsPerRead, static_cast<int32_t>(kItemSize));
    return true;
  } catch (const Exception&) {
  } catch (const std::bad_alloc&) {
  }
  Fail(kThreadOutOfMemory);
  return false;
}
