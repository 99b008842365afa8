#pragma once
// The status thread of a POSIX port: watches the modem lines and the
// kernel's line error counters, every 100 ms, and queues each change as a
// line event item (EV_ bits of CommCodes) on the input queue. Arriving bytes
// are the read thread's to notice. On a device with neither (a
// pseudo-terminal) it sleeps with no time limit until the stop wakes it, so
// an idle port costs nothing.

#include <chrono>
#include <cstdint>

#include "serial/SioPosixDispatcher.h"
#include "serial/SioPosixThread.h"

class TStatusThread : public TSioPosixThread {
 public:
  // The events the thread reports: CTS, DSR, carrier, ring, break, errors.
  static constexpr uint32_t kWatchedEvents = 0x1F9;
  // How often the lines of a device that has them are looked at.
  static constexpr std::chrono::milliseconds kWatchPeriod{100};

  explicit TStatusThread(TSioPosixDispatcher& terminal)
      : TSioPosixThread(terminal), terminal_(terminal) {}

 protected:
  void Execute() override;

 private:
  // The events since the last look: false (the threads stopped) when the
  // device failed.
  bool lookAtLine(uint32_t& events);
  bool lookAtModemLines(uint32_t& events);
  void queueEvents(uint32_t events);

  // The terminal's own side: its line error counters.
  TSioPosixDispatcher& terminal_;
  // The event mask in force.
  uint32_t LastMask = kWatchedEvents;
  bool modemLinesKept_ = true;
  uint8_t modemLines_ = 0;
};
