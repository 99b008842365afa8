#pragma once
// A fuzz target's input read byte by byte; past its end every byte reads as 0.

#include <cstddef>
#include <cstdint>

class FuzzBytes {
 public:
  FuzzBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool AtEnd() const { return next_ == size_; }
  uint8_t Byte() { return AtEnd() ? 0 : data_[next_++]; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t next_ = 0;
};
