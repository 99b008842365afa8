#include "tests/serial/support/FakePlatform.h"

#include <algorithm>

#include "serial/Deadline.h"
#include "serial/DispThread.h"
#include "serial/LastError.h"
#include "serial/MessagePump.h"

namespace {
using Lock = std::lock_guard<std::mutex>;
constexpr intptr_t kFakeDevice = 3;
constexpr std::chrono::milliseconds kThreadStopBound{10000};
}  // namespace

FakePlatform::FakePlatform(TSioBaseComponent* owner) : TSioBaseDispatcher(owner) {
  device_.BaudRate = 9600;
  device_.ByteSize = 8;
}

FakePlatform::~FakePlatform() {
  // A feed from another thread may still be waking the dispatch thread that
  // already took its bytes (and closed the port): let it finish first.
  { const std::lock_guard<std::mutex> feeding(feedLock_); }
  CloseForDestruction();
}

void FakePlatform::Feed(const std::vector<uint8_t>& bytes) {
  const std::lock_guard<std::mutex> feeding(feedLock_);
  for (size_t at = 0; at < bytes.size(); at += kDataBufferSize) {
    const size_t count = std::min(bytes.size() - at, static_cast<size_t>(kDataBufferSize));
    auto item = std::make_unique<TDataBuffer>(kDataBufferSize);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), count, item->Data.get());
    item->UsedCount = static_cast<uint32_t>(count);
    InputQueue().PushItem(std::move(item));
  }
}

void FakePlatform::FeedStatus(uint32_t eventMask) {
  const std::lock_guard<std::mutex> feeding(feedLock_);
  InputQueue().PushItem(std::make_unique<TStatusBuffer>(eventMask));
}

std::vector<uint8_t> FakePlatform::TakeOutput() {
  std::vector<uint8_t> block;
  TakeOutputBlock(block);
  return block;
}

void FakePlatform::FailOpen(int32_t osError) {
  const Lock lock(deviceLock_);
  openError_ = osError;
}

void FakePlatform::FailSizeQueues(int32_t osError) {
  const Lock lock(deviceLock_);
  sizeQueuesError_ = osError;
}

void FakePlatform::SetApplyResult(int32_t result) {
  const Lock lock(deviceLock_);
  applyResult_ = result;
}

void FakePlatform::SetEscapeResult(int32_t result) {
  const Lock lock(deviceLock_);
  escapeResult_ = result;
}

void FakePlatform::SetLineErrors(int32_t errors) {
  const Lock lock(deviceLock_);
  lineErrors_ = errors;
}

void FakePlatform::SetModemLines(uint8_t lines) {
  const Lock lock(deviceLock_);
  modemLines_ = lines;
}

void FakePlatform::SetDeviceLine(const Dcb& dcb) {
  const Lock lock(deviceLock_);
  device_ = dcb;
}

void FakePlatform::SetCloseWaitsForThreads(bool wait) {
  const Lock lock(deviceLock_);
  closeWaits_ = wait;
}

Dcb FakePlatform::DeviceLine() {
  const Lock lock(deviceLock_);
  return device_;
}

std::vector<Dcb> FakePlatform::AppliedLines() {
  const Lock lock(deviceLock_);
  return applied_;
}

std::vector<int32_t> FakePlatform::Escapes() {
  const Lock lock(deviceLock_);
  return escapes_;
}

void FakePlatform::ForgetHistory() {
  const Lock lock(deviceLock_);
  applied_.clear();
  escapes_.clear();
}

void FakePlatform::StartExtraThread(ThreadRole role, std::unique_ptr<TSioDispatcherThread> thread) {
  StartThread(role, std::move(thread));
}

int32_t FakePlatform::SendLineEscape(int32_t func) {
  const Lock lock(deviceLock_);
  escapes_.push_back(func);
  return escapeResult_;
}

int32_t FakePlatform::PurgeDeviceQueue(int32_t which) {
  if (which == 0) {
    PurgeOutputRing();
  } else {
    InputQueue().Clear();
  }
  return 1;
}

int32_t FakePlatform::CollectLineErrors(ComStat& status) {
  int32_t errors;
  {
    const Lock lock(deviceLock_);
    errors = lineErrors_;
    lineErrors_ = 0;
  }
  status = ComStat{};
  status.cbOutQue = PendingOutputCount();
  return errors;
}

uint32_t FakePlatform::QueryEventMask(int32_t) { return 0; }

int32_t FakePlatform::FetchLineSettings(Dcb& dcb) {
  const Lock lock(deviceLock_);
  dcb = device_;
  return 0;
}

int32_t FakePlatform::TakeReceivedBytes(uint8_t* buffer, int32_t size) {
  return InputQueue().TakeReceivedBytes(buffer, size);
}

int32_t FakePlatform::ApplyLineSettings(Dcb& dcb) {
  const Lock lock(deviceLock_);
  applied_.push_back(dcb);
  if (applyResult_ == 0) device_ = dcb;
  return applyResult_;
}

int32_t FakePlatform::QueueOutputBytes(const uint8_t* buffer, int32_t size) {
  const int32_t queued = PutIntoOutputRing(buffer, size);
  OutputReadyEvent().Set();
  return queued;
}

bool FakePlatform::AwaitLineEvent(uint32_t& mask) {
  mask = 0;
  return true;
}

bool FakePlatform::SizeDeviceQueues(int32_t, int32_t) {
  const Lock lock(deviceLock_);
  if (sizeQueuesError_ == 0) return true;
  SetSioLastError(sizeQueuesError_);
  return false;
}

void FakePlatform::StartPortThreads() {
  MarkThreadsStarted();
  StartThread(ThreadRole::Dispatch, std::make_unique<TDispThread>(*this));
  ThreadAckEvent().WaitFor(std::chrono::milliseconds(3000));
}

void FakePlatform::ReleasePortEvents() {
  if (Started()) CloseDevice();
}

uint32_t FakePlatform::PendingOutputCount() { return OutputRingPendingCount(); }

uint32_t FakePlatform::PendingInputCount() { return InputQueue().PendingInputCount(); }

intptr_t FakePlatform::OpenDevice(const char*, int32_t, int32_t) {
  const Lock lock(deviceLock_);
  if (openError_ != 0) {
    SetSioLastError(openError_);
    SetDeviceHandle(-1);
    return -1;
  }
  SetDeviceHandle(kFakeDevice);
  return kFakeDevice;
}

int32_t FakePlatform::CloseDevice() {
  bool waitForThreads;
  {
    const Lock lock(deviceLock_);
    if (closing_) return 0;
    closing_ = true;
    waitForThreads = closeWaits_;
  }
  if (Started()) {
    SetKillFlag();
    const Deadline deadline(kThreadStopBound);
    // By reference, like the real layer: a thread forgets itself before it
    // releases the buffers, so the dispatch thread never waits for itself.
    const auto anyPresent = [this] {
      return ThreadPresent(ThreadRole::Read) || ThreadPresent(ThreadRole::Dispatch) ||
             ThreadPresent(ThreadRole::Write) || ThreadPresent(ThreadRole::Status);
    };
    while (waitForThreads && anyPresent() && !deadline.Passed()) PumpOneMessage();
  }
  SetDeviceHandle(-1);
  const Lock lock(deviceLock_);
  closing_ = false;
  return 0;
}

int32_t FakePlatform::YieldTimeSlice() { return 0; }

uint8_t FakePlatform::ReadModemLines() {
  const Lock lock(deviceLock_);
  return modemLines_;
}
