#pragma once
// The transmit ring: bytes the application queued and the write thread has
// not taken yet. Head is where the next byte goes, tail the next byte to
// send; head = tail is empty, or full when the full mark is set. Not locked
// itself: the dispatcher guards it with its OutputLock.

#include <cstdint>
#include <memory>
#include <vector>

class OutputRing {
 public:
  // A zero-filled ring of size bytes, empty; replaces any earlier ring.
  void Allocate(uint32_t size);
  // Frees the bytes; the ring then has no room.
  void Release();

  uint32_t Size() const { return size_; }
  uint32_t PendingCount() const;
  uint32_t FreeCount() const { return size_ - PendingCount(); }
  bool Empty() const { return PendingCount() == 0; }

  // Copies count bytes in at head, wrapping at the end of the ring, and sets
  // the full mark when they take the last free byte. Returns count, or 0
  // (nothing copied) when they do not fit.
  uint32_t Put(const uint8_t* bytes, uint32_t count);

  // Moves everything queued, oldest first, into block and empties the ring.
  void TakeAll(std::vector<uint8_t>& block);

  // Drops everything queued.
  void Purge();

 private:
  std::unique_ptr<uint8_t[]> bytes_;
  uint32_t size_ = 0;
  uint32_t head_ = 0;
  uint32_t tail_ = 0;
  bool full_ = false;
};
