#include "serial/SioWin32Dispatcher.h"

#include "serial/LastError.h"
#include "serial/Win32ReadThread.h"
#include "serial/Win32Records.h"
#include "serial/Win32StatusThread.h"
#include "serial/Win32WriteThread.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// How long an output purge waits for the write thread to acknowledge.
constexpr std::chrono::milliseconds kPurgeAck{5000};

}  // namespace

TSioWin32Dispatcher::TSioWin32Dispatcher(TSioBaseComponent* owner) : TSioBaseDispatcher(owner) {}

TSioWin32Dispatcher::~TSioWin32Dispatcher() { CloseForDestruction(); }

int32_t TSioWin32Dispatcher::SendLineEscape(int32_t func) {
  EscapeCommFunction(Device(), static_cast<DWORD>(func));
  return 0;
}

int32_t TSioWin32Dispatcher::PurgeDeviceQueue(int32_t which) {
  if (which == 0) return purgeOutput();
  if (which == 1) return purgeInput();
  return 0;
}

int32_t TSioWin32Dispatcher::purgeOutput() {
  if (!ThreadPresent(ThreadRole::Write)) return 0;
  PurgeOutputRing();
  const BOOL purged = PurgeComm(Device(), PURGE_TXABORT | PURGE_TXCLEAR);
  // Wakes the write thread and aborts its pending write; it acknowledges.
  OutputFlushEvent().Set();
  ThreadAckEvent().WaitFor(kPurgeAck);
  return purged;
}

int32_t TSioWin32Dispatcher::purgeInput() {
  const BOOL purged = PurgeComm(Device(), PURGE_RXABORT | PURGE_RXCLEAR);
  InputQueue().Clear();
  return purged;
}

int32_t TSioWin32Dispatcher::CollectLineErrors(ComStat& status) {
  DWORD errors = 0;
  COMSTAT win32{};
  if (!ClearCommError(Device(), &errors, &win32)) errors = 0;
  status = FromWin32ComStat(win32);
  status.cbOutQue = PendingOutputCount();
  return static_cast<int32_t>(errors);
}

uint32_t TSioWin32Dispatcher::QueryEventMask(int32_t) { return 0; }

int32_t TSioWin32Dispatcher::FetchLineSettings(Dcb& dcb) {
  DCB line{};
  line.DCBlength = sizeof(line);
  if (!GetCommState(Device(), &line)) return -1;
  dcb = FromWin32Dcb(line);
  return 0;
}

int32_t TSioWin32Dispatcher::TakeReceivedBytes(uint8_t* buffer, int32_t size) {
  return InputQueue().TakeReceivedBytes(buffer, size);
}

int32_t TSioWin32Dispatcher::ApplyLineSettings(Dcb& dcb) {
  DCB line = ToWin32Dcb(dcb);
  if (SetCommState(Device(), &line)) return 0;
  return -static_cast<int32_t>(GetLastError());
}

int32_t TSioWin32Dispatcher::QueueOutputBytes(const uint8_t* buffer, int32_t size) {
  PutIntoOutputRing(buffer, size);
  OutputReadyEvent().Set();
  return size;
}

bool TSioWin32Dispatcher::AwaitLineEvent(uint32_t& mask) {
  mask = 0;
  return true;
}

bool TSioWin32Dispatcher::SizeDeviceQueues(int32_t inSize, int32_t outSize) {
  if (SetupComm(Device(), static_cast<DWORD>(inSize), static_cast<DWORD>(outSize))) return true;
  SetSioLastError(static_cast<int32_t>(GetLastError()));
  return false;
}

void TSioWin32Dispatcher::StartPortThreads() {
  StartThreadsInOrder(std::make_unique<TReadThread>(*this), std::make_unique<TWriteThread>(*this),
                      std::make_unique<TStatusThread>(*this));
}

void TSioWin32Dispatcher::ReleasePortEvents() {
  // The events live as long as the dispatcher: a thread may still touch one
  // while the port closes.
  if (Started()) CloseDevice();
}

uint32_t TSioWin32Dispatcher::PendingOutputCount() { return OutputRingPendingCount(); }

uint32_t TSioWin32Dispatcher::PendingInputCount() { return InputQueue().PendingInputCount(); }

intptr_t TSioWin32Dispatcher::OpenDevice(const char* name, int32_t, int32_t) {
  const HANDLE device = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
  if (device == INVALID_HANDLE_VALUE) {
    SetSioLastError(static_cast<int32_t>(GetLastError()));
    return -1;
  }
  SetDeviceHandle(reinterpret_cast<intptr_t>(device));
  return reinterpret_cast<intptr_t>(device);
}

int32_t TSioWin32Dispatcher::CloseDevice() {
  {
    const Lock lock(DispatchLock);
    if (closing_) return 0;
    closing_ = true;
  }
  struct ClosingEnds {
    TSioWin32Dispatcher& port;
    ~ClosingEnds() {
      const Lock lock(port.DispatchLock);
      port.closing_ = false;
    }
  } const closingEnds{*this};

  if (Started()) stopThreads();
  if (DeviceHandle() < 0) return 0;
  if (!CloseHandle(Device())) return -1;
  SetDeviceHandle(-1);
  return 0;
}

void TSioWin32Dispatcher::stopThreads() {
  SetKillFlag();
  if (ThreadPresent(ThreadRole::Status)) {
    // Completes the status thread's pending WaitCommEvent.
    SetCommMask(Device(), 0);
    PumpUntilThreadGone(ThreadRole::Status);
  }
  if (ThreadPresent(ThreadRole::Write)) {
    OutputFlushEvent().Set();
    PumpUntilThreadGone(ThreadRole::Write);
  }
  if (ThreadPresent(ThreadRole::Read)) {
    SerialEvent().Set();
    ThreadAckEvent().Reset();
    PumpUntilThreadGone(ThreadRole::Read);
  }
  AwaitDispatchThreadEnd();
}

int32_t TSioWin32Dispatcher::YieldTimeSlice() {
  Sleep(0);
  return 0;
}

uint8_t TSioWin32Dispatcher::ReadModemLines() {
  // MS_CTS_ON, MS_DSR_ON, MS_RING_ON and MS_RLSD_ON are the modem status's
  // high nibble.
  DWORD lines = 0;
  if (!GetCommModemStatus(Device(), &lines)) return 0;
  return static_cast<uint8_t>(lines & 0xF0);
}
