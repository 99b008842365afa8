// The application's side of the two rings: queueing output, reading and
// discarding received bytes.

#include "serial/ResultCodes.h"
#include "serial/SioBaseDispatcher.h"

namespace {
using Lock = std::lock_guard<std::recursive_mutex>;
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
  }
  if (queued <= 0) {
    // The platform took nothing: see what the line says about it.
    ComStat status;
    const int32_t errors = CollectLineErrors(status);
    const Lock lock(DispatchLock);
    line_.ErrorWord = errors;
    line_.CommStatus = status;
    return kBlockNotPut;
  }
  if (trace_.LogActive.load() || trace_.TraceActive.load()) {
    const Lock lock(DispatchLock);
    addLog(LogKind::Transmitted, static_cast<int32_t>(length), buffer, length);
    traceBytes(ByteTrace::kTransmitted, buffer, length);
  }
  return 0;
}

int32_t TSioBaseDispatcher::PeekByte(uint8_t& ch, uint32_t position) {
  if (position == 0) return kBadArgument;
  const Lock lock(InputLock);
  if (ring_.Unread() < position) return kBufferEmpty;
  ch = ring_.Buffer[(ring_.ReadIndex + position - 1) & DispatchRing::kMask];
  return 0;
}

int32_t TSioBaseDispatcher::readByteLocked(uint8_t& ch) {
  const Lock lock(InputLock);
  int32_t result;
  if (ring_.NotificationMode) {
    // Another thread reads this notice: its bytes are not this thread's.
    if (ring_.NoticeClaimed && ring_.NoticeReader != std::this_thread::get_id()) {
      return kBufferEmpty;
    }
    // Served in order without consuming; the delivery consumes at its end.
    const uint32_t position = ring_.ReadCount.load() + 1;
    result = PeekByte(ch, position);
    if (result == 0) ring_.ReadCount.store(position);
  } else {
    result = PeekByte(ch, 1);
    if (result == 0) {
      ring_.ReadIndex = (ring_.ReadIndex + 1) & DispatchRing::kMask;
      if (ring_.Full) {
        ring_.Full = false;
        inputQueue_.Wake();
      }
    }
  }
  if (result == 0 && trace_.TraceActive.load()) {
    const Lock dispatchLock(DispatchLock);
    traceBytes(ByteTrace::kReceived, &ch, 1);
  }
  return result;
}

uint32_t TSioBaseDispatcher::UnreadCount() {
  const Lock lock(InputLock);
  const uint32_t unread = ring_.Unread();
  if (!ring_.NotificationMode) return unread;
  const uint32_t read = ring_.ReadCount.load();
  return unread > read ? unread - read : 0;
}

bool TSioBaseDispatcher::DispatchFull() {
  const Lock lock(InputLock);
  return ring_.Full;
}

uint32_t TSioBaseDispatcher::OutputUsed() {
  RefreshLineErrors();
  const Lock lock(DispatchLock);
  return line_.CommStatus.cbOutQue;
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
  if (ring_.NotificationMode) {
    // The delivery consumes everything when it ends.
    ring_.MostRead = ring_.Unread();
  } else {
    ring_.ReadIndex = ring_.WriteIndex.load();
    ring_.ReadCount.store(0);
  }
  if (ring_.Full) inputQueue_.Wake();
  ring_.Full = false;
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
