#include "serial/OutputRing.h"

#include <cstring>

void OutputRing::Allocate(uint32_t size) {
  bytes_ = std::make_unique<uint8_t[]>(size);
  size_ = size;
  Purge();
}

void OutputRing::Release() {
  bytes_.reset();
  size_ = 0;
  Purge();
}

uint32_t OutputRing::PendingCount() const {
  if (full_) return size_;
  if (head_ >= tail_) return head_ - tail_;
  return size_ - tail_ + head_;
}

uint32_t OutputRing::Put(const uint8_t* bytes, uint32_t count) {
  if (count == 0 || count > FreeCount()) return 0;
  const uint32_t room = size_ - head_;
  if (room >= count) {
    std::memcpy(bytes_.get() + head_, bytes, count);
    head_ = room == count ? 0 : head_ + count;
  } else {
    std::memcpy(bytes_.get() + head_, bytes, room);
    std::memcpy(bytes_.get(), bytes + room, count - room);
    head_ = count - room;
  }
  full_ = head_ == tail_;
  return count;
}

void OutputRing::TakeAll(std::vector<uint8_t>& block) {
  const uint32_t count = PendingCount();
  block.resize(count);
  const uint32_t firstPart = count < size_ - tail_ ? count : size_ - tail_;
  if (count > 0) {
    std::memcpy(block.data(), bytes_.get() + tail_, firstPart);
    std::memcpy(block.data() + firstPart, bytes_.get(), count - firstPart);
  }
  Purge();
}

void OutputRing::Purge() {
  head_ = 0;
  tail_ = 0;
  full_ = false;
}
