#include "serial/SioDescriptorDispatcher.h"

#include <sched.h>
#include <sys/ioctl.h>

#include <algorithm>

#include "serial/Deadline.h"
#include "serial/ReadThread.h"
#include "serial/WriteThread.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// How long an output purge waits for the write thread to let go of its block.
constexpr std::chrono::milliseconds kPurgeAck{5000};

}  // namespace

void TSioDescriptorDispatcher::KillThreads() {
  SetKillFlag();
  serialEvent_.Set();
  statusEvent_.Set();
  writeWakeEvent_.Set();
}

bool TSioDescriptorDispatcher::TakeSendingBlock(std::vector<uint8_t>& block) {
  const std::lock_guard<std::recursive_mutex> lock(OutputLock);
  if (!TakeOutputBlock(block)) return false;
  sending_ = block.size();
  return true;
}

void TSioDescriptorDispatcher::SendingLeft(size_t count) {
  const std::lock_guard<std::recursive_mutex> lock(OutputLock);
  sending_ = count;
}

uint32_t TSioDescriptorDispatcher::UnsentOutputCount() {
  size_t held;
  {
    const std::lock_guard<std::recursive_mutex> lock(OutputLock);
    held = OutputRingPendingCount() + sending_;
  }
  int queued = 0;
  if (ioctl(Device(), TIOCOUTQ, &queued) != 0 || queued < 0) queued = 0;
  return static_cast<uint32_t>(held + static_cast<size_t>(queued));
}

int32_t TSioDescriptorDispatcher::TakeReceivedBytes(uint8_t* buffer, int32_t size) {
  return InputQueue().TakeReceivedBytes(buffer, size);
}

int32_t TSioDescriptorDispatcher::QueueOutputBytes(const uint8_t* buffer, int32_t size) {
  const std::lock_guard<std::recursive_mutex> lock(OutputLock);
  // The write thread takes the whole ring each time: bytes put into a ring
  // that still holds some go out with those, so only the first needs the
  // wake (one event set per burst, not per byte).
  const bool startsRing = OutputRingPendingCount() == 0;
  const int32_t queued = PutIntoOutputRing(buffer, size);
  if (startsRing && queued > 0) OutputReadyEvent().Set();
  return queued;
}

uint32_t TSioDescriptorDispatcher::QueryEventMask(int32_t) { return 0; }

bool TSioDescriptorDispatcher::AwaitLineEvent(uint32_t& mask) {
  mask = 0;
  return true;
}

bool TSioDescriptorDispatcher::SizeDeviceQueues(int32_t, int32_t) { return true; }

void TSioDescriptorDispatcher::StartPortThreads() {
  StartThreadsInOrder(std::make_unique<TReadThread>(*this), std::make_unique<TWriteThread>(*this),
                      CreateStatusThread());
}

void TSioDescriptorDispatcher::ReleasePortEvents() {
  if (Started()) CloseDevice();
}

uint32_t TSioDescriptorDispatcher::PendingOutputCount() { return OutputRingPendingCount(); }

uint32_t TSioDescriptorDispatcher::PendingInputCount() { return InputQueue().PendingInputCount(); }

bool TSioDescriptorDispatcher::AbortPendingWrite() {
  if (!ThreadPresent(ThreadRole::Write)) return false;
  OutputFlushEvent().Set();
  WriteWakeEvent().Set();
  // A write thread that ends meanwhile acknowledges nothing: stop waiting then.
  const Deadline deadline(kPurgeAck);
  while (!deadline.Passed() && ThreadPresent(ThreadRole::Write)) {
    if (ThreadAckEvent().WaitFor(std::min(deadline.Remaining(), kPurgeLook))) break;
  }
  return true;
}

int32_t TSioDescriptorDispatcher::CloseDevice() {
  {
    const Lock lock(DispatchLock);
    if (closing_) return 0;
    closing_ = true;
  }
  struct ClosingEnds {
    TSioDescriptorDispatcher& port;
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
  const int device = Device();
  if (device < 0) return 0;
  SetDeviceHandle(-1);
  return ReleaseDevice(device);
}

int32_t TSioDescriptorDispatcher::YieldTimeSlice() {
  sched_yield();
  return 0;
}
