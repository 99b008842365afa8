#include "serial/IOBuffer.h"

#include <new>

#include "serial/SioExceptions.h"

TDataBuffer::TDataBuffer(int32_t size) : TIOBuffer(size) {
  try {
    Data = std::make_unique<uint8_t[]>(static_cast<size_t>(size < 0 ? 0 : size));
  } catch (const std::bad_alloc&) {
    throw Exception("Insufficient memory to allocate I/O buffer.");
  }
}

TLogBuffer::TLogBuffer(uint8_t kind, uint16_t subKind, uint32_t time, int32_t value,
                       const uint8_t* data, uint32_t count)
    : TIOBuffer(static_cast<int32_t>(count)),
      Kind(kind),
      SubKind(subKind),
      Time(time),
      Value(value),
      Data(data, data + count) {}
