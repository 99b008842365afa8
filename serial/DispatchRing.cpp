#include "serial/DispatchRing.h"

#include <algorithm>

uint32_t DispatchRing::Unread() const {
  if (!Held) return 0;
  const uint32_t write = WriteIndex.load(std::memory_order_relaxed);
  if (write == ReadIndex) return Full ? kSize : 0;
  return (write - ReadIndex) & kMask;
}

void DispatchRing::Hold() {
  if (!Buffer) Buffer = std::make_unique<uint8_t[]>(kSize);
  Held = true;
  WriteIndex.store(0);
  ReadIndex = 0;
  Full = false;
  ReadCount.store(0);
  NotificationMode = false;
  NoticeClaimed = false;
  NoticeAbandoned = false;
  ArrivedSinceNotice.store(false);
}

void DispatchRing::Release() {
  Held = false;
  ReaderLimit.store(0);
  WriteIndex.store(0);
  ReadIndex = 0;
  Full = false;
}

uint32_t DispatchRing::CompleteDataNotice() {
  // A handler that outlived its wait without a reading may have read on
  // meanwhile; those reads count too, and later ones consume directly.
  MostRead = std::max(MostRead, ReadCount.load());
  NotificationMode = false;
  const uint32_t consumed = std::min(MostRead, Unread());
  ReadIndex = (ReadIndex + consumed) & kMask;
  if (consumed > 0) Full = false;
  ReadCount.store(0);
  return MostRead;
}
