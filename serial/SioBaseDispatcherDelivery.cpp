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
  const uint32_t eventMask = inputQueue_.TakeFirstStatus();
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
  if (!ringHeld_) return false;
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
  // The second piece, from the start of the ring, asks for all the room
  // left, not only for what the first queued item holds: a pass that wraps
  // fills the ring as far as the queue allows, so a fast stream is announced
  // in notices of up to the whole ring, not of what was left to its end.
  uint32_t second = free - run;

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
    // left are announced again only with the next arrival. Nor while the
    // last notice's reader still reads: what it took is not known yet.
    if (!arrivedSinceNotice_ || noticeAbandoned_) return false;
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
    // From here on reads on the GUI thread take this notice's bytes; counting them from the
    // first handler's send on would hand the ones read before it out twice.
    readCount_.store(0);
    notificationMode_ = dataNotice;
  }
  const intptr_t lParam = NoticeLParam(handle_, data);
  bool result = true;
  bool closed = false;
  bool abandoned = false;
  bool sent = false;
  // No lock is held while a handler runs, so its reads can take InputLock.
  for (size_t i = 0;; ++i) {
    std::shared_ptr<NotifyTarget> target;
    {
      const Lock lock(DispatchLock);
      if (!windowHandlersServed() || i >= windowHandlers_.size()) break;
      if (windowHandlers_[i].Deleted) continue;
      target = windowHandlers_[i].Target;
    }
    if (sent) {
      // Each further handler reads the notice from its start.
      const Lock lock(InputLock);
      readCount_.store(0);
    }
    sent = true;
    const bool handled = target->SendNotice(msg, param, lParam, kNoticeTimeout);
    if (closePending_.load()) {
      result = false;
      closed = true;
      break;
    }
    const Lock lock(InputLock);
    if (!handled && noticeClaimed_) {
      // The handler outlived its wait and is still reading: it completes
      // the delivery when it returns (endNoticeReading), and the next
      // notice waits for that.
      noticeAbandoned_ = true;
      abandoned = true;
      result = false;
      break;
    }
    mostRead_ = std::max(mostRead_, readCount_.load());
  }
  if (!closed && !abandoned && dataNotice) {
    const Lock lock(InputLock);
    if (completeDataNoticeLocked() != param && msg == TRG_AVAIL) result = false;
  }
  finishDelivery();
  return result;
}

uint32_t TSioBaseDispatcher::completeDataNoticeLocked() {
  // A handler that outlived its wait without a reading may have read on
  // meanwhile; those reads count too, and later ones consume directly.
  mostRead_ = std::max(mostRead_, readCount_.load());
  notificationMode_ = false;
  const uint32_t consumed = std::min(mostRead_, unreadLocked());
  readIndex_ = (readIndex_ + consumed) & kRingMask;
  if (consumed > 0) dispatchFull_ = false;
  readCount_.store(0);
  return mostRead_;
}

TSioBaseDispatcher::NoticeClaim TSioBaseDispatcher::beginNoticeReading() {
  const Lock lock(InputLock);
  if (!notificationMode_ || !ringHeld_) return NoticeClaim::None;
  if (noticeClaimed_) {
    return noticeReader_ == std::this_thread::get_id() ? NoticeClaim::AlreadyReading
                                                       : NoticeClaim::None;
  }
  noticeClaimed_ = true;
  noticeReader_ = std::this_thread::get_id();
  readerRing_ = dispatchBuffer_.get();
  readerBase_ = readIndex_;
  // Read index, write index and ring stay as they are until the delivery
  // ends: the dispatch thread waits meanwhile, or, once it stopped waiting,
  // pulls only into free room.
  const uint32_t announced = unreadLocked();
  const uint32_t taken = readCount_.load();
  readerLimit_.store(traceActive_.load() || taken > announced ? 0 : announced);
  return NoticeClaim::Began;
}

void TSioBaseDispatcher::endNoticeReading() {
  const Lock lock(InputLock);
  noticeClaimed_ = false;
  readerLimit_.store(0);
  if (!noticeAbandoned_) return;
  noticeAbandoned_ = false;
  completeDataNoticeLocked();
  // Bytes that arrived meanwhile are announced now.
  wakeDispatchThread();
}

void TSioBaseDispatcher::finishDelivery() {
  const Lock lock(DispatchLock);
  inNotification_.store(false);
  if (!removalsPending_) return;
  std::erase_if(windowHandlers_, [](const WindowHandler& h) { return h.Deleted; });
  removalsPending_ = false;
  UpdateHandlerService(0);
}
