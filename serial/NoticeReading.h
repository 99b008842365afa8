#pragma once
// Reading a data notice on the thread that runs its handler. While a
// NoticeReading for a dispatcher lives on a thread, that thread is the
// reader of the dispatcher's current data notice (TRG_AVAIL, TRG_DATA): its
// ReadByte calls take the announced bytes one after the other without a lock
// each, and no other thread reads them meanwhile. The window procedure puts
// one around the handlers of every data notice; a notify target that calls
// handlers itself may do the same. Without one, reads take the dispatcher's
// lock byte by byte, with the same results.
//
// Readings nest (a handler running a nested event loop); a dispatcher that
// is destroyed on the reading thread, from inside its own handler, is
// forgotten by the readings that name it.

class TSioBaseDispatcher;

class NoticeReading {
 public:
  explicit NoticeReading(TSioBaseDispatcher& dispatcher);
  ~NoticeReading();
  NoticeReading(const NoticeReading&) = delete;
  NoticeReading& operator=(const NoticeReading&) = delete;

  // Whether the calling thread's innermost reading is of dispatcher's notice.
  // Inline: asked once per byte read.
  static bool Reads(const TSioBaseDispatcher& dispatcher) {
    return innermost_ != nullptr && innermost_->dispatcher_ == &dispatcher;
  }
  // Called by a dispatcher as it goes away.
  static void Forget(const TSioBaseDispatcher& dispatcher);

 private:
  // The calling thread's innermost reading.
  static constinit thread_local NoticeReading* innermost_;

  TSioBaseDispatcher* dispatcher_;
  // This reading began the notice's reading (an inner one of the same notice
  // leaves the end to it).
  bool began_ = false;
  NoticeReading* const outer_;
};
