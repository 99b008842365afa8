#pragma once
// A locked first-in first-out queue of I/O items with an event that wakes its
// consumer. The platform's read and status threads push received data and
// line events; the dispatch thread takes them.

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "serial/IOBuffer.h"
#include "serial/SioEvent.h"

class TIOQueue {
 public:
  TIOQueue() = default;
  ~TIOQueue();
  TIOQueue(const TIOQueue&) = delete;
  TIOQueue& operator=(const TIOQueue&) = delete;

  // Appends the item, adds its size to the byte count and wakes the consumer.
  void PushItem(std::unique_ptr<TIOBuffer> item);
  // Appends the items in order under one lock and wakes the consumer once.
  void PushItems(std::vector<std::unique_ptr<TDataBuffer>>& items);

  // The first item, now marked InUse; none when the queue is empty or the
  // first item is already in use. The item stays owned by the queue.
  TIOBuffer* PeekFirst();

  // Removes the first item and subtracts its size; none when empty.
  std::unique_ptr<TIOBuffer> PopFirst();

  // True at once when the queue holds an item, else waits for a push (or a
  // Wake) up to timeout and tells whether one came.
  bool WaitForItem(std::chrono::milliseconds timeout);
  // Returns once the queue holds an item or was woken; no time limit.
  void WaitForItem();

  // Waits, with no time limit, for the next push or Wake, even when items are
  // queued; for a consumer that cannot take anything until it is woken.
  void WaitForWake();
  // Ends the consumer's wait (or the next one) without an item.
  void Wake();

  // Frees every item not in use; items in use stay.
  void Clear();

  int64_t ByteCount() const;
  size_t Count() const;

  // Copies up to size received bytes out of the data items at the front of
  // the queue, in order and across items, under one lock, and drains each
  // item it empties; stops at a line-event item or an item in use. Returns
  // the count copied.
  int32_t TakeReceivedBytes(uint8_t* buffer, int32_t size);

  // Unread bytes of the first item when it is a data item, else 0.
  uint32_t PendingInputCount();

  // Removes the first item when it is a line-event item not in use; its
  // event mask, or 0 when the first item is none.
  uint32_t TakeFirstStatus();

  // Fills items up to count data items of size bytes for the producer:
  // drained ones of that size while some are kept, then new (zero-filled)
  // ones. Raises as TDataBuffer; items already had stay.
  void FreshDataBuffers(std::vector<std::unique_ptr<TDataBuffer>>& items, size_t count,
                        int32_t size);

 private:
  // Drained data items kept for FreshDataBuffers: a burst's worth, so a
  // steady stream allocates nothing while a queue that once grew keeps no
  // more than this.
  static constexpr size_t kKeptBuffers = 64;

  void recycleLocked(std::unique_ptr<TIOBuffer> item);

  mutable std::mutex lock_;
  SioEvent event_{SioEvent::Mode::AutoReset};
  std::deque<std::unique_ptr<TIOBuffer>> items_;
  int64_t byteCount_ = 0;
  std::vector<std::unique_ptr<TDataBuffer>> kept_;
};
