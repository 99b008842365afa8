#pragma once
// The serial port component: the port's settings as properties, opening and
// closing the device through a dispatcher, sending and reading bytes, and
// the trigger events, raised on the GUI thread.
//
// All operations and all events belong to the GUI thread. The dispatch
// thread reaches the component only through the notify window (see
// NotifyWindowFactory.h), whose notices run SioComWindowProc on the GUI
// thread; at most one handler runs at a time and the dispatch thread waits
// for it (at most 3000 ms).
//
// Setters: while the port is open (phase ppOpen) a change is pushed to the
// dispatcher at once; while closed it is only stored and goes to the device
// at the next open. A setter given the stored value does nothing unless
// ForceApply is set (ComNumber, Baud, Parity, DataBits, StopBits, InSize,
// OutSize, TraceSize, LogSize, Open and DeviceLayer always compare).
// Failures raise the exceptions of SioExceptions.h.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "serial/ComPortEvents.h"
#include "serial/ComPortTypes.h"
#include "serial/FlowThresholds.h"
#include "serial/NotifyTarget.h"
#include "serial/SioBaseComponent.h"
#include "serial/SioBaseDispatcher.h"

class TSioCustomComPort : public TSioBaseComponent {
 public:
  // Makes the dispatcher of the next open for its owner.
  using TDispatcherFactory =
      std::function<std::unique_ptr<TSioBaseDispatcher>(TSioBaseComponent* owner)>;

  static constexpr uint32_t kMaxTraceSize = 4000000;
  static constexpr uint32_t kMaxLogSize = 16000000;
  // Longest trace and log file names.
  static constexpr size_t kMaxNameLength = 255;

  TSioCustomComPort();
  // Closes an open port first.
  ~TSioCustomComPort() override;

  // ---- The port ---------------------------------------------------------

  // Port number; 0 means not chosen. A change while open closes the port,
  // stores the number and opens it again (raising, and leaving the port
  // closed, when that fails); triggers, trace and log carry over.
  uint16_t ComNumber() const { return comNumber_; }
  void SetComNumber(uint16_t value);

  // True opens the device "\\.\COM<ComNumber>" with the stored settings or
  // raises (EBadId no such port, EAlreadyOpen held elsewhere, ENoPortSelected
  // no number, ...), leaving the port closed. False closes it. Reads true
  // from the end of a successful open until the close has completed.
  bool Open() const { return open_; }
  void SetOpen(bool value);

  // Where the port stands; ppClosing while a close waits for a running
  // handler to return.
  TPortPhase Phase() const { return phase_; }

  // Ask the user for a port (the installed PortPrompt) when opened with
  // ComNumber 0; else that open raises ENoPortSelected.
  bool PromptForPort() const { return promptForPort_; }
  void SetPromptForPort(bool value);
  // Operations that need the device open a closed port first.
  bool AutoOpen() const { return autoOpen_; }
  void SetAutoOpen(bool value);

  // Only dlWin32 is supported; dlWinsock is ignored. Changes only while closed.
  TDeviceLayer DeviceLayer() const { return deviceLayer_; }
  void SetDeviceLayer(TDeviceLayer value);

  // Makes the dispatcher of the next open instead of the platform's.
  void SetDispatcherFactory(TDispatcherFactory factory);

  // ---- Line settings (pushed to the device while open) -----------------

  int32_t Baud() const { return baud_; }
  void SetBaud(int32_t value);
  TParity Parity() const { return parity_; }
  void SetParity(TParity value);
  uint16_t DataBits() const { return dataBits_; }
  void SetDataBits(uint16_t value);
  uint16_t StopBits() const { return stopBits_; }
  void SetStopBits(uint16_t value);

  // Sizes of the device's queues; OutSize also sizes the output ring, from
  // the next open.
  uint16_t InSize() const { return inSize_; }
  void SetInSize(uint16_t value);
  uint16_t OutSize() const { return outSize_; }
  void SetOutSize(uint16_t value);

  // Wanted states of the DTR and RTS lines. While open a line under hardware
  // flow control keeps its state (the change is not stored).
  bool DTR() const { return dtr_; }
  void SetDTR(bool value);
  bool RTS() const { return rts_; }
  void SetRTS(bool value);

  // Flow control. Non-empty options default the thresholds that are unset
  // or out of range (DefaultFlowThresholds). hwfUseRTS or hwfRequireCTS turns
  // RS485Mode off.
  THWFlowOptionSet HWFlowOptions() const { return hwFlowOptions_; }
  void SetHWFlowOptions(THWFlowOptionSet value);
  TSWFlowOptions SWFlowOptions() const { return swFlowOptions_; }
  void SetSWFlowOptions(TSWFlowOptions value);
  uint8_t XOnChar() const { return xOnChar_; }
  void SetXOnChar(uint8_t value);
  uint8_t XOffChar() const { return xOffChar_; }
  void SetXOffChar(uint8_t value);
  // A value above InSize becomes 0.9 x InSize; then both flow settings are
  // applied again.
  uint16_t BufferFull() const { return bufferFull_; }
  void SetBufferFull(uint16_t value);
  // A value above BufferFull becomes 0.1 x BufferFull; then as BufferFull.
  uint16_t BufferResume() const { return bufferResume_; }
  void SetBufferResume(uint16_t value);

  // RS-485 transmit mode: RTS raised while sending, by the device itself.
  // Turning it on while open drops hwfUseRTS and hwfRequireCTS and sets RTS
  // false; a device without RS-485 support refuses it (raising, nothing
  // stored), at the change or at the next open.
  bool RS485Mode() const { return rs485Mode_; }
  void SetRS485Mode(bool value);

  // Added to the normal priority of the port threads.
  uint8_t ThreadPriorityBoost() const { return threadPriorityBoost_; }
  void SetThreadPriorityBoost(uint8_t value);

  // Unread bytes needed for a data-available notice.
  uint16_t AvailThreshold() const { return availThreshold_; }
  void SetAvailThreshold(uint16_t value);

  // ---- Trace and log --------------------------------------------------

  // While open: tlOn starts (or resumes), tlOff stops and discards, tlDump /
  // tlAppend write TraceName (replacing / appending) and stop,
  // tlAppendAndContinue appends and goes on, tlClear empties, tlPause keeps
  // the content. While closed only tlOn is kept (started at the next open);
  // anything else stores tlOff.
  TTraceLogState Tracing() const { return tracing_; }
  void SetTracing(TTraceLogState value);
  // Entries, at most kMaxTraceSize. A running trace starts again, empty; a
  // paused one stops.
  uint32_t TraceSize() const { return traceSize_; }
  void SetTraceSize(uint32_t value);
  const std::string& TraceName() const { return traceName_; }
  void SetTraceName(const std::string& value);
  bool TraceHex() const { return traceHex_; }
  void SetTraceHex(bool value);
  bool TraceAllHex() const { return traceAllHex_; }
  void SetTraceAllHex(bool value);

  // As Tracing, for the event log (LogName; LogSize bytes, at most
  // kMaxLogSize).
  TTraceLogState Logging() const { return logging_; }
  void SetLogging(TTraceLogState value);
  uint32_t LogSize() const { return logSize_; }
  void SetLogSize(uint32_t value);
  const std::string& LogName() const { return logName_; }
  void SetLogName(const std::string& value);
  bool LogHex() const { return logHex_; }
  void SetLogHex(bool value);
  bool LogAllHex() const { return logAllHex_; }
  void SetLogAllHex(bool value);

  // ---- Stored options --------------------------------------------------

  bool UseMSRShadow() const { return useMSRShadow_; }
  virtual void SetUseMSRShadow(bool value);
  // Mirrored in the dispatcher's option bits (4) while open.
  bool UseEventWord() const { return useEventWord_; }
  void SetUseEventWord(bool value);
  uint16_t CommNotificationLevel() const { return commNotificationLevel_; }
  void SetCommNotificationLevel(uint16_t value);
  // tmOn opens the device the telephony layer handed over (TelephonyHandle)
  // instead of one by name.
  TTapiMode TapiMode() const { return tapiMode_; }
  void SetTapiMode(TTapiMode value);
  uint16_t TelephonyHandle() const { return telephonyHandle_; }
  void SetTelephonyHandle(uint16_t value);

  // ---- Events (raised on the GUI thread) ---------------------------------

  const TTriggerEvent& OnTrigger() const { return onTrigger_; }
  void SetOnTrigger(TTriggerEvent handler);
  // Unread bytes wait and more have arrived since the last call; Count is
  // all unread bytes. The bytes the handler reads with ReadChar are removed
  // when it returns; the others stay in front.
  const TTriggerAvailEvent& OnTriggerAvail() const { return onTriggerAvail_; }
  void SetOnTriggerAvail(TTriggerAvailEvent handler);
  const TTriggerDataEvent& OnTriggerData() const { return onTriggerData_; }
  void SetOnTriggerData(TTriggerDataEvent handler);
  const TTriggerStatusEvent& OnTriggerStatus() const { return onTriggerStatus_; }
  void SetOnTriggerStatus(TTriggerStatusEvent handler);
  const TTriggerTimerEvent& OnTriggerTimer() const { return onTriggerTimer_; }
  void SetOnTriggerTimer(TTriggerTimerEvent handler);
  const TTriggerLineErrorEvent& OnTriggerLineError() const { return onTriggerLineError_; }
  void SetOnTriggerLineError(TTriggerLineErrorEvent handler);
  const TNotifyEvent& OnTriggerModemStatus() const { return onTriggerModemStatus_; }
  void SetOnTriggerModemStatus(TNotifyEvent handler);
  const TNotifyEvent& OnTriggerOutbuffFree() const { return onTriggerOutbuffFree_; }
  void SetOnTriggerOutbuffFree(TNotifyEvent handler);
  const TNotifyEvent& OnTriggerOutbuffUsed() const { return onTriggerOutbuffUsed_; }
  void SetOnTriggerOutbuffUsed(TNotifyEvent handler);
  const TNotifyEvent& OnTriggerOutSent() const { return onTriggerOutSent_; }
  void SetOnTriggerOutSent(TNotifyEvent handler);
  const TNotifyEvent& OnPortOpen() const { return onPortOpen_; }
  void SetOnPortOpen(TNotifyEvent handler);
  const TNotifyEvent& OnPortClose() const { return onPortClose_; }
  void SetOnPortClose(TNotifyEvent handler);
  // The device went away while open (unplugged, hung up, failed, the
  // connection ended): the port has closed itself (OnPortClose came first)
  // and Open reads false, or true until a close left to PORT_CLOSING has
  // completed. Opening it again is the application's choice.
  const TNotifyEvent& OnPortLost() const { return onPortLost_; }
  void SetOnPortLost(TNotifyEvent handler);

  // ---- Data ---------------------------------------------------------------

  // Queues the byte and returns at once. A closed port is opened first when
  // AutoOpen (raising as Open does), else ECommNotOpen; a full output ring
  // raises EOutputBufferTooSmall. While closing the byte is dropped.
  void SendChar(uint8_t C);
  // Queues the whole block, or nothing, and returns at once; raises as
  // SendChar does (EOutputBufferTooSmall when it exceeds the free room).
  void PutBlock(const uint8_t* Buffer, uint32_t Count);
  // The next unread byte; EBufferIsEmpty when there is none. 0 while closing.
  uint8_t ReadChar();

  // The open port's dispatcher. With none, outside loading and designing,
  // a port that is not open is opened first when AutoOpen; still none after
  // that gives none.
  TSioBaseDispatcher* Dispatcher();
  // Dispatcher(), raising ECommNotOpen when there is none.
  TSioBaseDispatcher& ValidDispatcher();

  // Gives up the rest of the time slice (not while closing).
  virtual void YieldSlice();

  // From another port: copies its settings, handlers and trace and log
  // settings, closes this port; an open source's triggers are taken for
  // this port's next open. Any other source raises.
  virtual void AssignFrom(const TSioBaseComponent& Source);

 protected:
  // ---- The open and close sequences --------------------------------------

  virtual std::unique_ptr<TSioBaseDispatcher> CreateDispatcher();
  virtual void DeviceLayerChanged();
  // Opens and configures the device: InitDevice's result.
  virtual int32_t StartDevice();
  // Makes (true) or removes (false) the notify window of the open port.
  virtual void SetupNotifyWindow(bool Create);
  // A port number, asking the user when allowed; ENoPortSelected otherwise.
  virtual void EnsurePortNumber();

  virtual void DoTrigger(uint16_t Msg, uint16_t TriggerHandle, uint16_t Data);
  virtual void DoTriggerAvail(uint16_t Count);
  virtual void DoTriggerData(uint16_t TriggerHandle);
  virtual void DoTriggerStatus(uint16_t TriggerHandle);
  virtual void DoTriggerTimer(uint16_t TriggerHandle);
  // Tells the dispatcher whether any trigger handler is assigned (open only).
  virtual void RefreshHandlerState();
  virtual void DoTriggerLineError(uint16_t Error, bool LineBreak);
  virtual void DoTriggerModemStatus();
  virtual void DoTriggerOutbuffFree();
  virtual void DoTriggerOutbuffUsed();
  virtual void DoTriggerOutSent();
  // Waiting for a character has no handler to call here; for descendants.
  virtual void DoCharWait(uint8_t C);
  virtual void ClosePort();
  virtual void DoPortOpen();
  virtual void DoPortClose();
  virtual void DoPortClosing();
  virtual void OpenPort();
  virtual void DoPortLost();

  // Opens a port whose Open was stored true while loading.
  void AfterLoad() override;

  // Set while the open sequence pushes the stored settings: setters push
  // their value even when it did not change.
  bool ForceApply = false;
  // An open was asked for while a close was still pending.
  bool ReopenRequested = false;
  // Open was stored true while loading.
  bool OpenAfterLoad = false;
  // The triggers taken at the last close go to the next dispatcher.
  bool RestoreTriggersOnOpen = false;
  TriggerSnapshot SavedTriggers;
  // Exists while the port is open (and none is installed without a factory).
  std::shared_ptr<NotifyTarget> NotifyWindow;
  TDispatcherFactory DispatcherFactory;
  // Exists from the start of an open until its close completes.
  std::unique_ptr<TSioBaseDispatcher> ActiveDispatcher;
  TDeviceLayer deviceLayer_ = dlWin32;

 private:
  friend intptr_t SioComWindowProc(uint32_t Msg, uintptr_t wParam, intptr_t lParam);

  class TraceRecording;
  class LogRecording;

  int32_t check(int32_t code) const;
  // Whether a setter given a value equal to the stored one has nothing to do.
  bool unchanged(bool same) const { return same && !ForceApply; }
  bool isOpen() const { return phase_ == ppOpen; }
  void pushLine();
  void pushStoredSettings();
  void pushHardwareFlow();
  void pushSoftwareFlow();
  void reapplyFlow();
  void reopenOn(uint16_t number);
  void readBackTelephonyLine();
  void dumpRecordingsOnClose();
  // The rest of a close once no delivery runs: notify window, dispatcher,
  // phase and Open.
  void completeClose();
  // Whether dispatcher is this port's (and not one being freed).
  bool holds(const TSioBaseDispatcher& dispatcher) const;
  // The events of one notice from dispatcher (OnTrigger first).
  void raiseNotice(TSioBaseDispatcher& dispatcher, uint32_t msg, uint16_t trigger, intptr_t lParam);
  void raiseStatusEvent(TSioBaseDispatcher& dispatcher, uint16_t trigger);
  // PORT_CLOSING: completes a close left pending once the port threads have
  // ended (then opens again when asked meanwhile), else asks again later.
  void continueClosing(TSioBaseDispatcher& dispatcher, intptr_t lParam);
  // PORT_LOST: closes the port whose device went away and says so.
  void portLost(TSioBaseDispatcher& dispatcher);
  void failOpen();
  bool anyTriggerHandler() const;

  TPortPhase phase_ = ppClosed;
  uint16_t comNumber_ = 0;
  int32_t baud_ = 19200;
  TParity parity_ = pNone;
  uint16_t dataBits_ = 8;
  uint16_t stopBits_ = 1;
  uint16_t inSize_ = 4096;
  uint16_t outSize_ = 4096;
  bool open_ = false;
  bool promptForPort_ = true;
  bool autoOpen_ = true;
  uint16_t commNotificationLevel_ = 10;
  uint16_t telephonyHandle_ = 0;
  TTapiMode tapiMode_ = tmAuto;
  bool rs485Mode_ = false;
  uint8_t threadPriorityBoost_ = 0;
  bool dtr_ = true;
  bool rts_ = true;
  uint16_t bufferFull_ = 0;
  uint16_t bufferResume_ = 0;
  THWFlowOptionSet hwFlowOptions_;
  TSWFlowOptions swFlowOptions_ = swfNone;
  uint8_t xOnChar_ = 17;
  uint8_t xOffChar_ = 19;
  TTraceLogState tracing_ = tlOff;
  uint32_t traceSize_ = 10000;
  std::string traceName_ = "SIO.TRC";
  bool traceHex_ = true;
  bool traceAllHex_ = false;
  TTraceLogState logging_ = tlOff;
  uint32_t logSize_ = 10000;
  std::string logName_ = "SIO.LOG";
  bool logHex_ = true;
  bool logAllHex_ = false;
  bool useMSRShadow_ = true;
  bool useEventWord_ = true;
  uint16_t availThreshold_ = 1;

  TTriggerEvent onTrigger_;
  TTriggerAvailEvent onTriggerAvail_;
  TTriggerDataEvent onTriggerData_;
  TTriggerStatusEvent onTriggerStatus_;
  TTriggerTimerEvent onTriggerTimer_;
  TTriggerLineErrorEvent onTriggerLineError_;
  TNotifyEvent onTriggerModemStatus_;
  TNotifyEvent onTriggerOutbuffFree_;
  TNotifyEvent onTriggerOutbuffUsed_;
  TNotifyEvent onTriggerOutSent_;
  TNotifyEvent onPortOpen_;
  TNotifyEvent onPortClose_;
  TNotifyEvent onPortLost_;
};
