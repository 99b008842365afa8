// The application's side of the two rings: queueing output, reading and
// discarding received bytes.

#include "serial/ResultCodes.h"
#include "serial/SioBaseDispatcher.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

constexpr uint32_t kRingMask = TSioBaseDispatcher::kDispatchBufferSize - 1;
static_assert((TSioBaseDispatcher::kDispatchBufferSize & kRingMask) == 0,
              "the dispatch ring wraps by masking");

}  // namespace

int32_t TSioBaseDispatcher::WriteByte(uint8_t ch) { return WriteBlock(&ch, 1); }

int32_t TSioBaseDispatcher::WriteBlock(const uint8_t* buffer, uint32_t length) {
  if (length == 0) return 0;
  // No write thread is left to send it: say why, rather than fill the ring
  // and report it too small.
  if (deviceLost_.load()) return kDeviceWriteError;
  int32_t queued = 0;
  {
    const Lock lock(OutputLock);
    const uint32_t capacity = outputRing_.Size();
    const uint32_t pending = PendingOutputCount();
    const uint32_t free = capacity > pending ? capacity - pending : 0;
    if (free < length) return kOutputTooSmall;
    queued = QueueOutputBytes(buffer, static_cast<int32_t>(length));
    outputSent_ = true;
  }
  if (queued <= 0) {
    // The platform took nothing: see what the line says about it.
    ComStat status;
    const int32_t errors = CollectLineErrors(status);
    const Lock lock(DispatchLock);
    lineErrorWord_ = errors;
    commStatus_ = status;
    return kBlockNotPut;
  }
  if (logActive_.load() || traceActive_.load()) {
    const Lock lock(DispatchLock);
    addLog(LogKind::Transmitted, static_cast<int32_t>(length), buffer, length);
    traceBytes(ByteTrace::kTransmitted, buffer, length);
  }
  return 0;
}

uint32_t TSioBaseDispatcher::unreadLocked() const {
  if (!ringHeld_) return 0;
  const uint32_t write = writeIndex_.load(std::memory_order_relaxed);
  if (write == readIndex_) return dispatchFull_ ? kDispatchBufferSize : 0;
  return (write - readIndex_) & kRingMask;
}

int32_t TSioBaseDispatcher::PeekByte(uint8_t& ch, uint32_t position) {
  if (position == 0) return kBadArgument;
  const Lock lock(InputLock);
  if (unreadLocked() < position) return kBufferEmpty;
  ch = dispatchBuffer_[(readIndex_ + position - 1) & kRingMask];
  return 0;
}

int32_t TSioBaseDispatcher::readByteLocked(uint8_t& ch) {
  const Lock lock(InputLock);
  int32_t result;
  if (notificationMode_) {
    // Another thread reads this notice: its bytes are not this thread's.
    if (noticeClaimed_ && noticeReader_ != std::this_thread::get_id()) return kBufferEmpty;
    // Served in order without consuming; the delivery consumes at its end.
    const uint32_t position = readCount_.load() + 1;
    result = PeekByte(ch, position);
    if (result == 0) readCount_.store(position);
  } else {
    result = PeekByte(ch, 1);
    if (result == 0) {
      readIndex_ = (readIndex_ + 1) & kRingMask;
      if (dispatchFull_) {
        dispatchFull_ = false;
        inputQueue_.Wake();
      }
    }
  }
  if (result == 0 && traceActive_.load()) {
    const Lock dispatchLock(DispatchLock);
    traceBytes(ByteTrace::kReceived, &ch, 1);
  }
  return result;
}

uint32_t TSioBaseDispatcher::UnreadCount() {
  const Lock lock(InputLock);
  const uint32_t unread = unreadLocked();
  if (!notificationMode_) return unread;
  const uint32_t read = readCount_.load();
  return unread > read ? unread - read : 0;
}

bool TSioBaseDispatcher::DispatchFull() {
  const Lock lock(InputLock);
  return dispatchFull_;
}

uint32_t TSioBaseDispatcher::OutputUsed() {
  RefreshLineErrors();
  const Lock lock(DispatchLock);
  return commStatus_.cbOutQue;
}

uint32_t TSioBaseDispatcher::OutputFree() {
  // What a put may take: bytes already on their way to the line (counted by
  // OutputUsed) leave the ring's room alone. No room once it is released.
  const Lock lock(OutputLock);
  const uint32_t size = outputRing_.Size();
  const uint32_t pending = PendingOutputCount();
  return size > pending ? size - pending : 0;
}

int32_t TSioBaseDispatcher::DiscardInput() {
  const Lock lock(InputLock);
  const int32_t result = PurgeDeviceQueue(1);
  if (notificationMode_) {
    // The delivery consumes everything when it ends.
    mostRead_ = unreadLocked();
  } else {
    readIndex_ = writeIndex_.load();
    readCount_.store(0);
  }
  if (dispatchFull_) inputQueue_.Wake();
  dispatchFull_ = false;
  return result;
}

int32_t TSioBaseDispatcher::DiscardOutput() { return PurgeDeviceQueue(0); }

int32_t TSioBaseDispatcher::PutIntoOutputRing(const uint8_t* buffer, int32_t size) {
  if (size <= 0) return 0;
  const Lock lock(OutputLock);
  return static_cast<int32_t>(outputRing_.Put(buffer, static_cast<uint32_t>(size)));
}

bool TSioBaseDispatcher::TakeOutputBlock(std::vector<uint8_t>& block) {
  const Lock lock(OutputLock);
  if (outputRing_.Empty()) return false;
  outputRing_.TakeAll(block);
  return true;
}

void TSioBaseDispatcher::PurgeOutputRing() {
  const Lock lock(OutputLock);
  outputRing_.Purge();
}

uint32_t TSioBaseDispatcher::OutputRingPendingCount() {
  const Lock lock(OutputLock);
  return outputRing_.PendingCount();
}
