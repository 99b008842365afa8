#include "serial/LineErrorCounters.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

#include <cerrno>

#include "serial/CommCodes.h"

namespace {

using Lock = std::lock_guard<std::mutex>;

bool noCounters(int error) { return error == ENOTTY || error == EINVAL; }

uint32_t risenBits(const LineCounts& before, const LineCounts& now) {
  uint32_t bits = 0;
  if (now.Overrun != before.Overrun) bits |= kLineErrorOverrun;
  if (now.Parity != before.Parity) bits |= kLineErrorParity;
  if (now.Framing != before.Framing) bits |= kLineErrorFraming;
  if (now.Break != before.Break) bits |= kLineErrorBreak;
  if (now.BufferOverrun != before.BufferOverrun) bits |= kLineErrorRxOverflow;
  return bits;
}

}  // namespace

int ReadKernelLineCounts(int device, LineCounts& counts) {
  serial_icounter_struct kernel{};
  if (ioctl(device, TIOCGICOUNT, &kernel) != 0) return errno;
  counts.Overrun = static_cast<uint32_t>(kernel.overrun);
  counts.Parity = static_cast<uint32_t>(kernel.parity);
  counts.Framing = static_cast<uint32_t>(kernel.frame);
  counts.Break = static_cast<uint32_t>(kernel.brk);
  counts.BufferOverrun = static_cast<uint32_t>(kernel.buf_overrun);
  return 0;
}

LineErrorCounters::LineErrorCounters(LineCountSource source) : source_(std::move(source)) {}

void LineErrorCounters::SetSource(LineCountSource source) {
  const Lock lock(lock_);
  source_ = std::move(source);
}

void LineErrorCounters::Start(int device) {
  const Lock lock(lock_);
  last_ = LineCounts{};
  pending_ = 0;
  kept_ = !noCounters(source_(device, last_));
}

int LineErrorCounters::Poll(int device, uint32_t& newErrors) {
  newErrors = 0;
  const Lock lock(lock_);
  if (!kept_) return 0;
  LineCounts now;
  const int error = source_(device, now);
  if (noCounters(error)) {
    kept_ = false;
    return 0;
  }
  if (error != 0) return error;
  newErrors = risenBits(last_, now);
  last_ = now;
  pending_ |= newErrors;
  return 0;
}

uint32_t LineErrorCounters::Take(int device) {
  uint32_t ignored = 0;
  Poll(device, ignored);
  const Lock lock(lock_);
  const uint32_t taken = pending_;
  pending_ = 0;
  return taken;
}

bool LineErrorCounters::Kept() const {
  const Lock lock(lock_);
  return kept_;
}
