// The dispatch thread's passes: line events, pulling received bytes into the
// dispatch ring, and delivering notices to the notify targets.

#include <algorithm>

#include "serial/CommCodes.h"
#include "serial/SioBaseDispatcher.h"
#include "serial/SioMessages.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

constexpr uint32_t kRingMask = TSioBaseDispatcher::kDispatchBufferSize - 1;
constexpr uint32_t kModemChangeEvents = kEvCts | kEvDsr | kEvRlsd | kEvRing | kEvRingTrailingEdge;
constexpr uint32_t kLineErrorEvents = kEvBreak | kEvErr;

}  // namespace

void TSioBaseDispatcher::ServiceInput() {
  uint32_t eventMask = 0;
  if (TIOBuffer* first = inputQueue_.PeekFirst()) {
    if (const auto* status = dynamic_cast<const TStatusBuffer*>(first)) {
      eventMask = status->EventMask;
      inputQueue_.PopFirst();
    } else {
      first->InUse.store(false);
    }
  }
  if (closePending_.load()) return;
  if (eventMask & (kEvRing | kEvRingTrailingEdge)) {
    const Lock lock(DispatchLock);
    ringLatch_ = true;
  }
  if (eventMask & kModemChangeEvents) updateModemStatusChanges();
  if (eventMask & kLineErrorEvents) RefreshLineErrors();
  if (closePending_.load()) return;
  PullReceivedBytes();
  refreshModemStatus();
  while (!closePending_.load() && ScanInput()) {
  }
}

void TSioBaseDispatcher::ServiceTimers() {}

void TSioBaseDispatcher::updateModemStatusChanges() {
  uint8_t previous;
  {
    const Lock lock(DispatchLock);
    previous = modemStatus_;
  }
  const uint8_t now = ReadModemStatus(0xFF);
  const Lock lock(DispatchLock);
  modemStatus_ = static_cast<uint8_t>(now | (((previous ^ now) >> 4) & 0x0F));
}

void TSioBaseDispatcher::refreshModemStatus() {
  const uint8_t now = ReadModemStatus(0xF0);
  const Lock lock(DispatchLock);
  modemStatus_ = now;
}

bool TSioBaseDispatcher::PullReceivedBytes() {
  const Lock lock(InputLock);
  if (!dispatchBuffer_) return false;
  if (dispatchFull_) {
    // The bytes wait in the input queue until the application reads.
    const Lock dispatchLock(DispatchLock);
    addLog(LogKind::DispatchFull, 0);
    return true;
  }
  const uint32_t available = PendingInputCount();
  {
    const Lock dispatchLock(DispatchLock);
    commStatus_.cbInQue = available;
  }
  if (available == 0) return false;

  uint32_t write = writeIndex_.load(std::memory_order_relaxed);
  const uint32_t read = readIndex_;
  const uint32_t run = read > write ? read - write : kDispatchBufferSize - write;
  const uint32_t free = read > write ? read - write : read + kDispatchBufferSize - write;
  const uint32_t want = std::min(free, available);
  uint32_t second = want > run ? want - run : 0;

  // The first piece asks for the whole contiguous run: the platform copies
  // what its queue holds, possibly from several items.
  const int32_t taken = TakeReceivedBytes(dispatchBuffer_.get() + write, static_cast<int32_t>(run));
  const uint32_t first = taken > 0 ? std::min(static_cast<uint32_t>(taken), run) : 0;
  uint32_t pulled = first;
  if (first > 0)
    addLog(LogKind::Received, static_cast<int32_t>(first), &dispatchBuffer_[write], first);
  write = (write + first) & kRingMask;
  if (first < run) second = 0;
  if (first > 0) dispatchFull_ = write == read;
  if (second > 0) {
    const int32_t more =
        TakeReceivedBytes(dispatchBuffer_.get() + write, static_cast<int32_t>(second));
    const uint32_t secondTaken = more > 0 ? std::min(static_cast<uint32_t>(more), second) : 0;
    if (secondTaken > 0)
      addLog(LogKind::Received, static_cast<int32_t>(secondTaken), &dispatchBuffer_[write],
             secondTaken);
    write = (write + secondTaken) & kRingMask;
    pulled += secondTaken;
    dispatchFull_ = write == read;
  }
  writeIndex_.store(write, std::memory_order_relaxed);
  if (pulled > 0) arrivedSinceNotice_ = true;
  return true;
}

bool TSioBaseDispatcher::ScanInput() {
  uint32_t unread;
  {
    const Lock lock(InputLock);
    // No notice unless bytes arrived since the last one: bytes a handler
    // left are announced again only with the next arrival.
    if (!arrivedSinceNotice_) return false;
    unread = unreadLocked();
  }
  const uint32_t threshold = AvailThreshold();
  if (threshold == 0 || unread < threshold) return false;
  {
    const Lock lock(DispatchLock);
    addLog(LogKind::Notice, static_cast<int32_t>(unread));
  }
  const bool result = DeliverTrigger(TRG_AVAIL, unread, 0);
  {
    const Lock lock(InputLock);
    arrivedSinceNotice_ = false;
  }
  return result;
}

bool TSioBaseDispatcher::windowHandlersServed() const {
  return windowHandlers_.size() > 1 || portHandlerInstalled_;
}

bool TSioBaseDispatcher::DeliverTrigger(uint32_t msg, uint32_t param, uint16_t data) {
  {
    const Lock lock(DispatchLock);
    if (!handlerServiceNeeded_) return true;
    inNotification_.store(true);
  }
  const bool dataNotice = msg == TRG_AVAIL || msg == TRG_DATA;
  {
    const Lock lock(InputLock);
    mostRead_ = 0;
    notificationMode_ = dataNotice;
  }
  const intptr_t lParam = NoticeLParam(handle_, data);
  bool result = true;
  bool closed = false;
  // No lock is held while a handler runs, so its reads can take InputLock.
  for (size_t i = 0;; ++i) {
    std::shared_ptr<NotifyTarget> target;
    {
      const Lock lock(DispatchLock);
      if (!windowHandlersServed() || i >= windowHandlers_.size()) break;
      if (windowHandlers_[i].Deleted) continue;
      target = windowHandlers_[i].Target;
    }
    {
      const Lock lock(InputLock);
      readCount_ = 0;
    }
    target->SendNotice(msg, param, lParam, kNoticeTimeout);
    if (closePending_.load()) {
      result = false;
      closed = true;
      break;
    }
    const Lock lock(InputLock);
    mostRead_ = std::max(mostRead_, readCount_);
  }
  if (!closed && dataNotice) {
    const Lock lock(InputLock);
    // A handler that outlived its wait may have read on meanwhile; those
    // reads count too, and later ones consume directly.
    mostRead_ = std::max(mostRead_, readCount_);
    notificationMode_ = false;
    const uint32_t consumed = std::min(mostRead_, unreadLocked());
    readIndex_ = (readIndex_ + consumed) & kRingMask;
    if (consumed > 0) dispatchFull_ = false;
    if (msg == TRG_AVAIL && mostRead_ != param) result = false;
  }
  finishDelivery();
  const Lock lock(InputLock);
  readCount_ = 0;
  return result;
}

void TSioBaseDispatcher::finishDelivery() {
  const Lock lock(DispatchLock);
  inNotification_.store(false);
  if (!removalsPending_) return;
  std::erase_if(windowHandlers_, [](const WindowHandler& h) { return h.Deleted; });
  removalsPending_ = false;
  UpdateHandlerService(0);
}
