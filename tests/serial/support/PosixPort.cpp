#include "tests/serial/support/PosixPort.h"

#include <poll.h>

ReceivedBytes::ReceivedBytes(TestGuiLoop& gui) {
  gui.SetHandler([this](TSioBaseDispatcher& port, uint32_t, uintptr_t count, intptr_t) {
    std::vector<uint8_t> read;
    uint8_t ch = 0;
    for (uintptr_t i = 0; i < count && port.ReadByte(ch) == 0; ++i) read.push_back(ch);
    const std::lock_guard<std::mutex> guard(lock_);
    bytes_.insert(bytes_.end(), read.begin(), read.end());
  });
}

std::vector<uint8_t> ReceivedBytes::Bytes() {
  const std::lock_guard<std::mutex> guard(lock_);
  return bytes_;
}

size_t ReceivedBytes::Count() {
  const std::lock_guard<std::mutex> guard(lock_);
  return bytes_.size();
}

bool ReceivedBytes::WaitFor(size_t count) {
  return WaitUntil([this, count] { return Count() >= count; });
}

std::vector<uint8_t> PatternBytes(size_t count, size_t from) {
  std::vector<uint8_t> bytes(count);
  // A step prime to 251 repeats only every 251 bytes, unlike a byte counter.
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(((from + i) * 7) % 251);
  return bytes;
}

bool DeviceWritable(int device) {
  pollfd wait{device, POLLOUT, 0};
  return poll(&wait, 1, 0) == 1 && (wait.revents & POLLOUT);
}
