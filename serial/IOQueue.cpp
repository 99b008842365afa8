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
  // After the lock is let go, so the woken consumer does not at once sleep on
  // it. A producer must outlive its push: the port's threads end before the
  // dispatcher does.
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

void TIOQueue::PushItems(std::vector<std::unique_ptr<TDataBuffer>>& items) {
  if (items.empty()) return;
  {
    const std::lock_guard<std::mutex> lock(lock_);
    for (std::unique_ptr<TDataBuffer>& item : items) {
      byteCount_ += item->Size;
      items_.push_back(std::move(item));
    }
  }
  items.clear();
  event_.Set();
}

bool TIOQueue::WaitForItem(std::chrono::milliseconds timeout) {
  if (Count() > 0) return true;
  return event_.WaitFor(timeout);
}

void TIOQueue::WaitForItem() {
  // Queued items make the pass: the signal of their push is spent on it, so
  // it does not make another, empty one.
  if (Count() > 0) {
    event_.Reset();
    return;
  }
  event_.Wait();
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
  const std::lock_guard<std::mutex> lock(lock_);
  while (left > 0 && !items_.empty()) {
    TIOBuffer* first = items_.front().get();
    // Line events are the dispatch thread's to consume; an item in use is
    // another reader's.
    if (first->InUse.load()) break;
    auto* data = dynamic_cast<TDataBuffer*>(first);
    if (data == nullptr) break;
    const uint32_t count = std::min(static_cast<uint32_t>(left), unreadBytes(*data));
    std::memcpy(buffer, data->Data.get() + data->ReadPosition, count);
    data->ReadPosition += count;
    buffer += count;
    left -= static_cast<int32_t>(count);
    if (data->ReadPosition < validBytes(*data)) break;
    byteCount_ -= first->Size;
    std::unique_ptr<TIOBuffer> drained = std::move(items_.front());
    items_.pop_front();
    recycleLocked(std::move(drained));
  }
  return size - left;
}

uint32_t TIOQueue::PendingInputCount() {
  const std::lock_guard<std::mutex> lock(lock_);
  if (items_.empty() || items_.front()->InUse.load()) return 0;
  const auto* data = dynamic_cast<const TDataBuffer*>(items_.front().get());
  return data != nullptr ? unreadBytes(*data) : 0;
}

uint32_t TIOQueue::TakeFirstStatus() {
  const std::lock_guard<std::mutex> lock(lock_);
  if (items_.empty() || items_.front()->InUse.load()) return 0;
  const auto* status = dynamic_cast<const TStatusBuffer*>(items_.front().get());
  if (status == nullptr) return 0;
  const uint32_t mask = status->EventMask;
  byteCount_ -= status->Size;
  items_.pop_front();
  return mask;
}

void TIOQueue::FreshDataBuffers(std::vector<std::unique_ptr<TDataBuffer>>& items, size_t count,
                                int32_t size) {
  {
    const std::lock_guard<std::mutex> lock(lock_);
    while (items.size() < count && !kept_.empty() && kept_.back()->Size == size) {
      items.push_back(std::move(kept_.back()));
      kept_.pop_back();
    }
  }
  while (items.size() < count) items.push_back(std::make_unique<TDataBuffer>(size));
}

void TIOQueue::recycleLocked(std::unique_ptr<TIOBuffer> item) {
  if (kept_.size() >= kKeptBuffers) return;
  auto* data = dynamic_cast<TDataBuffer*>(item.get());
  if (data == nullptr) return;
  data->UsedCount = 0;
  data->ReadPosition = 0;
  item.release();
  kept_.emplace_back(data);
}
