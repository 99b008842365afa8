#pragma once
// The line errors of a device, from the kernel's running error counters:
// every counter that rose since the last look sets its error bit
// (kLineError... of CommCodes). Shared by the status thread, which reports
// new errors as line events, and CollectLineErrors, which takes the bits
// gathered since it last took them. Thread-safe.

#include <cstdint>
#include <functional>
#include <mutex>

struct LineCounts {
  uint32_t Overrun = 0;  // the UART lost bytes
  uint32_t Parity = 0;
  uint32_t Framing = 0;
  uint32_t Break = 0;
  uint32_t BufferOverrun = 0;  // the driver's receive buffer overflowed
};

// Reads a device's counters: 0, or the error number (ENOTTY or EINVAL when
// the device keeps no counters, as pseudo-terminals do).
using LineCountSource = std::function<int(int device, LineCounts& counts)>;

// The kernel's counters of a serial device (TIOCGICOUNT).
int ReadKernelLineCounts(int device, LineCounts& counts);

class LineErrorCounters {
 public:
  explicit LineErrorCounters(LineCountSource source = ReadKernelLineCounts);

  // Replaces where the counts come from; the next Start takes effect.
  void SetSource(LineCountSource source);

  // Takes the device's present counts as the point errors are seen from, and
  // forgets earlier bits. A device without counters reports no errors.
  void Start(int device);

  // Looks at the counters: 0 with the bits of errors new since the last look
  // in newErrors (also kept for Take), or the error number of the read.
  // After the device said it keeps no counters, 0 and no bits, without
  // asking it again.
  int Poll(int device, uint32_t& newErrors);

  // Looks, then returns and clears the bits gathered since the last Take. A
  // failed look only reports what was gathered before.
  uint32_t Take(int device);

  // Whether the device keeps counters (as far as known).
  bool Kept() const;

 private:
  mutable std::mutex lock_;
  LineCountSource source_;
  LineCounts last_;
  uint32_t pending_ = 0;
  bool kept_ = true;
};
