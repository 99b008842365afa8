// The dispatch thread's passes: line events, pulling received bytes into the
// dispatch ring, and delivering notices to the notify targets.

#include <algorithm>

#include "serial/CommCodes.h"
#include "serial/SioBaseDispatcher.h"
#include "serial/SioMessages.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

constexpr uint32_t kModemChangeEvents = kEvCts | kEvDsr | kEvRlsd | kEvRing | kEvRingTrailingEdge;
constexpr uint32_t kLineErrorEvents = kEvBreak | kEvErr;

}  // namespace

void TSioBaseDispatcher::ServiceInput() {
  const uint32_t eventMask = inputQueue_.TakeFirstStatus();
  if (closePending_.load()) return;
  if (eventMask & (kEvRing | kEvRingTrailingEdge)) {
    const Lock lock(DispatchLock);
    line_.RingLatch = true;
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
    previous = line_.ModemStatus;
  }
  const uint8_t now = ReadModemStatus(0xFF);
  const Lock lock(DispatchLock);
  line_.ModemStatus = static_cast<uint8_t>(now | (((previous ^ now) >> 4) & 0x0F));
}

void TSioBaseDispatcher::refreshModemStatus() {
  const uint8_t now = ReadModemStatus(0xF0);
  const Lock lock(DispatchLock);
  line_.ModemStatus = now;
}

bool TSioBaseDispatcher::PullReceivedBytes() {
  const Lock lock(InputLock);
  if (!ring_.Held) return false;
  if (ring_.Full) {
    // The bytes wait in the input queue until the application reads.
    const Lock dispatchLock(DispatchLock);
    addLog(LogKind::DispatchFull, 0);
    return true;
  }
  const uint32_t available = PendingInputCount();
  {
    const Lock dispatchLock(DispatchLock);
    line_.CommStatus.cbInQue = available;
  }
  if (available == 0) return false;

  uint8_t* const bytes = ring_.Buffer.get();
  uint32_t write = ring_.WriteIndex.load(std::memory_order_relaxed);
  const uint32_t read = ring_.ReadIndex;
  const uint32_t run = read > write ? read - write : DispatchRing::kSize - write;
  const uint32_t free = read > write ? read - write : read + DispatchRing::kSize - write;
  // The second piece, from the start of the ring, asks for all the room
  // left, not only for what the first queued item holds: a pass that wraps
  // fills the ring as far as the queue allows, so a fast stream is announced
  // in notices of up to the whole ring, not of what was left to its end.
  uint32_t second = free - run;

  // The first piece asks for the whole contiguous run: the platform copies
  // what its queue holds, possibly from several items.
  const int32_t taken = TakeReceivedBytes(bytes + write, static_cast<int32_t>(run));
  const uint32_t first = taken > 0 ? std::min(static_cast<uint32_t>(taken), run) : 0;
  uint32_t pulled = first;
  if (first > 0) addLog(LogKind::Received, static_cast<int32_t>(first), bytes + write, first);
  write = (write + first) & DispatchRing::kMask;
  if (first < run) second = 0;
  if (first > 0) ring_.Full = write == read;
  if (second > 0) {
    const int32_t more = TakeReceivedBytes(bytes + write, static_cast<int32_t>(second));
    const uint32_t secondTaken = more > 0 ? std::min(static_cast<uint32_t>(more), second) : 0;
    if (secondTaken > 0)
      addLog(LogKind::Received, static_cast<int32_t>(secondTaken), bytes + write, secondTaken);
    write = (write + secondTaken) & DispatchRing::kMask;
    pulled += secondTaken;
    ring_.Full = write == read;
  }
  ring_.WriteIndex.store(write, std::memory_order_relaxed);
  if (pulled > 0) ring_.ArrivedSinceNotice = true;
  return true;
}

bool TSioBaseDispatcher::ScanInput() {
  uint32_t unread;
  {
    const Lock lock(InputLock);
    // No notice unless bytes arrived since the last one: bytes a handler
    // left are announced again only with the next arrival. Nor while the
    // last notice's reader still reads: what it took is not known yet.
    if (!ring_.ArrivedSinceNotice || ring_.NoticeAbandoned) return false;
    unread = ring_.Unread();
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
    ring_.ArrivedSinceNotice = false;
  }
  return result;
}

bool TSioBaseDispatcher::DeliverTrigger(uint32_t msg, uint32_t param, uint16_t data) {
  {
    const Lock lock(DispatchLock);
    if (!targets_.ServiceNeeded) return true;
    inNotification_.store(true);
  }
  const bool dataNotice = msg == TRG_AVAIL || msg == TRG_DATA;
  {
    const Lock lock(InputLock);
    ring_.MostRead = 0;
    // From here on reads on the GUI thread take this notice's bytes; counting them from the
    // first handler's send on would hand the ones read before it out twice.
    ring_.ReadCount.store(0);
    ring_.NotificationMode = dataNotice;
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
      if (!targets_.TargetAt(i, target)) break;
    }
    if (!target) continue;
    if (sent) {
      // Each further handler reads the notice from its start.
      const Lock lock(InputLock);
      ring_.ReadCount.store(0);
    }
    sent = true;
    const bool handled = target->SendNotice(msg, param, lParam, kNoticeTimeout);
    if (closePending_.load()) {
      result = false;
      closed = true;
      break;
    }
    const Lock lock(InputLock);
    if (!handled && ring_.NoticeClaimed) {
      // The handler outlived its wait and is still reading: it completes
      // the delivery when it returns (endNoticeReading), and the next
      // notice waits for that.
      ring_.NoticeAbandoned = true;
      abandoned = true;
      result = false;
      break;
    }
    ring_.MostRead = std::max(ring_.MostRead, ring_.ReadCount.load());
  }
  if (!closed && !abandoned && dataNotice) {
    const Lock lock(InputLock);
    if (ring_.CompleteDataNotice() != param && msg == TRG_AVAIL) result = false;
  }
  finishDelivery();
  return result;
}

TSioBaseDispatcher::NoticeClaim TSioBaseDispatcher::beginNoticeReading() {
  const Lock lock(InputLock);
  if (!ring_.NotificationMode || !ring_.Held) return NoticeClaim::None;
  if (ring_.NoticeClaimed) {
    return ring_.NoticeReader == std::this_thread::get_id() ? NoticeClaim::AlreadyReading
                                                            : NoticeClaim::None;
  }
  ring_.NoticeClaimed = true;
  ring_.NoticeReader = std::this_thread::get_id();
  ring_.ReaderRing = ring_.Buffer.get();
  ring_.ReaderBase = ring_.ReadIndex;
  // Read index, write index and ring stay as they are until the delivery
  // ends: the dispatch thread waits meanwhile, or, once it stopped waiting,
  // pulls only into free room.
  const uint32_t announced = ring_.Unread();
  const uint32_t taken = ring_.ReadCount.load();
  ring_.ReaderLimit.store(trace_.TraceActive.load() || taken > announced ? 0 : announced);
  return NoticeClaim::Began;
}

void TSioBaseDispatcher::endNoticeReading() {
  const Lock lock(InputLock);
  ring_.NoticeClaimed = false;
  ring_.ReaderLimit.store(0);
  if (!ring_.NoticeAbandoned) return;
  ring_.NoticeAbandoned = false;
  ring_.CompleteDataNotice();
  // Bytes that arrived meanwhile are announced now.
  wakeDispatchThread();
}

void TSioBaseDispatcher::finishDelivery() {
  const Lock lock(DispatchLock);
  inNotification_.store(false);
  if (targets_.EraseRemoved()) UpdateHandlerService(0);
}
