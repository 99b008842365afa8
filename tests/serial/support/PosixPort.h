#pragma once
// Helpers for tests of the POSIX port over a pseudo-terminal.

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "serial/SioPosixDispatcher.h"
#include "tests/serial/support/TestGuiLoop.h"

// Bytes a data-available handler read, byte by byte with ReadByte, on the
// stand-in GUI thread.
class ReceivedBytes {
 public:
  // Installs the handler on gui.
  explicit ReceivedBytes(TestGuiLoop& gui);

  std::vector<uint8_t> Bytes();
  size_t Count();
  // Waits until count bytes came; whether they did.
  bool WaitFor(size_t count);

 private:
  std::mutex lock_;
  std::vector<uint8_t> bytes_;
};

// count bytes of a pattern that shows any loss, repetition or reordering,
// starting at position from of the pattern.
std::vector<uint8_t> PatternBytes(size_t count, size_t from = 0);

// Whether the device can take another byte now.
bool DeviceWritable(int device);
