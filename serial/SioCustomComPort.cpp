// The serial port component: construction, destruction, stored properties,
// data, the dispatcher accessors, the trigger events and copying.

#include "serial/SioCustomComPort.h"

#include "serial/CheckError.h"
#include "serial/ExceptionDisplay.h"
#include "serial/SioExceptions.h"

TSioCustomComPort::TSioCustomComPort() = default;

TSioCustomComPort::~TSioCustomComPort() {
  try {
    if (phase_ == ppOpen) ClosePort();
  } catch (...) {
    ShowCurrentException();
  }
  if (ActiveDispatcher) {
    // A close still waiting for PORT_CLOSING: finish it here. The notices
    // that the dispatcher's destruction pumps no longer find this port.
    phase_ = ppClosed;
    SetupNotifyWindow(false);
    ActiveDispatcher.reset();
  }
}

int32_t TSioCustomComPort::check(int32_t code) const {
  return CheckError(ComponentLoading(), code);
}

// ---- Stored properties ------------------------------------------------------

void TSioCustomComPort::SetPromptForPort(bool value) {
  if (unchanged(value == promptForPort_)) return;
  promptForPort_ = value;
}

void TSioCustomComPort::SetAutoOpen(bool value) {
  if (unchanged(value == autoOpen_)) return;
  autoOpen_ = value;
}

void TSioCustomComPort::SetDeviceLayer(TDeviceLayer value) {
  if (value == deviceLayer_ || phase_ != ppClosed) return;
  // The platform's serial devices are the only supported layer.
  if (value != dlWin32) return;
  deviceLayer_ = value;
  DeviceLayerChanged();
}

void TSioCustomComPort::DeviceLayerChanged() {}

void TSioCustomComPort::SetDispatcherFactory(TDispatcherFactory factory) {
  DispatcherFactory = std::move(factory);
}

void TSioCustomComPort::SetUseMSRShadow(bool value) {
  if (unchanged(value == useMSRShadow_)) return;
  useMSRShadow_ = value;
}

void TSioCustomComPort::SetUseEventWord(bool value) {
  constexpr uint32_t kEventWordOption = 4;
  if (unchanged(value == useEventWord_)) return;
  useEventWord_ = value;
  if (!isOpen()) return;
  if (value) {
    ActiveDispatcher->SetOptionBits(kEventWordOption);
  } else {
    ActiveDispatcher->ClearOptionBits(kEventWordOption);
  }
}

void TSioCustomComPort::SetCommNotificationLevel(uint16_t value) {
  if (unchanged(value == commNotificationLevel_)) return;
  commNotificationLevel_ = value;
}

void TSioCustomComPort::SetTapiMode(TTapiMode value) {
  if (unchanged(value == tapiMode_)) return;
  tapiMode_ = value;
}

void TSioCustomComPort::SetTelephonyHandle(uint16_t value) {
  if (unchanged(value == telephonyHandle_)) return;
  telephonyHandle_ = value;
}

void TSioCustomComPort::SetThreadPriorityBoost(uint8_t value) {
  if (unchanged(value == threadPriorityBoost_)) return;
  threadPriorityBoost_ = value;
  if (isOpen()) ActiveDispatcher->ApplyThreadBoost(value);
}

void TSioCustomComPort::SetAvailThreshold(uint16_t value) {
  if (unchanged(value == availThreshold_)) return;
  availThreshold_ = value;
  if (isOpen()) ActiveDispatcher->SetAvailThreshold(value);
}

// ---- Events -------------------------------------------------------------

void TSioCustomComPort::SetOnTrigger(TTriggerEvent handler) {
  onTrigger_ = std::move(handler);
  RefreshHandlerState();
}

void TSioCustomComPort::SetOnTriggerAvail(TTriggerAvailEvent handler) {
  onTriggerAvail_ = std::move(handler);
  RefreshHandlerState();
}

void TSioCustomComPort::SetOnTriggerData(TTriggerDataEvent handler) {
  onTriggerData_ = std::move(handler);
  RefreshHandlerState();
}

void TSioCustomComPort::SetOnTriggerStatus(TTriggerStatusEvent handler) {
  onTriggerStatus_ = std::move(handler);
  RefreshHandlerState();
}

void TSioCustomComPort::SetOnTriggerTimer(TTriggerTimerEvent handler) {
  onTriggerTimer_ = std::move(handler);
  RefreshHandlerState();
}

void TSioCustomComPort::SetOnTriggerLineError(TTriggerLineErrorEvent handler) {
  onTriggerLineError_ = std::move(handler);
  RefreshHandlerState();
}

void TSioCustomComPort::SetOnTriggerModemStatus(TNotifyEvent handler) {
  onTriggerModemStatus_ = std::move(handler);
  RefreshHandlerState();
}

void TSioCustomComPort::SetOnTriggerOutbuffFree(TNotifyEvent handler) {
  onTriggerOutbuffFree_ = std::move(handler);
  RefreshHandlerState();
}

void TSioCustomComPort::SetOnTriggerOutbuffUsed(TNotifyEvent handler) {
  onTriggerOutbuffUsed_ = std::move(handler);
  RefreshHandlerState();
}

void TSioCustomComPort::SetOnTriggerOutSent(TNotifyEvent handler) {
  onTriggerOutSent_ = std::move(handler);
  RefreshHandlerState();
}

void TSioCustomComPort::SetOnPortOpen(TNotifyEvent handler) { onPortOpen_ = std::move(handler); }

void TSioCustomComPort::SetOnPortClose(TNotifyEvent handler) { onPortClose_ = std::move(handler); }

void TSioCustomComPort::SetOnPortLost(TNotifyEvent handler) { onPortLost_ = std::move(handler); }

bool TSioCustomComPort::anyTriggerHandler() const {
  return onTrigger_ || onTriggerAvail_ || onTriggerData_ || onTriggerStatus_ || onTriggerTimer_ ||
         onTriggerLineError_ || onTriggerModemStatus_ || onTriggerOutbuffFree_ ||
         onTriggerOutbuffUsed_ || onTriggerOutSent_;
}

void TSioCustomComPort::RefreshHandlerState() {
  constexpr uint8_t kHandlerInstalled = 1;
  constexpr uint8_t kHandlerRemoved = 2;
  if (!isOpen()) return;
  ActiveDispatcher->UpdateHandlerService(anyTriggerHandler() ? kHandlerInstalled : kHandlerRemoved);
}

void TSioCustomComPort::DoTrigger(uint16_t Msg, uint16_t TriggerHandle, uint16_t Data) {
  if (onTrigger_) onTrigger_(this, Msg, TriggerHandle, Data);
}

void TSioCustomComPort::DoTriggerAvail(uint16_t Count) {
  if (onTriggerAvail_) onTriggerAvail_(this, Count);
}

void TSioCustomComPort::DoTriggerData(uint16_t TriggerHandle) {
  if (onTriggerData_) onTriggerData_(this, TriggerHandle);
}

void TSioCustomComPort::DoTriggerStatus(uint16_t TriggerHandle) {
  if (onTriggerStatus_) onTriggerStatus_(this, TriggerHandle);
}

void TSioCustomComPort::DoTriggerTimer(uint16_t TriggerHandle) {
  if (onTriggerTimer_) onTriggerTimer_(this, TriggerHandle);
}

void TSioCustomComPort::DoTriggerLineError(uint16_t Error, bool LineBreak) {
  if (onTriggerLineError_) onTriggerLineError_(this, Error, LineBreak);
}

void TSioCustomComPort::DoTriggerModemStatus() {
  if (onTriggerModemStatus_) onTriggerModemStatus_(this);
}

void TSioCustomComPort::DoTriggerOutbuffFree() {
  if (onTriggerOutbuffFree_) onTriggerOutbuffFree_(this);
}

void TSioCustomComPort::DoTriggerOutbuffUsed() {
  if (onTriggerOutbuffUsed_) onTriggerOutbuffUsed_(this);
}

void TSioCustomComPort::DoTriggerOutSent() {
  if (onTriggerOutSent_) onTriggerOutSent_(this);
}

void TSioCustomComPort::DoCharWait(uint8_t) {}

void TSioCustomComPort::DoPortOpen() {
  if (onPortOpen_) onPortOpen_(this);
}

void TSioCustomComPort::DoPortClose() {
  if (onPortClose_) onPortClose_(this);
}

void TSioCustomComPort::DoPortClosing() {}

void TSioCustomComPort::DoPortLost() {
  if (onPortLost_) onPortLost_(this);
}

// ---- Data -----------------------------------------------------------------

TSioBaseDispatcher* TSioCustomComPort::Dispatcher() {
  if (!ActiveDispatcher && !ComponentDesigning() && !ComponentLoading() && phase_ != ppOpen &&
      autoOpen_) {
    SetOpen(true);
  }
  return ActiveDispatcher.get();
}

TSioBaseDispatcher& TSioCustomComPort::ValidDispatcher() {
  TSioBaseDispatcher* dispatcher = Dispatcher();
  if (dispatcher == nullptr) throw ECommNotOpen();
  return *dispatcher;
}

void TSioCustomComPort::SendChar(uint8_t C) {
  if (phase_ == ppClosing) return;
  check(ValidDispatcher().WriteByte(C));
}

void TSioCustomComPort::PutBlock(const uint8_t* Buffer, uint32_t Count) {
  if (phase_ == ppClosing) return;
  check(ValidDispatcher().WriteBlock(Buffer, Count));
}

uint8_t TSioCustomComPort::ReadChar() {
  if (phase_ == ppClosing) return 0;
  // An open port has its dispatcher: no detour through the accessor per byte.
  TSioBaseDispatcher& dispatcher = ActiveDispatcher ? *ActiveDispatcher : ValidDispatcher();
  uint8_t ch = 0;
  const int32_t result = dispatcher.ReadByte(ch);
  if (result != 0) {
    check(result);
    return 0;
  }
  return ch;
}

void TSioCustomComPort::YieldSlice() {
  if (phase_ == ppClosing) return;
  check(ValidDispatcher().YieldTimeSlice());
}

// ---- Copying ------------------------------------------------------------

void TSioCustomComPort::AssignFrom(const TSioBaseComponent& Source) {
  const auto* source = dynamic_cast<const TSioCustomComPort*>(&Source);
  if (source == nullptr) throw Exception("Cannot assign this component to a serial port");
  if (source == this) return;
  SetOpen(false);
  deviceLayer_ = source->deviceLayer_;
  comNumber_ = source->comNumber_;
  baud_ = source->baud_;
  parity_ = source->parity_;
  dataBits_ = source->dataBits_;
  stopBits_ = source->stopBits_;
  inSize_ = source->inSize_;
  outSize_ = source->outSize_;
  bufferFull_ = source->bufferFull_;
  bufferResume_ = source->bufferResume_;
  hwFlowOptions_ = source->hwFlowOptions_;
  swFlowOptions_ = source->swFlowOptions_;
  xOnChar_ = source->xOnChar_;
  xOffChar_ = source->xOffChar_;
  dtr_ = source->dtr_;
  rts_ = source->rts_;
  autoOpen_ = source->autoOpen_;
  promptForPort_ = source->promptForPort_;
  rs485Mode_ = source->rs485Mode_;
  threadPriorityBoost_ = source->threadPriorityBoost_;
  tapiMode_ = source->tapiMode_;
  // A closed port keeps a trace or log only as on or off.
  SetTracing(source->tracing_);
  traceSize_ = source->traceSize_;
  traceName_ = source->traceName_;
  traceHex_ = source->traceHex_;
  traceAllHex_ = source->traceAllHex_;
  SetLogging(source->logging_);
  logSize_ = source->logSize_;
  logName_ = source->logName_;
  logHex_ = source->logHex_;
  logAllHex_ = source->logAllHex_;
  availThreshold_ = source->availThreshold_;
  onTrigger_ = source->onTrigger_;
  onTriggerAvail_ = source->onTriggerAvail_;
  onTriggerData_ = source->onTriggerData_;
  onTriggerStatus_ = source->onTriggerStatus_;
  onTriggerTimer_ = source->onTriggerTimer_;
  onPortOpen_ = source->onPortOpen_;
  onPortClose_ = source->onPortClose_;
  onPortLost_ = source->onPortLost_;
  if (source->phase_ == ppOpen) {
    source->ActiveDispatcher->SaveTriggers(SavedTriggers);
    RestoreTriggersOnOpen = true;
  }
}
