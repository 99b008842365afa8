#pragma once
// The serial dispatcher: one per open port. It opens and configures the
// device through the platform operations a subclass implements, owns the
// 8192-byte dispatch ring of received bytes and the output ring, runs the
// dispatch thread that pulls received bytes into the ring, decides when the
// application hears that data is available, and delivers each notice to the
// GUI thread through the registered notify targets. Its state sits in the
// objects it owns (line state, notice targets, trace, the two rings), each
// under one of its three locks, as the members at the end say.
//
// A platform subclass implements the pure virtual operations, starts its
// threads with StartThread, and calls CloseForDestruction first thing in its
// destructor (the base destructor can no longer reach the subclass's
// operations).

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "serial/ComStat.h"
#include "serial/Dcb.h"
#include "serial/DispatchRing.h"
#include "serial/DispatcherLineState.h"
#include "serial/DispatcherTrace.h"
#include "serial/IOQueue.h"
#include "serial/NoticeReading.h"
#include "serial/NoticeTargets.h"
#include "serial/NotifyTarget.h"
#include "serial/OutputRing.h"
#include "serial/SioDispatcherThread.h"
#include "serial/SioEvent.h"

class TSioBaseComponent;

// The triggers of a dispatcher, kept by the component across a close so the
// next dispatcher starts with them.
struct TriggerSnapshot {
  uint32_t AvailThreshold = 0;
};

class TSioBaseDispatcher {
 public:
  static constexpr uint32_t kDispatchBufferSize = DispatchRing::kSize;
  // How long a notice may take on the GUI thread before the dispatch thread
  // completes the delivery without it.
  static constexpr std::chrono::milliseconds kNoticeTimeout{3000};

  using Sleeper = std::function<void(std::chrono::milliseconds)>;

  // Registers the dispatcher; owner is none for a probe dispatcher.
  explicit TSioBaseDispatcher(TSioBaseComponent* owner);
  // Waits, pumping messages, until no port thread runs; leaves the registry.
  virtual ~TSioBaseDispatcher();
  TSioBaseDispatcher(const TSioBaseDispatcher&) = delete;
  TSioBaseDispatcher& operator=(const TSioBaseDispatcher&) = delete;

  // ---- Platform operations -------------------------------------------
  // Results are 0 or a negative code unless stated. The platform reports the
  // OS error of a failed OpenDevice or SizeDeviceQueues through
  // SetSioLastError.

  // Line escape kEscapeSetRts .. kEscapeClrDtr.
  virtual int32_t SendLineEscape(int32_t func) = 0;
  // Which 0: drop queued output (and abort a write in progress); 1: drop
  // received input, device and input queue (items in use stay). Nonzero on
  // success.
  virtual int32_t PurgeDeviceQueue(int32_t which) = 0;
  // Takes the device's line error bits (kLineError...) and fills status,
  // with cbOutQue = PendingOutputCount.
  virtual int32_t CollectLineErrors(ComStat& status) = 0;
  virtual uint32_t QueryEventMask(int32_t mask) = 0;
  // The device's settings: 0, or -1 on failure.
  virtual int32_t FetchLineSettings(Dcb& dcb) = 0;
  // Copies up to size received bytes out of the input queue (TIOQueue::
  // TakeReceivedBytes); returns the count.
  virtual int32_t TakeReceivedBytes(uint8_t* buffer, int32_t size) = 0;
  // Writes the settings to the device: 0, or minus the OS error.
  virtual int32_t ApplyLineSettings(Dcb& dcb) = 0;
  // Puts the bytes into the output ring (PutIntoOutputRing) and wakes the
  // write thread; returns the count queued.
  virtual int32_t QueueOutputBytes(const uint8_t* buffer, int32_t size) = 0;
  virtual bool AwaitLineEvent(uint32_t& mask) = 0;
  // Sizes the device's own queues; false on failure.
  virtual bool SizeDeviceQueues(int32_t inSize, int32_t outSize) = 0;
  // Stops the threads if still started, then frees both rings. Safe to call
  // more than once.
  virtual void ReleasePortBuffers();
  // Starts the read, dispatch, write and status threads in this order
  // (StartThreadsInOrder).
  virtual void StartPortThreads() = 0;
  // Stops the threads when still started (CloseDevice). The events
  // themselves live as long as the dispatcher.
  virtual void ReleasePortEvents() = 0;
  // Bytes in the output ring (OutputRingPendingCount).
  virtual uint32_t PendingOutputCount() = 0;
  // Unread bytes of the first input-queue item; 0 unless overridden.
  virtual uint32_t PendingInputCount();
  // Opens the named device and stores its handle (SetDeviceHandle); returns
  // the handle, or a negative value on failure (-8 for lack of memory).
  virtual intptr_t OpenDevice(const char* name, int32_t inSize, int32_t outSize) = 0;
  // Stops the four threads, pumping messages while it waits, and closes the
  // device: 0, or -1 when closing failed. A second call while one runs, or a
  // call with nothing open, returns 0 at once.
  virtual int32_t CloseDevice() = 0;
  virtual int32_t YieldTimeSlice() = 0;
  // Sets the port threads' priorities: Boost + 3 on the framework's scale
  // (3 normal), the write thread Boost + 4 in RS-485 mode.
  virtual void ApplyThreadBoost(uint8_t boost);
  // Kind 0: recompute whether notices are needed; 1: the component's handler
  // is installed; 2: it is removed.
  virtual void UpdateHandlerService(uint8_t kind);
  // The modem input lines as kModemCts | kModemDsr | kModemRing |
  // kModemCarrier.
  virtual uint8_t ReadModemLines() = 0;

  // ---- Opening and closing (GUI thread) ------------------------------------

  // InitDevice's line flags.
  static constexpr uint32_t kLineFlagDtr = 0x01;
  static constexpr uint32_t kLineFlagRts = 0x02;
  static constexpr uint32_t kLineFlagDtrHandshake = 0x10;
  static constexpr uint32_t kLineFlagRtsHandshake = 0x20;

  // Opens and configures the device and starts the threads with lineFlags
  // (kLineFlag...). 0, or a negative code (the device is closed again).
  int32_t InitDevice(const std::string& name, int32_t baud, uint8_t parity, uint16_t dataBits,
                     uint16_t stopBits, uint32_t inSize, uint32_t outSize, uint32_t lineFlags);
  // Discards both directions, closes the device and stops the threads. Called
  // from inside a notice whose delivery is still running, it leaves the
  // buffers to the dispatch thread (ClosePending).
  void FinishDevice();

  // ---- Data (GUI thread) ----------------------------------------------------

  int32_t WriteByte(uint8_t ch);
  // Queues the whole block or nothing: -3006 when it exceeds the free room,
  // -3004 when the platform queued nothing, -160 once the device went away
  // (nothing would ever send it).
  int32_t WriteBlock(const uint8_t* buffer, uint32_t length);
  // The next unread byte; -3007 when there is none. During a notice the byte
  // is not consumed until the delivery ends; on the notice's reading thread
  // (NoticeReading) the announced bytes are served without a lock, and other
  // threads get -3007 meanwhile. Inline: called once per byte.
  int32_t ReadByte(uint8_t& ch) {
    // The notice's reader: the announced bytes stay put until the delivery
    // ends, and only this thread counts them.
    if (NoticeReading::Reads(*this) && ring_.ServeAnnounced(ch)) return 0;
    return readByteLocked(ch);
  }
  // The unread byte at position (1 = next) without consuming it; -3007 when
  // there is no such byte, -1002 for position 0.
  int32_t PeekByte(uint8_t& ch, uint32_t position);
  // Unread bytes, less those already read during a notice.
  uint32_t UnreadCount();
  bool DispatchFull();
  // Bytes put and not yet sent, as the platform counts them (the comm
  // status's output count).
  uint32_t OutputUsed();
  // Room for a put: the output ring's free bytes.
  uint32_t OutputFree();
  int32_t DiscardInput();
  int32_t DiscardOutput();

  // ---- Triggers and notify targets -------------------------------------

  // Notices of available data go out once at least n bytes are unread; 0
  // stops them.
  void SetAvailThreshold(uint32_t n);
  uint32_t AvailThreshold();
  void SaveTriggers(TriggerSnapshot& saved);
  void RestoreTriggers(const TriggerSnapshot& saved);
  void ClearTriggers();
  void AddNotifyWindow(std::shared_ptr<NotifyTarget> target);
  // During a delivery the target is only marked and leaves when it ends.
  void RemoveNotifyWindow(const std::shared_ptr<NotifyTarget>& target);
  void SetOptionBits(uint32_t bits);
  void ClearOptionBits(uint32_t bits);
  uint32_t OptionBits();

  // ---- Line settings and line status ---------------------------------------

  // Changes only what differs from the device; baud 0, parity 5, dataBits 9
  // and stopBits 3 keep the current value. Before a change the output is
  // drained (WaitOutputDrained).
  int32_t ConfigureLine(int32_t baud, uint8_t parity, uint16_t dataBits, uint16_t stopBits);
  // Waits (2 ms steps, at most 5000) until the output is sent, then 18
  // character times at the last baud rate.
  void WaitOutputDrained();
  // Puts the wanted DTR/RTS states into dcb unless automatic, writes it,
  // and drives the lines again. The result of ApplyLineSettings (a refused
  // dcb is not kept), or -160 once the device went away.
  int32_t CommitLineSettings(Dcb& dcb);
  // 0, 1 when the line is under handshake (nothing changes), -1002 when the
  // escape failed.
  int32_t SetDtrLine(bool state);
  int32_t SetRtsLine(bool state);
  // Options: 1 DTR handshake, 2 RTS handshake, 4 require DSR, 8 require CTS.
  // -1002 when full < resume or full > the input size.
  int32_t SetHardwareFlow(uint16_t full, uint16_t resume, uint8_t options);
  // Options: 1 transmit side, 2 receive side.
  int32_t SetSoftwareFlow(uint16_t full, uint16_t resume, uint8_t options);
  int32_t ClearSoftwareFlow();
  int32_t SetFlowChars(uint8_t xOn, uint8_t xOff);
  // RS-485 transmit mode: RTS toggles with transmission, under the driver's
  // control (the DCB's RTS toggle, written at once), and the write thread
  // runs one step higher. The result of the line write; a refusal leaves the
  // mode as it was.
  int32_t SetRS485Mode(bool on);
  bool RS485Mode();
  // ORs the device's current line errors into the line error word.
  void RefreshLineErrors();
  // The pending line error as a code, taken: 10 fatal device error, 1
  // overflow, 2 overrun, 3 parity, 4 framing, 9 break alone, 0 none.
  uint16_t TakeLineError();
  // Whether a break was seen since the last call; taken.
  bool TakeLineBreak();
  // Reads the modem lines into the modem status (a ring seen since adds the
  // trailing-edge bit), keeps (status AND mask) and returns the unmasked value.
  uint8_t ReadModemStatus(uint8_t mask);
  uint8_t ModemStatus();
  int32_t LineErrorWord();
  Dcb LineSettings();
  bool DtrState();
  bool RtsState();
  // The pauses of WaitOutputDrained go through the sleeper (default: sleep).
  void SetSleeper(Sleeper sleeper);

  // ---- Trace and log ----------------------------------------------------------

  // Starts an empty trace of entries (-1002 above 4000000).
  int32_t InitTracing(uint32_t entries);
  // Pauses (false) or resumes (true) recording, keeping the content.
  void SetTracingActive(bool active);
  bool TracingActive() const;
  void ClearTracing();
  void StopTracing();
  // Writes the trace (appending when asked) and empties it; 0 or minus the
  // error number, which also stops the trace.
  int32_t DumpTracing(const std::string& fileName, bool append, bool hex, bool allHex);
  // The same for the event log, bounded to limit bytes of record data.
  void InitLogging(uint32_t limit);
  void SetLoggingActive(bool active);
  bool LoggingActive() const;
  void ClearLogging();
  void StopLogging();
  int32_t DumpLogging(const std::string& fileName, bool append, bool hex, bool allHex);
  // The trace's entries, oldest first, as (direction, byte) pairs.
  std::vector<uint8_t> TraceEntries();

  // ---- Identity and state -------------------------------------------------

  int32_t Handle() const { return handle_; }
  TSioBaseComponent* Owner() const { return owner_; }
  std::string PortName();
  void SetPortName(std::string name);
  uint32_t InputSize() const { return inputSize_.load(); }
  uint32_t OutputSize() const { return outputSize_.load(); }
  bool InNotification() const { return inNotification_.load(); }
  bool ClosePending() const { return closePending_.load(); }
  bool Started() const { return (runState_.load() & 1) != 0; }
  // A port thread ended because the device failed or went away (-160,
  // -161); the notify targets were sent PORT_LOST. Until the next open.
  bool DeviceLost() const { return deviceLost_.load(); }
  int32_t RunningThreads() const { return runState_.load() >> 1; }
  intptr_t DeviceHandle() const { return deviceHandle_.load(); }

  // ---- For the port threads ---------------------------------------------------

  // First thing in every thread: acknowledges the start (ThreadAckEvent).
  void ThreadStarted();
  // Last thing in every thread: reports its result (-160/-161 mark the line
  // error word -1 and, the first time, post PORT_LOST to the notify targets;
  // other failures are shown), forgets the thread, releases the buffers for
  // the dispatch thread when asked, and counts it out.
  void ThreadFinished(TSioDispatcherThread& thread);
  bool KillFlag() const { return killFlag_.load(); }
  // Sets the kill flag and wakes the waits of the base's own events: the
  // dispatch thread's and the write thread's (OutputReadyEvent).
  void SetKillFlag();
  void SetReleaseOnExit(bool release) { releaseOnExit_.store(release); }
  TIOQueue& InputQueue() { return inputQueue_; }
  // Auto-reset events of the port threads; they live as long as the
  // dispatcher, so a thread may still touch one while the port closes.
  SioEvent& ThreadAckEvent() { return threadAckEvent_; }
  SioEvent& OutputReadyEvent() { return outputReadyEvent_; }
  SioEvent& OutputFlushEvent() { return outputFlushEvent_; }
  uint8_t ThreadBoost();

  // One pass of the dispatch thread over the input queue: line events,
  // pulling received bytes, notices.
  void ServiceInput();
  // The timer pass; there are no timer or status triggers to fire.
  void ServiceTimers();
  // Moves received bytes from the input queue into the dispatch ring, in at
  // most two pieces; whether bytes were available.
  bool PullReceivedBytes();
  // Raises the data-available notice when due; whether the next scan should
  // follow at once.
  bool ScanInput();
  // Sends the notice to every notify target and waits for each (at most
  // kNoticeTimeout). During a data notice reads do not consume; at its end
  // the most bytes any handler read are consumed. False when a handler read
  // other than param bytes of a TRG_AVAIL, or the port closed meanwhile.
  bool DeliverTrigger(uint32_t msg, uint32_t param, uint16_t data);

 protected:
  // Guards the line state, the notice targets, the trace and log, the port
  // name, the sleeper and the thread list (the members below say which).
  std::recursive_mutex DispatchLock;
  // Guards the output ring; never held while DispatchLock is taken.
  std::recursive_mutex OutputLock;
  // Guards the dispatch ring and its notice's read counts; may be held while
  // DispatchLock or a queue lock is taken.
  std::recursive_mutex InputLock;

  // Output ring helpers for the platform, each under OutputLock.
  int32_t PutIntoOutputRing(const uint8_t* buffer, int32_t size);
  // Moves all queued output into block; false when there was none.
  bool TakeOutputBlock(std::vector<uint8_t>& block);
  void PurgeOutputRing();
  uint32_t OutputRingPendingCount();

  void SetDeviceHandle(intptr_t handle) { deviceHandle_.store(handle); }
  // Sets the started flag and clears the kill flag; raises Exception
  // ("Dispatcher already started.") when already started.
  void MarkThreadsStarted();
  // Records the thread in its role and launches it; it counts as running
  // from now until its ThreadFinished.
  void StartThread(ThreadRole role, std::unique_ptr<TSioDispatcherThread> thread);
  // StartPortThreads' common part: under DispatchLock, MarkThreadsStarted,
  // then the read, dispatch, write and status threads, each started once the
  // one before acknowledged on ThreadAckEvent or 3000 ms passed.
  void StartThreadsInOrder(std::unique_ptr<TSioDispatcherThread> read,
                           std::unique_ptr<TSioDispatcherThread> write,
                           std::unique_ptr<TSioDispatcherThread> status);
  bool ThreadPresent(ThreadRole role);
  // Pumps messages until the thread in role has ended.
  void PumpUntilThreadGone(ThreadRole role);
  // Pumps messages until the dispatch thread has ended, twice at most 36
  // ticks of 55 ms: held in a delivery it ends by itself once the delivery
  // gives up, and destruction waits for it then.
  void AwaitDispatchThreadEnd();
  // Closes the port and waits for the threads; the subclass destructor's
  // first step.
  void CloseForDestruction();

 private:
  friend class NoticeReading;
  enum class NoticeClaim { None, Began, AlreadyReading };

  // Makes the calling thread the reader of the data notice being delivered
  // (Began), or finds it is already (AlreadyReading); None when no data
  // notice is being delivered.
  NoticeClaim beginNoticeReading();
  // The reader is done; a delivery that gave up waiting for it is completed
  // here, consuming what the handler read.
  void endNoticeReading();
  int32_t readByteLocked(uint8_t& ch);
  void releaseDispatchBuffer();
  void addLog(LogKind kind, int32_t value, const uint8_t* data = nullptr, uint32_t count = 0);
  void traceBytes(uint8_t direction, const uint8_t* bytes, uint32_t count);
  void updateModemStatusChanges();
  void refreshModemStatus();
  void finishDelivery();
  void waitForThreads();
  // Tells every notify target that the device went away (PORT_LOST).
  void announceLoss();
  // Something the dispatch thread's next pass looks at has changed.
  void wakeDispatchThread() { inputQueue_.Wake(); }
  // A change of what is announced (threshold, handlers): only bytes already
  // pulled in and not announced need a pass for it; later ones bring their
  // own.
  void wakeForUnannounced() {
    if (ring_.ArrivedSinceNotice.load()) wakeDispatchThread();
  }

  TSioBaseComponent* const owner_;
  int32_t handle_ = -1;
  // -1 while no device is open: 0 is a valid descriptor here.
  std::atomic<intptr_t> deviceHandle_{-1};
  std::string portName_;      // under DispatchLock
  Sleeper sleeper_;           // under DispatchLock
  DispatcherLineState line_;  // under DispatchLock
  NoticeTargets targets_;     // under DispatchLock
  DispatcherTrace trace_;     // under DispatchLock, its switches atomic
  DispatchRing ring_;         // under InputLock
  OutputRing outputRing_;     // under OutputLock

  // The port threads, under DispatchLock.
  uint8_t threadBoost_ = 0;
  std::array<TSioDispatcherThread*, 4> threads_{};

  // Without a lock.
  std::atomic<uint32_t> inputSize_{0};
  std::atomic<uint32_t> outputSize_{0};
  std::atomic<bool> inNotification_{false};
  std::atomic<bool> closePending_{false};
  std::atomic<bool> killFlag_{false};
  std::atomic<bool> deviceLost_{false};
  std::atomic<bool> releaseOnExit_{false};
  // Bit 0 the started flag, the rest the running-thread count, changed as
  // one so the last thread out clears the flag in the same step.
  std::atomic<int32_t> runState_{0};

  TIOQueue inputQueue_;
  SioEvent threadAckEvent_{SioEvent::Mode::AutoReset};
  SioEvent outputReadyEvent_{SioEvent::Mode::AutoReset};
  SioEvent outputFlushEvent_{SioEvent::Mode::AutoReset};
};
