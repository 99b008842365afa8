#include "serial/SioDescriptorDispatcher.h"

#include <sched.h>
#include <sys/ioctl.h>

#include <algorithm>

#include "serial/Deadline.h"
#include "serial/DispThread.h"
#include "serial/MessagePump.h"
#include "serial/ReadThread.h"
#include "serial/WriteThread.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// How long each starting thread has to acknowledge.
constexpr std::chrono::milliseconds kStartAck{3000};
// How long an output purge waits for the write thread to let go of its block.
constexpr std::chrono::milliseconds kPurgeAck{5000};
// How long a close waits, twice, for the dispatch thread (36 ticks of 55 ms),
// which may be held in a delivery for up to 3000 ms.
constexpr std::chrono::milliseconds kDispatchStop{36 * 55};
constexpr int kDispatchStopRounds = 2;

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
  const Lock lock(DispatchLock);
  MarkThreadsStarted();
  StartThread(ThreadRole::Read, std::make_unique<TReadThread>(*this));
  ThreadAckEvent().WaitFor(kStartAck);
  StartThread(ThreadRole::Dispatch, std::make_unique<TDispThread>(*this));
  ThreadAckEvent().WaitFor(kStartAck);
  StartThread(ThreadRole::Write, std::make_unique<TWriteThread>(*this));
  ThreadAckEvent().WaitFor(kStartAck);
  StartThread(ThreadRole::Status, CreateStatusThread());
  ThreadAckEvent().WaitFor(kStartAck);
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
    waitUntilGone(ThreadRole::Status);
    OutputFlushEvent().Set();
    WriteWakeEvent().Set();
    waitUntilGone(ThreadRole::Write);
    SerialEvent().Set();
    ThreadAckEvent().Reset();
    waitUntilGone(ThreadRole::Read);
    stopDispatchThread();
  }
  const int device = Device();
  if (device < 0) return 0;
  SetDeviceHandle(-1);
  return ReleaseDevice(device);
}

void TSioDescriptorDispatcher::waitUntilGone(ThreadRole role) {
  while (ThreadPresent(role)) PumpOneMessage();
}

void TSioDescriptorDispatcher::stopDispatchThread() {
  // Held in a delivery, the dispatch thread ends by itself once the delivery
  // gives up; destruction waits for it then.
  for (int round = 0; round < kDispatchStopRounds && ThreadPresent(ThreadRole::Dispatch); ++round) {
    const Deadline deadline(kDispatchStop);
    while (ThreadPresent(ThreadRole::Dispatch) && !deadline.Passed()) PumpOneMessage();
  }
}

int32_t TSioDescriptorDispatcher::YieldTimeSlice() {
  sched_yield();
  return 0;
}
