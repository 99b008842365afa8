#pragma once
// Whether a serial server answers, found out without the caller waiting: one
// connection attempt on a thread of its own, bounded as an open is
// (TSioNetDispatcher::kConnectBound), the connection closed at once. For
// trying a server that lets every open wait out its time-out again and
// again without holding the caller each time.

#include <atomic>
#include <memory>

#include "serial/net/NetTarget.h"

class ServerProbe {
 public:
  enum class Outcome {
    Pending,   // the attempt still runs
    Answered,  // the host took the connection or refused it: it is there
    Silent,    // no answer in time, or no way to it
  };

  // Starts the attempt; a probe that cannot start a thread is Silent.
  explicit ServerProbe(const NetTarget& target);

  Outcome Result() const { return outcome_->load(); }

 private:
  // Shared with the attempt, which may outlive the probe.
  std::shared_ptr<std::atomic<Outcome>> outcome_;
};
