#pragma once
// The dispatcher's event log: time-stamped records of what the dispatcher
// did, kept in a queue whose oldest records are dropped beyond a byte limit.

#include <cstdint>
#include <string>

#include "serial/IOQueue.h"

enum class LogKind : uint8_t {
  Received = 1,      // bytes pulled into the dispatch buffer
  Transmitted = 2,   // bytes queued for output
  Notice = 3,        // a notice delivered; Value the count
  Threshold = 4,     // the data-available threshold set; Value the threshold
  NotifyTarget = 5,  // a notify target added
  DispatchFull = 6,  // the dispatch buffer was full
};

class EventLog {
 public:
  // Empties the log and bounds it to limit bytes of record data (0: no bound).
  void Start(uint32_t limit);
  void Add(LogKind kind, uint16_t subKind, uint32_t time, int32_t value,
           const uint8_t* data = nullptr, uint32_t count = 0);
  void Clear() { records_.Clear(); }
  size_t Count() const { return records_.Count(); }

  // Writes a header (port name, operating system) and one line per record,
  // appending when asked, then empties the log. An empty log writes nothing.
  // 0, or minus the error number of a failed file operation.
  int32_t Dump(const std::string& fileName, bool append, bool hex, bool allHex,
               const std::string& portName);

 private:
  TIOQueue records_;
  uint32_t limit_ = 0;
};
