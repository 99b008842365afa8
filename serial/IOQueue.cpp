#include "serial/IOQueue.h"

#include <algorithm>
#include <cstring>

namespace {

// Valid bytes of a data item never exceed its allocation, whatever a producer
// wrote into UsedCount.
uint32_t validBytes(const TDataBuffer& data) {
  return std::min(data.UsedCount, static_cast<uint32_t>(std::max(data.Size, 0)));
}

uint32_t unreadBytes(const TDataBuffer& data) {
  const uint32_t valid = validBytes(data);
  return valid - std::min(valid, data.ReadPosition);
}

}  // namespace

TIOQueue::~TIOQueue() { Clear(); }

void TIOQueue::PushItem(std::unique_ptr<TIOBuffer> item) {
  {
    const std::lock_guard<std::mutex> lock(lock_);
    byteCount_ += item->Size;
    items_.push_back(std::move(item));
  }
  event_.Set();
}

TIOBuffer* TIOQueue::PeekFirst() {
  const std::lock_guard<std::mutex> lock(lock_);
  if (items_.empty()) return nullptr;
  TIOBuffer* first = items_.front().get();
  if (first->InUse.exchange(true)) return nullptr;
  return first;
}

std::unique_ptr<TIOBuffer> TIOQueue::PopFirst() {
  const std::lock_guard<std::mutex> lock(lock_);
  if (items_.empty()) return nullptr;
  std::unique_ptr<TIOBuffer> first = std::move(items_.front());
  items_.pop_front();
  byteCount_ -= first->Size;
  return first;
}

bool TIOQueue::WaitForItem(std::chrono::milliseconds timeout) {
  if (Count() > 0) return true;
  return event_.WaitFor(timeout);
}

void TIOQueue::WaitForItem() {
  if (Count() == 0) event_.Wait();
}

void TIOQueue::WaitForWake() { event_.Wait(); }

void TIOQueue::Wake() { event_.Set(); }

void TIOQueue::Clear() {
  const std::lock_guard<std::mutex> lock(lock_);
  std::deque<std::unique_ptr<TIOBuffer>> kept;
  for (std::unique_ptr<TIOBuffer>& item : items_) {
    if (item->InUse.load()) {
      kept.push_back(std::move(item));
    } else {
      byteCount_ -= item->Size;
    }
  }
  items_.swap(kept);
}

int64_t TIOQueue::ByteCount() const {
  const std::lock_guard<std::mutex> lock(lock_);
  return byteCount_;
}

size_t TIOQueue::Count() const {
  const std::lock_guard<std::mutex> lock(lock_);
  return items_.size();
}

int32_t TIOQueue::TakeReceivedBytes(uint8_t* buffer, int32_t size) {
  int32_t left = size;
  while (left > 0) {
    TIOBuffer* first = PeekFirst();
    if (first == nullptr) break;
    auto* data = dynamic_cast<TDataBuffer*>(first);
    if (data == nullptr) {
      // Line events are the dispatch thread's to consume.
      first->InUse.store(false);
      break;
    }
    const uint32_t count = std::min(static_cast<uint32_t>(left), unreadBytes(*data));
    std::memcpy(buffer, data->Data.get() + data->ReadPosition, count);
    data->ReadPosition += count;
    buffer += count;
    left -= static_cast<int32_t>(count);
    if (data->ReadPosition >= validBytes(*data)) {
      PopFirst();
    } else {
      data->InUse.store(false);
    }
  }
  return size - left;
}

uint32_t TIOQueue::PendingInputCount() {
  TIOBuffer* first = PeekFirst();
  if (first == nullptr) return 0;
  uint32_t count = 0;
  if (const auto* data = dynamic_cast<const TDataBuffer*>(first)) {
    count = unreadBytes(*data);
  }
  first->InUse.store(false);
  return count;
}
