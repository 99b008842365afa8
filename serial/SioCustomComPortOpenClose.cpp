// The serial port component's open and close sequences, the port number
// changing under an open port, and opening after loading.

#include "serial/ExceptionDisplay.h"
#include "serial/MessagePump.h"
#include "serial/NotifyWindowFactory.h"
#include "serial/PlatformDispatcher.h"
#include "serial/PortDeviceName.h"
#include "serial/PortPrompt.h"
#include "serial/ResultCodes.h"
#include "serial/SioCustomComPort.h"
#include "serial/SioExceptions.h"
#include "serial/SioMessages.h"

namespace {

int32_t mapOpenResult(int32_t result) {
  if (result == kAccessDenied) return kPortAlreadyOpen;
  if (result == kFileNotFound || result == kPathNotFound) return kBadPortId;
  return result;
}

uint16_t stopBitsOf(uint8_t code) { return code == kOneStopBit ? 1 : 2; }

THWFlowOptionSet hardwareFlowOf(const Dcb& dcb) {
  THWFlowOptionSet options;
  if ((dcb.Flags & kDcbDtrControlMask) == kDtrControlHandshake) options = options.With(hwfUseDTR);
  if ((dcb.Flags & kDcbRtsControlMask) == kRtsControlHandshake) options = options.With(hwfUseRTS);
  if (dcb.Flags & kDcbOutxDsrFlow) options = options.With(hwfRequireDSR);
  if (dcb.Flags & kDcbOutxCtsFlow) options = options.With(hwfRequireCTS);
  return options;
}

TSWFlowOptions softwareFlowOf(const Dcb& dcb) {
  const bool transmit = (dcb.Flags & kDcbOutX) != 0;
  const bool receive = (dcb.Flags & kDcbInX) != 0;
  if (transmit && receive) return swfBoth;
  if (transmit) return swfTransmit;
  return receive ? swfReceive : swfNone;
}

}  // namespace

void TSioCustomComPort::SetOpen(bool value) {
  if (value == open_) return;
  if (ComponentLoading() || ComponentDesigning()) {
    open_ = value;
    if (value) OpenAfterLoad = true;
    return;
  }
  if (!value) {
    ClosePort();
  } else if (phase_ != ppClosed) {
    ReopenRequested = true;
  } else {
    OpenPort();
  }
}

void TSioCustomComPort::SetComNumber(uint16_t value) {
  if (value == comNumber_) return;
  if (isOpen()) {
    reopenOn(value);
  } else {
    comNumber_ = value;
  }
}

void TSioCustomComPort::reopenOn(uint16_t number) {
  ActiveDispatcher->SaveTriggers(SavedTriggers);
  const TTraceLogState tracing = tracing_;
  const TTraceLogState logging = logging_;
  SetOpen(false);
  comNumber_ = number;
  SetTracing(tracing);
  SetLogging(logging);
  if (phase_ == ppClosing) {
    // Closed from inside a handler: the new device opens once the pending
    // close has completed.
    ReopenRequested = true;
    return;
  }
  SetOpen(true);
  ActiveDispatcher->RestoreTriggers(SavedTriggers);
}

std::unique_ptr<TSioBaseDispatcher> TSioCustomComPort::CreateDispatcher() {
  if (DispatcherFactory) return DispatcherFactory(this);
  if (deviceLayer_ != dlWin32) throw ENullApi();
  if (tapiMode_ == tmOn) return CreateTelephonyDispatcher(this, telephonyHandle_);
  return CreatePlatformDispatcher(this, PortDeviceName(comNumber_));
}

void TSioCustomComPort::EnsurePortNumber() {
  if (comNumber_ != 0) return;
  if (!promptForPort_) throw ENoPortSelected();
  const std::optional<uint16_t> chosen = PromptForPortNumber();
  if (!chosen || *chosen == 0) throw ENoPortSelected();
  SetComNumber(*chosen);
}

int32_t TSioCustomComPort::StartDevice() {
  const std::string name = tapiMode_ == tmOn ? std::string() : PortDeviceName(comNumber_);
  uint32_t lineFlags = 0;
  using Flags = TSioBaseDispatcher;
  if (dtr_) lineFlags |= Flags::kLineFlagDtr;
  if (rts_) lineFlags |= Flags::kLineFlagRts;
  if (hwFlowOptions_.Contains(hwfUseDTR)) lineFlags |= Flags::kLineFlagDtrHandshake;
  if (hwFlowOptions_.Contains(hwfUseRTS)) lineFlags |= Flags::kLineFlagRtsHandshake;
  return ActiveDispatcher->InitDevice(name, baud_, parity_, dataBits_, stopBits_, inSize_, outSize_,
                                      lineFlags);
}

void TSioCustomComPort::readBackTelephonyLine() {
  Dcb dcb;
  if (telephonyHandle_ == 0 || !ReadDeviceLine(telephonyHandle_, dcb)) throw ENotOpenedByTapi();
  baud_ = static_cast<int32_t>(dcb.BaudRate);
  parity_ = static_cast<TParity>(dcb.Parity);
  dataBits_ = dcb.ByteSize;
  stopBits_ = stopBitsOf(dcb.StopBits);
  hwFlowOptions_ = hardwareFlowOf(dcb);
  swFlowOptions_ = softwareFlowOf(dcb);
  xOnChar_ = dcb.XonChar;
  xOffChar_ = dcb.XoffChar;
}

void TSioCustomComPort::pushStoredSettings() {
  ForceApply = true;
  SetTracing(tracing_);
  SetLogging(logging_);
  SetHWFlowOptions(hwFlowOptions_);
  SetSWFlowOptions(swFlowOptions_);
  SetXOnChar(xOnChar_);
  SetXOffChar(xOffChar_);
  SetAvailThreshold(availThreshold_);
  SetDTR(dtr_);
  SetRTS(rts_);
  SetUseEventWord(useEventWord_);
  SetRS485Mode(rs485Mode_);
  ActiveDispatcher->ApplyThreadBoost(threadPriorityBoost_);
  ForceApply = false;
}

void TSioCustomComPort::OpenPort() {
  if (tapiMode_ != tmOn) EnsurePortNumber();
  ActiveDispatcher = CreateDispatcher();
  ActiveDispatcher->SetPortName(PortDeviceName(comNumber_));
  try {
    if (tapiMode_ == tmOn) readBackTelephonyLine();
    check(mapOpenResult(StartDevice()));
    phase_ = ppOpen;
    RefreshHandlerState();
    // The notify window comes before the settings are pushed: the threshold
    // push enables notices, and bytes arriving from then on must find it.
    SetupNotifyWindow(true);
    pushStoredSettings();
    open_ = true;
    if (RestoreTriggersOnOpen) {
      RestoreTriggersOnOpen = false;
      ActiveDispatcher->RestoreTriggers(SavedTriggers);
    }
    DoPortOpen();
  } catch (...) {
    failOpen();
    throw;
  }
}

void TSioCustomComPort::failOpen() {
  ForceApply = false;
  open_ = false;
  phase_ = ppClosed;
  SetupNotifyWindow(false);
  ActiveDispatcher.reset();
}

void TSioCustomComPort::SetupNotifyWindow(bool Create) {
  if (Create) {
    NotifyWindow = CreateNotifyWindow();
    if (NotifyWindow) ActiveDispatcher->AddNotifyWindow(NotifyWindow);
    return;
  }
  if (!NotifyWindow) return;
  if (ActiveDispatcher) ActiveDispatcher->RemoveNotifyWindow(NotifyWindow);
  NotifyWindow.reset();
}

void TSioCustomComPort::dumpRecordingsOnClose() {
  // A trace or log that cannot be written must not keep the port open.
  try {
    SetTracing(tlDump);
  } catch (...) {
    ShowCurrentException();
  }
  try {
    SetLogging(tlDump);
  } catch (...) {
    ShowCurrentException();
  }
}

void TSioCustomComPort::ClosePort() {
  if (phase_ != ppOpen) return;
  dumpRecordingsOnClose();
  phase_ = ppClosing;
  DoPortClosing();
  ActiveDispatcher->SaveTriggers(SavedTriggers);
  RestoreTriggersOnOpen = true;
  ActiveDispatcher->FinishDevice();
  if (ActiveDispatcher->InNotification() && NotifyWindow) {
    // Called from inside a handler whose delivery still runs: the window
    // procedure completes the close once the port threads have ended.
    NotifyWindow->PostNotice(PORT_CLOSING, 0, NoticeLParam(ActiveDispatcher->Handle(), 0));
    PumpOneMessage();
  } else {
    completeClose();
  }
  DoPortClose();
}

void TSioCustomComPort::completeClose() {
  SetupNotifyWindow(false);
  // Reset before the destructor runs: the notices it pumps no longer find
  // this port's dispatcher.
  ActiveDispatcher.reset();
  phase_ = ppClosed;
  open_ = false;
}

void TSioCustomComPort::AfterLoad() {
  if (ComponentDesigning()) return;
  if (OpenAfterLoad) open_ = true;
  if (!open_) return;
  OpenAfterLoad = false;
  try {
    OpenPort();
  } catch (...) {
    open_ = false;
    ShowCurrentException();
  }
}
