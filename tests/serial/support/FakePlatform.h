#pragma once
// A platform layer without a device, for tests and benchmarks: received
// bytes and line events are fed into the input queue the way the read and
// status threads queue them, output is taken from the output ring the way
// the write thread takes it, and the device's line settings, line errors and
// modem lines are plain values. Only the dispatch thread runs.

#include <cstdint>
#include <mutex>
#include <vector>

#include "serial/SioBaseDispatcher.h"

class FakePlatform : public TSioBaseDispatcher {
 public:
  static constexpr int32_t kDataBufferSize = 256;

  explicit FakePlatform(TSioBaseComponent* owner = nullptr);
  ~FakePlatform() override;

  // Queues the bytes in data items of at most 256 bytes.
  void Feed(const std::vector<uint8_t>& bytes);
  void FeedStatus(uint32_t eventMask);
  // Everything queued for output, oldest first; the ring is empty afterwards.
  std::vector<uint8_t> TakeOutput();

  // Device behaviour.
  void FailOpen(int32_t osError);
  void FailSizeQueues(int32_t osError);
  void SetApplyResult(int32_t result);
  void SetEscapeResult(int32_t result);
  void SetLineErrors(int32_t errors);
  void SetModemLines(uint8_t lines);
  void SetDeviceLine(const Dcb& dcb);
  // false: CloseDevice stops the threads without waiting for them.
  void SetCloseWaitsForThreads(bool wait);

  // What the dispatcher did to the device.
  Dcb DeviceLine();
  std::vector<Dcb> AppliedLines();
  std::vector<int32_t> Escapes();
  void ForgetHistory();

  // Runs a thread as the platform's own would, counted by the dispatcher.
  void StartExtraThread(ThreadRole role, std::unique_ptr<TSioDispatcherThread> thread);

  int32_t SendLineEscape(int32_t func) override;
  int32_t PurgeDeviceQueue(int32_t which) override;
  int32_t CollectLineErrors(ComStat& status) override;
  uint32_t QueryEventMask(int32_t mask) override;
  int32_t FetchLineSettings(Dcb& dcb) override;
  int32_t TakeReceivedBytes(uint8_t* buffer, int32_t size) override;
  int32_t ApplyLineSettings(Dcb& dcb) override;
  int32_t QueueOutputBytes(const uint8_t* buffer, int32_t size) override;
  bool AwaitLineEvent(uint32_t& mask) override;
  bool SizeDeviceQueues(int32_t inSize, int32_t outSize) override;
  void StartPortThreads() override;
  void ReleasePortEvents() override;
  uint32_t PendingOutputCount() override;
  uint32_t PendingInputCount() override;
  intptr_t OpenDevice(const char* name, int32_t inSize, int32_t outSize) override;
  int32_t CloseDevice() override;
  int32_t YieldTimeSlice() override;
  uint8_t ReadModemLines() override;

 private:
  // Held by a feed; the destructor waits for one in progress.
  std::mutex feedLock_;
  std::mutex deviceLock_;
  Dcb device_;
  std::vector<Dcb> applied_;
  std::vector<int32_t> escapes_;
  int32_t openError_ = 0;
  int32_t sizeQueuesError_ = 0;
  int32_t applyResult_ = 0;
  int32_t escapeResult_ = 0;
  int32_t lineErrors_ = 0;
  uint8_t modemLines_ = 0;
  bool closeWaits_ = true;
  bool closing_ = false;
};
