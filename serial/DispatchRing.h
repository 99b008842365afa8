#pragma once
// The dispatch ring of received bytes and the bookkeeping of the data notice
// that announces them: what the dispatch thread pulled in, what the
// application read, and which thread reads the notice being delivered. Not
// locked itself: the dispatcher guards every member with its InputLock,
// unless the member says otherwise.

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

struct DispatchRing {
  static constexpr uint32_t kSize = 8192;
  static constexpr uint32_t kMask = kSize - 1;
  static_assert((kSize & kMask) == 0, "the dispatch ring wraps by masking");

  // Unread bytes, counting those a notice's handlers read; 0 while released.
  uint32_t Unread() const;
  // Empties the ring and holds it for a newly opened port, allocating the
  // bytes the first time; no notice is being read.
  void Hold();
  // Empties the ring and lets it go; the bytes stay allocated.
  void Release();
  // Ends notification mode and consumes the most bytes any handler of the
  // notice read; that count.
  uint32_t CompleteDataNotice();
  // The reader's next announced byte, served without a lock; false when
  // none is left to serve that way. Called by the notice's reader alone, so
  // relaxed orders do. Inline: called once per byte.
  bool ServeAnnounced(uint8_t& ch) {
    const uint32_t taken = ReadCount.load(std::memory_order_relaxed);
    if (taken >= ReaderLimit.load(std::memory_order_relaxed)) return false;
    ch = ReaderRing[(ReaderBase + taken) & kMask];
    ReadCount.store(taken + 1, std::memory_order_relaxed);
    return true;
  }

  // The ring's bytes stay allocated until destruction, so a notice's reader
  // never reads freed memory; released, the ring holds nothing.
  std::unique_ptr<uint8_t[]> Buffer;
  bool Held = false;
  std::atomic<uint32_t> WriteIndex{0};
  uint32_t ReadIndex = 0;
  // Write index = read index is full, not empty.
  bool Full = false;
  // A data notice is being delivered: reads do not consume until it ends.
  bool NotificationMode = false;
  // Bytes read during the notice. Written by the notice's reader alone while
  // it reads (a relaxed store per byte), else under InputLock.
  std::atomic<uint32_t> ReadCount{0};
  // The most any handler of the notice read: consumed when it ends.
  uint32_t MostRead = 0;
  // A thread reads the current data notice (NoticeReading), and which.
  bool NoticeClaimed = false;
  std::thread::id NoticeReader;
  // The delivery stopped waiting while the reader still read; the reader
  // completes it.
  bool NoticeAbandoned = false;
  // The reader's own view of the announced bytes: the ring, the read index
  // and the count announced, set by the reader as it begins. The count goes
  // to 0 (from any thread) when the bytes may no longer be served lock-free:
  // the ring released, a trace started.
  const uint8_t* ReaderRing = nullptr;
  uint32_t ReaderBase = 0;
  std::atomic<uint32_t> ReaderLimit{0};
  // Bytes were pulled in since the last data-available notice. Tracked apart
  // from the write index so a pass that fills the whole ring is announced.
  std::atomic<bool> ArrivedSinceNotice{false};
};
