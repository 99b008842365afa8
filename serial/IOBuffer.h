#pragma once
// The items of an I/O queue: received data, a line event, or an event-log
// record.

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class TIOBuffer {
 public:
  explicit TIOBuffer(int32_t size) : Size(size) {}
  virtual ~TIOBuffer() = default;
  TIOBuffer(const TIOBuffer&) = delete;
  TIOBuffer& operator=(const TIOBuffer&) = delete;

  // Set by a reader while it looks at the item, so a second reader skips it
  // and the queue's Clear leaves it alone.
  std::atomic<bool> InUse{false};
  const int32_t Size;
};

// Bytes read from the device. UsedCount bytes of Data are valid; the reader
// has taken those before ReadPosition.
class TDataBuffer : public TIOBuffer {
 public:
  // Zero-filled; raises Exception("Insufficient memory to allocate I/O
  // buffer.") when the bytes cannot be allocated.
  explicit TDataBuffer(int32_t size);

  std::unique_ptr<uint8_t[]> Data;
  uint32_t UsedCount = 0;
  uint32_t ReadPosition = 0;
};

// A line event other than a plain character arrival.
class TStatusBuffer : public TIOBuffer {
 public:
  explicit TStatusBuffer(uint32_t eventMask) : TIOBuffer(0), EventMask(eventMask) {}
  const uint32_t EventMask;
};

// One event-log record with its private copy of the bytes it concerns.
class TLogBuffer : public TIOBuffer {
 public:
  TLogBuffer(uint8_t kind, uint16_t subKind, uint32_t time, int32_t value, const uint8_t* data,
             uint32_t count);

  const uint8_t Kind;
  const uint16_t SubKind;
  const uint32_t Time;  // ms since the port opened
  const int32_t Value;
  const std::vector<uint8_t> Data;
};
