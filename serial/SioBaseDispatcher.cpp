#include "serial/SioBaseDispatcher.h"

#include <thread>

#include "serial/CheckError.h"
#include "serial/Deadline.h"
#include "serial/DispThread.h"
#include "serial/DispatcherRegistry.h"
#include "serial/ExceptionDisplay.h"
#include "serial/LastError.h"
#include "serial/MessagePump.h"
#include "serial/NoticeReading.h"
#include "serial/ResultCodes.h"
#include "serial/SioBaseComponent.h"
#include "serial/SioExceptions.h"
#include "serial/SioMessages.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// The framework's normal thread priority.
constexpr int kNormalPriority = 3;

// How long each starting port thread has to acknowledge.
constexpr std::chrono::milliseconds kStartAck{3000};

// How long a close waits, twice, for the dispatch thread (36 ticks of 55 ms),
// which may be held in a delivery for up to 3000 ms.
constexpr std::chrono::milliseconds kDispatchStop{36 * 55};
constexpr int kDispatchStopRounds = 2;

size_t slotOf(ThreadRole role) { return static_cast<size_t>(role); }

// Minus the calling thread's last OS error; a platform that failed without
// saying why still gets a failure code.
int32_t lastErrorCode() {
  const int32_t error = SioLastError();
  return error > 0 ? -error : -1;
}

}  // namespace

TSioBaseDispatcher::TSioBaseDispatcher(TSioBaseComponent* owner)
    : owner_(owner),
      sleeper_([](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); }) {
  handle_ = DispatcherRegistry::Add(this);
}

TSioBaseDispatcher::~TSioBaseDispatcher() {
  NoticeReading::Forget(*this);
  waitForThreads();
  DispatcherRegistry::Remove(handle_);
}

void TSioBaseDispatcher::CloseForDestruction() {
  if (closePending_.load()) {
    ReleasePortBuffers();
  } else {
    FinishDevice();
  }
  waitForThreads();
}

void TSioBaseDispatcher::waitForThreads() {
  while (RunningThreads() > 0) PumpOneMessage();
}

int32_t TSioBaseDispatcher::InitDevice(const std::string& name, int32_t baud, uint8_t parity,
                                       uint16_t dataBits, uint16_t stopBits, uint32_t inSize,
                                       uint32_t outSize, uint32_t lineFlags) {
  {
    const Lock lock(DispatchLock);
    line_.RingLatch = false;
    targets_.RemovalsPending = false;
  }
  inNotification_.store(false);
  deviceLost_.store(false);
  threadAckEvent_.Reset();
  outputReadyEvent_.Reset();
  outputFlushEvent_.Reset();

  const intptr_t device =
      OpenDevice(name.c_str(), static_cast<int32_t>(inSize), static_cast<int32_t>(outSize));
  if (device < 0) {
    const int32_t result = device == kOutOfMemory ? kOutOfMemory : lastErrorCode();
    FinishDevice();
    return result;
  }
  SetDeviceHandle(device);
  if (!SizeDeviceQueues(static_cast<int32_t>(inSize), static_cast<int32_t>(outSize))) {
    const int32_t result = lastErrorCode();
    FinishDevice();
    return result;
  }

  {
    const Lock lock(InputLock);
    ring_.Hold();
  }
  {
    const Lock lock(OutputLock);
    outputRing_.Allocate(outSize);
  }
  inputSize_.store(inSize);
  outputSize_.store(outSize);
  closePending_.store(false);
  {
    const Lock lock(DispatchLock);
    line_.ErrorWord = 0;
    line_.Rs485Mode = false;
    FetchLineSettings(line_.Settings);
    line_.DtrAuto = (lineFlags & kLineFlagDtrHandshake) != 0;
    line_.RtsAuto = (lineFlags & kLineFlagRtsHandshake) != 0;
  }
  if (!(lineFlags & kLineFlagDtrHandshake)) SetDtrLine((lineFlags & kLineFlagDtr) != 0);
  if (!(lineFlags & kLineFlagRtsHandshake)) SetRtsLine((lineFlags & kLineFlagRts) != 0);

  ClearTriggers();
  {
    const Lock lock(DispatchLock);
    line_.ModemStatus = 0;
  }
  ReadModemStatus(0xF0);
  {
    const Lock lock(DispatchLock);
    line_.LastBaud = 115200;
  }

  const int32_t configured = ConfigureLine(baud, parity, dataBits, stopBits);
  if (configured != 0) {
    FinishDevice();
    return configured;
  }

  RefreshLineErrors();
  StopTracing();
  StopLogging();
  {
    const Lock lock(DispatchLock);
    trace_.RestartLog();
  }
  StartPortThreads();
  return 0;
}

void TSioBaseDispatcher::FinishDevice() {
  if (DeviceHandle() >= 0) {
    DiscardOutput();
    DiscardInput();
    CloseDevice();
  }
  {
    const Lock lock(DispatchLock);
    if (inNotification_.load()) {
      // Called from inside a notice whose delivery still runs: the dispatch
      // thread leaves its loop and releases the buffers as it ends.
      closePending_.store(true);
      return;
    }
  }
  ReleasePortBuffers();
}

void TSioBaseDispatcher::ReleasePortBuffers() {
  releaseOnExit_.store(false);
  if (Started()) ReleasePortEvents();
  releaseDispatchBuffer();
  const Lock lock(OutputLock);
  outputRing_.Release();
}

void TSioBaseDispatcher::releaseDispatchBuffer() {
  const Lock lock(InputLock);
  ring_.Release();
}

uint32_t TSioBaseDispatcher::PendingInputCount() { return 0; }

void TSioBaseDispatcher::ApplyThreadBoost(uint8_t boost) {
  const Lock lock(DispatchLock);
  if (boost == threadBoost_) return;
  threadBoost_ = boost;
  const int priority = kNormalPriority + boost;
  for (const ThreadRole role :
       {ThreadRole::Read, ThreadRole::Dispatch, ThreadRole::Write, ThreadRole::Status}) {
    TSioDispatcherThread* thread = threads_[slotOf(role)];
    if (thread == nullptr) continue;
    const bool raised = role == ThreadRole::Write && line_.Rs485Mode;
    thread->SetPriority(raised ? priority + 1 : priority);
  }
}

uint8_t TSioBaseDispatcher::ThreadBoost() {
  const Lock lock(DispatchLock);
  return threadBoost_;
}

void TSioBaseDispatcher::UpdateHandlerService(uint8_t kind) {
  const Lock lock(DispatchLock);
  targets_.UpdateService(kind);
  wakeForUnannounced();
}

void TSioBaseDispatcher::SetKillFlag() {
  killFlag_.store(true);
  inputQueue_.Wake();
  outputReadyEvent_.Set();
}

void TSioBaseDispatcher::MarkThreadsStarted() {
  const Lock lock(DispatchLock);
  if (Started()) throw Exception("Dispatcher already started.");
  runState_.fetch_or(1);
  killFlag_.store(false);
}

void TSioBaseDispatcher::StartThread(ThreadRole role,
                                     std::unique_ptr<TSioDispatcherThread> thread) {
  const Lock lock(DispatchLock);
  threads_[slotOf(role)] = thread.get();
  runState_.fetch_add(2);
  try {
    TSioDispatcherThread::Launch(std::move(thread), role);
  } catch (...) {
    threads_[slotOf(role)] = nullptr;
    runState_.fetch_sub(2);
    throw;
  }
}

bool TSioBaseDispatcher::ThreadPresent(ThreadRole role) {
  const Lock lock(DispatchLock);
  return threads_[slotOf(role)] != nullptr;
}

void TSioBaseDispatcher::StartThreadsInOrder(std::unique_ptr<TSioDispatcherThread> read,
                                             std::unique_ptr<TSioDispatcherThread> write,
                                             std::unique_ptr<TSioDispatcherThread> status) {
  const Lock lock(DispatchLock);
  MarkThreadsStarted();
  // A thread that does not acknowledge in time does not stop the others.
  StartThread(ThreadRole::Read, std::move(read));
  threadAckEvent_.WaitFor(kStartAck);
  StartThread(ThreadRole::Dispatch, std::make_unique<TDispThread>(*this));
  threadAckEvent_.WaitFor(kStartAck);
  StartThread(ThreadRole::Write, std::move(write));
  threadAckEvent_.WaitFor(kStartAck);
  StartThread(ThreadRole::Status, std::move(status));
  threadAckEvent_.WaitFor(kStartAck);
}

void TSioBaseDispatcher::PumpUntilThreadGone(ThreadRole role) {
  while (ThreadPresent(role)) PumpOneMessage();
}

void TSioBaseDispatcher::AwaitDispatchThreadEnd() {
  for (int round = 0; round < kDispatchStopRounds && ThreadPresent(ThreadRole::Dispatch); ++round) {
    const Deadline deadline(kDispatchStop);
    while (ThreadPresent(ThreadRole::Dispatch) && !deadline.Passed()) PumpOneMessage();
  }
}

void TSioBaseDispatcher::ThreadStarted() { threadAckEvent_.Set(); }

void TSioBaseDispatcher::ThreadFinished(TSioDispatcherThread& thread) {
  const int32_t result = thread.ReturnValue();
  if (result == kDeviceWriteError || result == kDeviceReadError) {
    // A failed device read or write: every line error at once. There are no
    // status triggers to report it to; the component hears of it instead,
    // once, however many threads fail.
    {
      const Lock lock(DispatchLock);
      line_.ErrorWord = DispatcherLineState::kFatalError;
    }
    if (!deviceLost_.exchange(true)) announceLoss();
  } else {
    try {
      CheckError(owner_ != nullptr && owner_->ComponentLoading(), result);
    } catch (const std::exception& error) {
      ShowException(error);
    }
  }
  {
    const Lock lock(DispatchLock);
    if (threads_[slotOf(thread.Role())] == &thread) threads_[slotOf(thread.Role())] = nullptr;
  }
  if (thread.Role() == ThreadRole::Dispatch && releaseOnExit_.load()) {
    ReleasePortBuffers();
    releaseOnExit_.store(false);
  }
  // The last touch of the dispatcher: once the count is down, its owner may
  // destroy it.
  int32_t state = runState_.load();
  int32_t next;
  do {
    next = state - 2;
    if ((next >> 1) == 0) next &= ~1;
  } while (!runState_.compare_exchange_weak(state, next));
}

void TSioBaseDispatcher::announceLoss() {
  std::vector<std::shared_ptr<NotifyTarget>> targets;
  {
    const Lock lock(DispatchLock);
    targets = targets_.Live();
  }
  // Posted, not sent: a port thread never waits for the GUI thread.
  for (const auto& target : targets) target->PostNotice(PORT_LOST, 0, NoticeLParam(handle_, 0));
}

void TSioBaseDispatcher::SetAvailThreshold(uint32_t n) {
  const Lock lock(DispatchLock);
  targets_.AvailThreshold = n;
  addLog(LogKind::Threshold, static_cast<int32_t>(n));
  wakeForUnannounced();
}

uint32_t TSioBaseDispatcher::AvailThreshold() {
  const Lock lock(DispatchLock);
  return targets_.AvailThreshold;
}

void TSioBaseDispatcher::SaveTriggers(TriggerSnapshot& saved) {
  const Lock lock(DispatchLock);
  saved = TriggerSnapshot{};
  saved.AvailThreshold = targets_.AvailThreshold;
}

void TSioBaseDispatcher::RestoreTriggers(const TriggerSnapshot& saved) {
  const Lock lock(DispatchLock);
  targets_.AvailThreshold = saved.AvailThreshold;
  wakeForUnannounced();
}

void TSioBaseDispatcher::ClearTriggers() {
  const Lock lock(DispatchLock);
  targets_.AvailThreshold = 0;
}

void TSioBaseDispatcher::AddNotifyWindow(std::shared_ptr<NotifyTarget> target) {
  const Lock lock(DispatchLock);
  const size_t count = targets_.Add(std::move(target));
  addLog(LogKind::NotifyTarget, static_cast<int32_t>(count));
  wakeForUnannounced();
}

void TSioBaseDispatcher::RemoveNotifyWindow(const std::shared_ptr<NotifyTarget>& target) {
  const Lock lock(DispatchLock);
  targets_.Remove(target, inNotification_.load());
}

void TSioBaseDispatcher::SetOptionBits(uint32_t bits) {
  const Lock lock(DispatchLock);
  line_.OptionBits |= bits;
}

void TSioBaseDispatcher::ClearOptionBits(uint32_t bits) {
  const Lock lock(DispatchLock);
  line_.OptionBits &= ~bits;
}

uint32_t TSioBaseDispatcher::OptionBits() {
  const Lock lock(DispatchLock);
  return line_.OptionBits;
}

std::string TSioBaseDispatcher::PortName() {
  const Lock lock(DispatchLock);
  return portName_;
}

void TSioBaseDispatcher::SetPortName(std::string name) {
  const Lock lock(DispatchLock);
  portName_ = std::move(name);
}
