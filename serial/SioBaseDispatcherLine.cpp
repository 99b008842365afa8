// Line settings and line status: the device's DCB, the DTR and RTS lines,
// flow control, line errors and the modem lines.

#include "serial/CommCodes.h"
#include "serial/ResultCodes.h"
#include "serial/SioBaseDispatcher.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

constexpr uint16_t kKeepStopBits = 3;
constexpr uint8_t kKeepParity = 5;
constexpr uint16_t kKeepDataBits = 9;
constexpr int kDrainRounds = 5000;
constexpr std::chrono::milliseconds kDrainStep{2};

constexpr uint8_t kHardwareFlowDtr = 1;
constexpr uint8_t kHardwareFlowRts = 2;
constexpr uint8_t kHardwareFlowDsr = 4;
constexpr uint8_t kHardwareFlowCts = 8;
constexpr uint8_t kSoftwareFlowTransmit = 1;
constexpr uint8_t kSoftwareFlowReceive = 2;
constexpr uint8_t kXOn = 17;
constexpr uint8_t kXOff = 19;

// The settings ConfigureLine wants, worked out from the device's own.
Dcb wantedLine(const Dcb& device, int32_t baud, uint8_t parity, uint16_t dataBits,
               uint16_t stopBits) {
  Dcb wanted = device;
  wanted.Flags = (device.Flags | kDcbBinary | kDcbTxContinueOnXoff) &
                 ~(kDcbParity | kDcbDsrSensitivity | kDcbNull);
  if (stopBits != kKeepStopBits) {
    wanted.StopBits = stopBits >= 2 ? kTwoStopBits : kOneStopBit;
  }
  if (baud != 0) wanted.BaudRate = static_cast<uint32_t>(baud);
  if (parity != kKeepParity) wanted.Parity = parity;
  if (dataBits != kKeepDataBits) wanted.ByteSize = static_cast<uint8_t>(dataBits);
  if (wanted.ByteSize == 5) wanted.StopBits = kOne5StopBits;
  return wanted;
}

bool sameLine(const Dcb& a, const Dcb& b) {
  return a.BaudRate == b.BaudRate && a.Parity == b.Parity && a.ByteSize == b.ByteSize &&
         a.StopBits == b.StopBits && a.Flags == b.Flags;
}

}  // namespace

int32_t TSioBaseDispatcher::ConfigureLine(int32_t baud, uint8_t parity, uint16_t dataBits,
                                          uint16_t stopBits) {
  {
    const Lock lock(DispatchLock);
    FetchLineSettings(line_.Settings);
    if (sameLine(wantedLine(line_.Settings, baud, parity, dataBits, stopBits), line_.Settings)) {
      return 0;
    }
  }
  // Not under the lock: draining takes up to ten seconds.
  WaitOutputDrained();
  const Lock lock(DispatchLock);
  FetchLineSettings(line_.Settings);
  Dcb wanted = wantedLine(line_.Settings, baud, parity, dataBits, stopBits);
  return CommitLineSettings(wanted);
}

void TSioBaseDispatcher::WaitOutputDrained() {
  Sleeper sleep;
  {
    const Lock lock(DispatchLock);
    sleep = sleeper_;
  }
  for (int round = 0; round < kDrainRounds && OutputUsed() > 0; ++round) sleep(kDrainStep);
  uint32_t pause;
  {
    const Lock lock(DispatchLock);
    FetchLineSettings(line_.Settings);
    pause = line_.DrainPause();
  }
  sleep(std::chrono::milliseconds(pause));
}

int32_t TSioBaseDispatcher::CommitLineSettings(Dcb& dcb) {
  const Lock lock(DispatchLock);
  // The device went away and its descriptor with it: say so, as sending does.
  if (deviceLost_.load()) return kDeviceWriteError;
  line_.PutManualLines(dcb);
  const int32_t result = ApplyLineSettings(dcb);
  // A refused setting is not kept: the settings after it start from the
  // device's, not from what it would not take.
  if (result != 0) return result;
  line_.Settings = dcb;
  line_.LastBaud = dcb.BaudRate;
  SetDtrLine(line_.DtrState);
  if (!line_.Rs485Mode) SetRtsLine(line_.RtsState);
  return result;
}

int32_t TSioBaseDispatcher::SetDtrLine(bool state) {
  const Lock lock(DispatchLock);
  if (line_.DtrAuto) return 1;
  const int32_t result = SendLineEscape(state ? kEscapeSetDtr : kEscapeClrDtr);
  line_.DtrState = state;
  return result < 0 ? kBadArgument : result;
}

int32_t TSioBaseDispatcher::SetRtsLine(bool state) {
  const Lock lock(DispatchLock);
  if (line_.RtsAuto) return 1;
  const int32_t result = SendLineEscape(state ? kEscapeSetRts : kEscapeClrRts);
  line_.RtsState = state;
  return result < 0 ? kBadArgument : result;
}

int32_t TSioBaseDispatcher::SetHardwareFlow(uint16_t full, uint16_t resume, uint8_t options) {
  if (full < resume || full > InputSize()) return kBadArgument;
  const Lock lock(DispatchLock);
  Dcb dcb = line_.Settings;
  const bool dtrAuto = line_.DtrAuto;
  const bool rtsAuto = line_.RtsAuto;
  dcb.Flags &= ~(kDcbOutxCtsFlow | kDcbOutxDsrFlow | kDcbDtrControlMask | kDcbRtsControlMask);
  line_.DtrAuto = false;
  line_.RtsAuto = false;
  if (options & kHardwareFlowDtr) {
    dcb.Flags |= kDtrControlHandshake;
    line_.DtrAuto = true;
  } else if (line_.DtrState) {
    dcb.Flags |= kDtrControlEnable;
  }
  if (options & kHardwareFlowRts) {
    dcb.Flags |= kRtsControlHandshake;
    line_.RtsAuto = true;
  } else if (line_.RtsState) {
    dcb.Flags |= kRtsControlEnable;
  }
  if (line_.Rs485Mode) {
    dcb.Flags = (dcb.Flags & ~kDcbRtsControlMask) | kRtsControlToggle;
    line_.RtsAuto = true;
  }
  dcb.XoffLim = static_cast<uint16_t>(InputSize() - full);
  dcb.XonLim = resume;
  if (options & kHardwareFlowDsr) dcb.Flags |= kDcbOutxDsrFlow;
  if (options & kHardwareFlowCts) dcb.Flags |= kDcbOutxCtsFlow;
  const int32_t result = CommitLineSettings(dcb);
  if (result != 0) {
    // Refused: the lines stay under the control they had.
    line_.DtrAuto = dtrAuto;
    line_.RtsAuto = rtsAuto;
  }
  return result;
}

int32_t TSioBaseDispatcher::SetSoftwareFlow(uint16_t full, uint16_t resume, uint8_t options) {
  if (full < resume || full > InputSize()) return kBadArgument;
  const Lock lock(DispatchLock);
  Dcb dcb = line_.Settings;
  if (options & kSoftwareFlowReceive) {
    dcb.Flags |= kDcbInX;
    dcb.XoffLim = static_cast<uint16_t>(InputSize() - full);
    dcb.XonLim = resume;
    dcb.XonChar = kXOn;
    dcb.XoffChar = kXOff;
  }
  if (options & kSoftwareFlowTransmit) {
    dcb.Flags |= kDcbOutX;
    dcb.XonChar = kXOn;
    dcb.XoffChar = kXOff;
  }
  return CommitLineSettings(dcb);
}

int32_t TSioBaseDispatcher::ClearSoftwareFlow() {
  const Lock lock(DispatchLock);
  Dcb dcb = line_.Settings;
  dcb.Flags &= ~(kDcbOutX | kDcbInX);
  return CommitLineSettings(dcb);
}

int32_t TSioBaseDispatcher::SetFlowChars(uint8_t xOn, uint8_t xOff) {
  const Lock lock(DispatchLock);
  Dcb dcb = line_.Settings;
  dcb.XonChar = xOn;
  dcb.XoffChar = xOff;
  return CommitLineSettings(dcb);
}

int32_t TSioBaseDispatcher::SetRS485Mode(bool on) {
  const Lock lock(DispatchLock);
  Dcb dcb = line_.Settings;
  const bool toggling = (dcb.Flags & kDcbRtsControlMask) == kRtsControlToggle;
  int32_t result = 0;
  if (on || toggling) {
    // The line itself carries the mode: written now, not at the next flow
    // change, so that a device without it refuses at once.
    const bool wasOn = line_.Rs485Mode;
    const bool rtsAuto = line_.RtsAuto;
    line_.Rs485Mode = on;
    line_.RtsAuto = on;
    if (on) dcb.Flags = (dcb.Flags & ~kDcbRtsControlMask) | kRtsControlToggle;
    result = CommitLineSettings(dcb);
    if (result != 0) {
      line_.Rs485Mode = wasOn;
      line_.RtsAuto = rtsAuto;
      return result;
    }
  }
  line_.Rs485Mode = on;
  // The driver toggles RTS itself, so no UART base address is needed here;
  // only the write thread's priority follows the mode.
  if (TSioDispatcherThread* writer = threads_[static_cast<size_t>(ThreadRole::Write)]) {
    writer->SetPriority(threadBoost_ + (on ? 4 : 3));
  }
  return result;
}

bool TSioBaseDispatcher::RS485Mode() {
  const Lock lock(DispatchLock);
  return line_.Rs485Mode;
}

void TSioBaseDispatcher::RefreshLineErrors() {
  ComStat status;
  const int32_t errors = CollectLineErrors(status);
  const Lock lock(DispatchLock);
  line_.CommStatus = status;
  line_.ErrorWord |= errors & 0x1F;
}

uint16_t TSioBaseDispatcher::TakeLineError() {
  const Lock lock(DispatchLock);
  return line_.TakeError();
}

bool TSioBaseDispatcher::TakeLineBreak() {
  const Lock lock(DispatchLock);
  return line_.TakeBreak();
}

uint8_t TSioBaseDispatcher::ReadModemStatus(uint8_t mask) {
  const uint8_t lines = ReadModemLines();
  const Lock lock(DispatchLock);
  return line_.TakeModemLines(lines, mask);
}

uint8_t TSioBaseDispatcher::ModemStatus() {
  const Lock lock(DispatchLock);
  return line_.ModemStatus;
}

int32_t TSioBaseDispatcher::LineErrorWord() {
  const Lock lock(DispatchLock);
  return line_.ErrorWord;
}

Dcb TSioBaseDispatcher::LineSettings() {
  const Lock lock(DispatchLock);
  return line_.Settings;
}

bool TSioBaseDispatcher::DtrState() {
  const Lock lock(DispatchLock);
  return line_.DtrState;
}

bool TSioBaseDispatcher::RtsState() {
  const Lock lock(DispatchLock);
  return line_.RtsState;
}

void TSioBaseDispatcher::SetSleeper(Sleeper sleeper) {
  const Lock lock(DispatchLock);
  sleeper_ = std::move(sleeper);
}
