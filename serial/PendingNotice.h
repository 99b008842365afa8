#pragma once
// The hand-over of one sent notice between the waiting sender and the GUI
// thread that runs it, owned by both sides (a shared_ptr each): the GUI side
// may still be in End when the sender has seen the notice done. Once the sender has given up, a
// notice that had not started is cancelled and never runs.

#include <chrono>
#include <condition_variable>
#include <mutex>

class PendingNotice {
 public:
  // GUI side, before running the notice: false when the sender gave up (the
  // notice must then be dropped), else marks it running.
  bool Begin();
  // GUI side, after running the notice.
  void End();

  // Sender side: waits until the notice has run, at most timeout. True when
  // it ran in time; on a time-out a notice not yet begun is cancelled.
  bool WaitHandled(std::chrono::milliseconds timeout);

 private:
  enum class State { Queued, Running, Done, Cancelled };

  std::mutex mutex_;
  std::condition_variable done_;
  State state_ = State::Queued;
};
