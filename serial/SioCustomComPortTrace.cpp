// The serial port component's byte trace and event log: their settings and
// what a change of their state does to the open port's recordings.

#include <algorithm>

#include "serial/SioCustomComPort.h"
#include "serial/TraceLogControl.h"

class TSioCustomComPort::TraceRecording : public RecordingControl {
 public:
  explicit TraceRecording(const TSioCustomComPort& port)
      : port_(port), dispatcher_(*port.ActiveDispatcher) {}

  int32_t Start() override { return dispatcher_.InitTracing(port_.traceSize_); }
  void Pause() override { dispatcher_.SetTracingActive(false); }
  void Resume() override { dispatcher_.SetTracingActive(true); }
  void Clear() override { dispatcher_.ClearTracing(); }
  void Stop() override { dispatcher_.StopTracing(); }
  int32_t Dump(bool append) override {
    return dispatcher_.DumpTracing(port_.traceName_, append, port_.traceHex_, port_.traceAllHex_);
  }

 private:
  const TSioCustomComPort& port_;
  TSioBaseDispatcher& dispatcher_;
};

class TSioCustomComPort::LogRecording : public RecordingControl {
 public:
  explicit LogRecording(const TSioCustomComPort& port)
      : port_(port), dispatcher_(*port.ActiveDispatcher) {}

  int32_t Start() override {
    dispatcher_.InitLogging(port_.logSize_);
    return 0;
  }
  void Pause() override { dispatcher_.SetLoggingActive(false); }
  void Resume() override { dispatcher_.SetLoggingActive(true); }
  void Clear() override { dispatcher_.ClearLogging(); }
  void Stop() override { dispatcher_.StopLogging(); }
  int32_t Dump(bool append) override {
    return dispatcher_.DumpLogging(port_.logName_, append, port_.logHex_, port_.logAllHex_);
  }

 private:
  const TSioCustomComPort& port_;
  TSioBaseDispatcher& dispatcher_;
};

namespace {

// What a closed port keeps of a requested state.
TTraceLogState closedState(TTraceLogState request) { return request == tlOn ? tlOn : tlOff; }

}  // namespace

void TSioCustomComPort::SetTracing(TTraceLogState value) {
  if (unchanged(value == tracing_)) return;
  if (!isOpen()) {
    tracing_ = closedState(value);
    return;
  }
  TraceRecording recording(*this);
  const TraceLogOutcome outcome = ApplyTraceLogRequest(tracing_, value, recording);
  tracing_ = outcome.State;
  check(outcome.Result);
}

void TSioCustomComPort::SetLogging(TTraceLogState value) {
  if (unchanged(value == logging_)) return;
  if (!isOpen()) {
    logging_ = closedState(value);
    return;
  }
  LogRecording recording(*this);
  const TraceLogOutcome outcome = ApplyTraceLogRequest(logging_, value, recording);
  logging_ = outcome.State;
  check(outcome.Result);
}

void TSioCustomComPort::SetTraceSize(uint32_t value) {
  value = std::min(value, kMaxTraceSize);
  if (value == traceSize_) return;
  traceSize_ = value;
  if (!isOpen() || tracing_ == tlOff) return;
  ActiveDispatcher->StopTracing();
  if (tracing_ == tlPause) {
    tracing_ = tlOff;
    return;
  }
  const int32_t result = ActiveDispatcher->InitTracing(traceSize_);
  if (result != 0) tracing_ = tlOff;
  check(result);
}

void TSioCustomComPort::SetLogSize(uint32_t value) {
  value = std::min(value, kMaxLogSize);
  if (value == logSize_) return;
  logSize_ = value;
  if (!isOpen() || logging_ == tlOff) return;
  ActiveDispatcher->StopLogging();
  if (logging_ == tlPause) {
    logging_ = tlOff;
    return;
  }
  ActiveDispatcher->InitLogging(logSize_);
}

void TSioCustomComPort::SetTraceName(const std::string& value) {
  traceName_ = value.substr(0, kMaxNameLength);
}

void TSioCustomComPort::SetTraceHex(bool value) { traceHex_ = value; }

void TSioCustomComPort::SetTraceAllHex(bool value) { traceAllHex_ = value; }

void TSioCustomComPort::SetLogName(const std::string& value) {
  logName_ = value.substr(0, kMaxNameLength);
}

void TSioCustomComPort::SetLogHex(bool value) { logHex_ = value; }

void TSioCustomComPort::SetLogAllHex(bool value) { logAllHex_ = value; }
