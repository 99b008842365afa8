#include "serial/SioPosixDispatcher.h"

#include <sched.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "serial/CommCodes.h"
#include "serial/Deadline.h"
#include "serial/ErrnoMapping.h"
#include "serial/LastError.h"
#include "serial/ModemLines.h"
#include "serial/PortPath.h"
#include "serial/ReadThread.h"
#include "serial/Rs485Line.h"
#include "serial/SerialDevice.h"
#include "serial/StatusThread.h"
#include "serial/TermiosLine.h"
#include "serial/WriteThread.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// How long an output purge waits for the write thread to let go of its block.
constexpr std::chrono::milliseconds kPurgeAck{5000};

// What a device holds beyond its terminal settings right after it opened:
// DTR and RTS raised.
Dcb openedLine() {
  Dcb line;
  line.Flags = kDcbBinary | kDtrControlEnable | kRtsControlEnable;
  return line;
}

}  // namespace

TSioPosixDispatcher::TSioPosixDispatcher(TSioBaseComponent* owner)
    : TSioDescriptorDispatcher(owner), keptLine_(openedLine()) {}

TSioPosixDispatcher::~TSioPosixDispatcher() { CloseForDestruction(); }

void TSioPosixDispatcher::SetLineCountSource(LineCountSource source) {
  lineErrors_.SetSource(std::move(source));
}

int32_t TSioPosixDispatcher::SendLineEscape(int32_t func) {
  unsigned long request;
  int line;
  switch (func) {
    case kEscapeSetRts:
      request = TIOCMBIS;
      line = TIOCM_RTS;
      break;
    case kEscapeClrRts:
      request = TIOCMBIC;
      line = TIOCM_RTS;
      break;
    case kEscapeSetDtr:
      request = TIOCMBIS;
      line = TIOCM_DTR;
      break;
    case kEscapeClrDtr:
      request = TIOCMBIC;
      line = TIOCM_DTR;
      break;
    default:
      return 0;
  }
  // A device without modem lines refuses; the line state is only a wish then.
  ioctl(Device(), request, &line);
  return 0;
}

int32_t TSioPosixDispatcher::PurgeDeviceQueue(int32_t which) {
  if (which == 0) return purgeOutput();
  if (which == 1) return purgeInput();
  return 0;
}

int32_t TSioPosixDispatcher::purgeOutput() {
  if (!ThreadPresent(ThreadRole::Write)) return 0;
  PurgeOutputRing();
  const int32_t result = FlushDeviceQueue(Device(), true) == 0 ? 1 : 0;
  OutputFlushEvent().Set();
  WriteWakeEvent().Set();
  // A write thread that ends meanwhile acknowledges nothing: stop waiting then.
  const Deadline deadline(kPurgeAck);
  while (!deadline.Passed() && ThreadPresent(ThreadRole::Write)) {
    if (ThreadAckEvent().WaitFor(std::min(deadline.Remaining(), kPurgeLook))) break;
  }
  return result;
}

int32_t TSioPosixDispatcher::purgeInput() {
  const int32_t result = FlushDeviceQueue(Device(), false) == 0 ? 1 : 0;
  InputQueue().Clear();
  return result;
}

int32_t TSioPosixDispatcher::CollectLineErrors(ComStat& status) {
  status = ComStat{};
  int received = 0;
  if (ioctl(Device(), FIONREAD, &received) == 0 && received > 0) {
    status.cbInQue = static_cast<uint32_t>(received);
  }
  const uint32_t errors = lineErrors_.Take(Device());
  status.cbOutQue = UnsentOutputCount();
  return static_cast<int32_t>(errors);
}

uint32_t TSioPosixDispatcher::QueryEventMask(int32_t) { return 0; }

int32_t TSioPosixDispatcher::FetchLineSettings(Dcb& dcb) {
  termios2 line{};
  if (ReadTermios(Device(), line) != 0) return -1;
  const std::lock_guard<std::mutex> lock(lineLock_);
  dcb = TermiosToDcb(line, keptLine_);
  return 0;
}

int32_t TSioPosixDispatcher::TakeReceivedBytes(uint8_t* buffer, int32_t size) {
  return InputQueue().TakeReceivedBytes(buffer, size);
}

int32_t TSioPosixDispatcher::ApplyLineSettings(Dcb& dcb) {
  const ErrnoContext context = inService_.load() ? ErrnoContext::Open : ErrnoContext::Opening;
  termios2 line{};
  int error = ReadTermios(Device(), line);
  if (error == 0 && !DcbToTermios(dcb, line)) error = EINVAL;
  if (error == 0) error = followRs485(dcb);
  if (error == 0) error = WriteTerminal(Device(), line);
  if (error == 0) {
    const std::lock_guard<std::mutex> lock(lineLock_);
    keptLine_ = dcb;
  }
  if (error == 0) {
    termios2 taken{};
    error = ReadTermios(Device(), taken);
    if (error == 0 && !LineTaken(dcb, TermiosToDcb(taken, dcb))) error = EINVAL;
  }
  return error == 0 ? 0 : -SioErrorOfErrno(error, context);
}

int TSioPosixDispatcher::followRs485(const Dcb& dcb) {
  const bool wanted = (dcb.Flags & kDcbRtsControlMask) == kRtsControlToggle;
  if (wanted == rs485On_) return 0;
  const int error = WriteRs485(Device(), wanted);
  // A driver without RS-485 support refuses, as for any setting it cannot take.
  if (error != 0) return wanted ? EINVAL : error;
  rs485On_ = wanted;
  return 0;
}

int TSioPosixDispatcher::WriteTerminal(int device, const termios2& line) {
  return WriteTermios(device, line);
}

int TSioPosixDispatcher::WriteRs485(int device, bool on) { return SetKernelRs485(device, on); }

int32_t TSioPosixDispatcher::QueueOutputBytes(const uint8_t* buffer, int32_t size) {
  const std::lock_guard<std::recursive_mutex> lock(OutputLock);
  // The write thread takes the whole ring each time: bytes put into a ring
  // that still holds some go out with those, so only the first needs the
  // wake (one event set per burst, not per byte).
  const bool startsRing = OutputRingPendingCount() == 0;
  const int32_t queued = PutIntoOutputRing(buffer, size);
  if (startsRing && queued > 0) OutputReadyEvent().Set();
  return queued;
}

bool TSioPosixDispatcher::AwaitLineEvent(uint32_t& mask) {
  mask = 0;
  return true;
}

bool TSioPosixDispatcher::SizeDeviceQueues(int32_t, int32_t) { return true; }

void TSioPosixDispatcher::StartPortThreads() {
  inService_.store(true);
  StartThreadsInOrder(std::make_unique<TReadThread>(*this), std::make_unique<TWriteThread>(*this),
                      std::make_unique<TStatusThread>(*this));
}

void TSioPosixDispatcher::ReleasePortEvents() {
  if (Started()) CloseDevice();
}

uint32_t TSioPosixDispatcher::PendingOutputCount() { return OutputRingPendingCount(); }

uint32_t TSioPosixDispatcher::PendingInputCount() { return InputQueue().PendingInputCount(); }

intptr_t TSioPosixDispatcher::OpenDevice(const char* name, int32_t, int32_t) {
  int device = -1;
  if (const int error = OpenSerialDevice(ResolvePortPath(name), device, uucpLock_)) {
    SetSioLastError(SioErrorOfErrno(error));
    return -1;
  }
  AdoptDevice(device, true);
  return device;
}

void TSioPosixDispatcher::AdoptDevice(int device, bool claimed) {
  {
    const std::lock_guard<std::mutex> lock(lineLock_);
    keptLine_ = openedLine();
  }
  lineErrors_.Start(device);
  modemLinesKept_.store(true);
  ownsDevice_.store(claimed);
  {
    const Lock lock(DispatchLock);
    rs485On_ = false;
  }
  SetDeviceHandle(device);
}

int32_t TSioPosixDispatcher::CloseDevice() {
  {
    const Lock lock(DispatchLock);
    if (closing_) return 0;
    closing_ = true;
  }
  struct ClosingEnds {
    TSioPosixDispatcher& port;
    ~ClosingEnds() {
      const Lock lock(port.DispatchLock);
      port.closing_ = false;
    }
  } const closingEnds{*this};

  if (Started()) {
    KillThreads();
    // In this order, each woken once more on its way out.
    StatusEvent().Set();
    PumpUntilThreadGone(ThreadRole::Status);
    OutputFlushEvent().Set();
    WriteWakeEvent().Set();
    PumpUntilThreadGone(ThreadRole::Write);
    SerialEvent().Set();
    ThreadAckEvent().Reset();
    PumpUntilThreadGone(ThreadRole::Read);
    AwaitDispatchThreadEnd();
  }
  inService_.store(false);
  const int device = Device();
  if (device < 0) return 0;
  {
    // The next program on the device finds it as it was before.
    const Lock lock(DispatchLock);
    if (rs485On_) WriteRs485(device, false);
    rs485On_ = false;
  }
  SetDeviceHandle(-1);
  // A device handed over by someone else is only closed, never unclaimed.
  if (ownsDevice_.exchange(false)) return CloseSerialDevice(device, uucpLock_) == 0 ? 0 : -1;
  return close(device) == 0 ? 0 : -1;
}

int32_t TSioPosixDispatcher::YieldTimeSlice() {
  sched_yield();
  return 0;
}

uint8_t TSioPosixDispatcher::ReadModemLines() {
  // A device that has no modem lines never grows them: ask it once.
  if (!modemLinesKept_.load(std::memory_order_relaxed)) return 0;
  uint8_t lines = 0;
  const int error = ReadModemLineBits(Device(), lines);
  if (NoModemLines(error)) modemLinesKept_.store(false, std::memory_order_relaxed);
  return error == 0 ? lines : 0;
}
