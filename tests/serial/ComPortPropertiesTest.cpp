// The serial port component's properties on a closed port: defaults, what a
// closed port keeps, threshold defaulting, and copying one port to another.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "serial/FlowThresholds.h"
#include "serial/SioComPort.h"
#include "serial/SioExceptions.h"
#include "serial/TraceLogControl.h"

namespace {

TEST(ComPortDefaults, AreThoseOfAFreshPort) {
  const TSioComPort port;
  EXPECT_EQ(port.Version(), "v4.07");
  EXPECT_EQ(port.DeviceLayer(), dlWin32);
  EXPECT_EQ(port.ComNumber(), 0);
  EXPECT_EQ(port.Baud(), 19200);
  EXPECT_TRUE(port.PromptForPort());
  EXPECT_EQ(port.Parity(), pNone);
  EXPECT_EQ(port.DataBits(), 8);
  EXPECT_EQ(port.StopBits(), 1);
  EXPECT_EQ(port.InSize(), 4096);
  EXPECT_EQ(port.OutSize(), 4096);
  EXPECT_TRUE(port.AutoOpen());
  EXPECT_FALSE(port.Open());
  EXPECT_EQ(port.Phase(), ppClosed);
  EXPECT_TRUE(port.DTR());
  EXPECT_TRUE(port.RTS());
  EXPECT_TRUE(port.HWFlowOptions().Empty());
  EXPECT_EQ(port.SWFlowOptions(), swfNone);
  EXPECT_EQ(port.XOnChar(), 17);
  EXPECT_EQ(port.XOffChar(), 19);
  EXPECT_EQ(port.BufferFull(), 0);
  EXPECT_EQ(port.BufferResume(), 0);
  EXPECT_EQ(port.Tracing(), tlOff);
  EXPECT_EQ(port.Logging(), tlOff);
  EXPECT_EQ(port.TraceSize(), 10000u);
  EXPECT_EQ(port.LogSize(), 10000u);
  EXPECT_EQ(port.TraceName(), "SIO.TRC");
  EXPECT_EQ(port.LogName(), "SIO.LOG");
  EXPECT_TRUE(port.TraceHex());
  EXPECT_TRUE(port.LogHex());
  EXPECT_FALSE(port.TraceAllHex());
  EXPECT_FALSE(port.LogAllHex());
  EXPECT_TRUE(port.UseMSRShadow());
  EXPECT_TRUE(port.UseEventWord());
  EXPECT_EQ(port.CommNotificationLevel(), 10);
  EXPECT_EQ(port.TapiMode(), tmAuto);
  EXPECT_FALSE(port.RS485Mode());
  EXPECT_EQ(port.AvailThreshold(), 1);
  EXPECT_EQ(port.Tag(), 0);
}

TEST(ComPortDefaults, VersionCannotBeWritten) {
  TSioComPort port;
  port.SetVersion("v9");
  EXPECT_EQ(port.Version(), "v4.07");
}

TEST(ComPortClosed, DeviceLayerTakesOnlyTheSupportedLayer) {
  TSioComPort port;
  port.SetDeviceLayer(dlWinsock);
  EXPECT_EQ(port.DeviceLayer(), dlWin32);
}

TEST(ComPortClosed, TraceAndLogKeepOnlyOnOrOff) {
  struct Case {
    TTraceLogState request;
    TTraceLogState kept;
  };
  const Case cases[] = {{tlOn, tlOn},     {tlDump, tlOff},  {tlAppend, tlOff},
                        {tlClear, tlOff}, {tlPause, tlOff}, {tlAppendAndContinue, tlOff},
                        {tlOff, tlOff}};
  for (const Case& c : cases) {
    TSioComPort port;
    port.SetTracing(tlOn);
    port.SetLogging(tlOn);
    port.SetTracing(c.request);
    port.SetLogging(c.request);
    EXPECT_EQ(port.Tracing(), c.kept) << int(c.request);
    EXPECT_EQ(port.Logging(), c.kept) << int(c.request);
  }
}

TEST(ComPortClosed, SizesAndNamesAreBounded) {
  TSioComPort port;
  port.SetTraceSize(TSioCustomComPort::kMaxTraceSize + 1);
  port.SetLogSize(TSioCustomComPort::kMaxLogSize + 1);
  EXPECT_EQ(port.TraceSize(), TSioCustomComPort::kMaxTraceSize);
  EXPECT_EQ(port.LogSize(), TSioCustomComPort::kMaxLogSize);
  const std::string longName(300, 'x');
  port.SetTraceName(longName);
  port.SetLogName(longName);
  EXPECT_EQ(port.TraceName(), longName.substr(0, TSioCustomComPort::kMaxNameLength));
  EXPECT_EQ(port.LogName(), longName.substr(0, TSioCustomComPort::kMaxNameLength));
}

TEST(FlowThresholdDefaults, FollowTheInputQueueSize) {
  struct Case {
    FlowKind kind;
    FlowThresholds given;
    uint16_t inSize;
    FlowThresholds expected;
  };
  const Case cases[] = {
      {FlowKind::Hardware, {0, 0}, 4096, {3686, 410}},
      {FlowKind::Software, {0, 0}, 4096, {3072, 1024}},
      // Values inside the queue are kept.
      {FlowKind::Hardware, {2000, 500}, 4096, {2000, 500}},
      // Full above the queue, resume above full.
      {FlowKind::Hardware, {5000, 100}, 4096, {3686, 100}},
      {FlowKind::Software, {1000, 2000}, 4096, {1000, 1024}},
      // Halves go to the even neighbour: 0.9 x 5 = 4.5, 0.1 x 5 = 0.5,
      // 0.75 x 10 = 7.5, 0.25 x 10 = 2.5, 0.9 x 15 = 13.5.
      {FlowKind::Hardware, {0, 0}, 5, {4, 0}},
      {FlowKind::Software, {0, 0}, 10, {8, 2}},
      {FlowKind::Hardware, {0, 0}, 15, {14, 2}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DefaultFlowThresholds(c.given, c.inSize, c.kind), c.expected)
        << c.given.Full << "/" << c.given.Resume << " of " << c.inSize;
  }
}

TEST(ComPortClosed, FlowOptionsDefaultTheThresholdsOnlyWhenNotEmpty) {
  TSioComPort port;
  port.SetHWFlowOptions({});
  EXPECT_EQ(port.BufferFull(), 0);
  port.SetHWFlowOptions({hwfUseRTS});
  EXPECT_EQ(port.BufferFull(), 3686);
  EXPECT_EQ(port.BufferResume(), 410);
  TSioComPort software;
  software.SetSWFlowOptions(swfBoth);
  EXPECT_EQ(software.BufferFull(), 3072);
  EXPECT_EQ(software.BufferResume(), 1024);
}

TEST(ComPortClosed, ThresholdsOutOfRangeAreReplaced) {
  TSioComPort port;
  port.SetBufferFull(5000);
  EXPECT_EQ(port.BufferFull(), 3686);
  port.SetBufferResume(3700);
  EXPECT_EQ(port.BufferResume(), 369);
  port.SetBufferFull(1000);
  port.SetBufferResume(800);
  EXPECT_EQ(port.BufferFull(), 1000);
  EXPECT_EQ(port.BufferResume(), 800);
}

TEST(ComPortClosed, RtsHandshakeTurnsRs485ModeOff) {
  for (const THWFlowOption option : {hwfUseRTS, hwfRequireCTS}) {
    TSioComPort port;
    port.SetRS485Mode(true);
    port.SetHWFlowOptions({hwfUseDTR});
    EXPECT_TRUE(port.RS485Mode());
    port.SetHWFlowOptions({option});
    EXPECT_FALSE(port.RS485Mode()) << int(option);
  }
}

// Records what the state machine asks of a recording.
class RecordedCalls : public RecordingControl {
 public:
  int32_t Start() override { return note("start", startResult); }
  void Pause() override { calls.push_back("pause"); }
  void Resume() override { calls.push_back("resume"); }
  void Clear() override { calls.push_back("clear"); }
  void Stop() override { calls.push_back("stop"); }
  int32_t Dump(bool append) override { return note(append ? "append" : "dump", dumpResult); }

  std::vector<std::string> calls;
  int32_t startResult = 0;
  int32_t dumpResult = 0;

 private:
  int32_t note(const char* call, int32_t result) {
    calls.emplace_back(call);
    return result;
  }
};

TEST(TraceLogRequests, ActOnTheRecordingByItsState) {
  using Calls = std::vector<std::string>;
  struct Case {
    TTraceLogState current;
    TTraceLogState request;
    Calls calls;
    TTraceLogState state;
  };
  const Case cases[] = {
      {tlOff, tlOn, {"start"}, tlOn},
      {tlOn, tlOn, {"start"}, tlOn},
      {tlPause, tlOn, {"resume"}, tlOn},
      {tlOn, tlOff, {"stop"}, tlOff},
      {tlOn, tlDump, {"dump", "stop"}, tlOff},
      {tlPause, tlDump, {"dump", "stop"}, tlOff},
      {tlOn, tlAppend, {"append", "stop"}, tlOff},
      {tlOn, tlAppendAndContinue, {"append"}, tlOn},
      {tlPause, tlAppendAndContinue, {"append"}, tlPause},
      {tlOn, tlClear, {"clear"}, tlOn},
      {tlOn, tlPause, {"pause"}, tlPause},
      {tlPause, tlPause, {}, tlPause},
      // Nothing recorded: only tlOn does anything.
      {tlOff, tlOff, {}, tlOff},
      {tlOff, tlDump, {}, tlOff},
      {tlOff, tlAppend, {}, tlOff},
      {tlOff, tlClear, {}, tlOff},
      {tlOff, tlPause, {}, tlOff},
      {tlOff, tlAppendAndContinue, {}, tlOff},
  };
  for (const Case& c : cases) {
    RecordedCalls recording;
    const TraceLogOutcome outcome = ApplyTraceLogRequest(c.current, c.request, recording);
    EXPECT_EQ(recording.calls, c.calls) << int(c.current) << " -> " << int(c.request);
    EXPECT_EQ(outcome.State, c.state) << int(c.current) << " -> " << int(c.request);
    EXPECT_EQ(outcome.Result, 0);
  }
}

TEST(TraceLogRequests, FailuresEndTheRecordingAndReportTheirCode) {
  RecordedCalls refusing;
  refusing.startResult = -1002;
  EXPECT_EQ(ApplyTraceLogRequest(tlOff, tlOn, refusing).State, tlOff);
  RecordedCalls unwritable;
  unwritable.dumpResult = -5;
  const TraceLogOutcome outcome = ApplyTraceLogRequest(tlOn, tlAppendAndContinue, unwritable);
  EXPECT_EQ(outcome.State, tlOff);
  EXPECT_EQ(outcome.Result, -5);
}

TEST(ComPortCopy, TakesSettingsAndHandlersOfAnotherPort) {
  TSioComPort source;
  source.SetComNumber(7);
  source.SetBaud(9600);
  source.SetParity(pEven);
  source.SetDataBits(7);
  source.SetStopBits(2);
  source.SetInSize(1024);
  source.SetHWFlowOptions({hwfUseDTR});
  source.SetXOnChar('A');
  source.SetDTR(false);
  source.SetAutoOpen(false);
  source.SetPromptForPort(false);
  source.SetThreadPriorityBoost(2);
  source.SetTapiMode(tmOff);
  source.SetTracing(tlOn);
  source.SetTraceName("trace.txt");
  source.SetLogSize(500);
  source.SetAvailThreshold(16);
  int calls = 0;
  source.SetOnTriggerAvail([&calls](TSioCustomComPort*, uint16_t) { ++calls; });

  TSioComPort copy;
  copy.AssignFrom(source);
  EXPECT_EQ(copy.ComNumber(), 7);
  EXPECT_EQ(copy.Baud(), 9600);
  EXPECT_EQ(copy.Parity(), pEven);
  EXPECT_EQ(copy.DataBits(), 7);
  EXPECT_EQ(copy.StopBits(), 2);
  EXPECT_EQ(copy.InSize(), 1024);
  EXPECT_EQ(copy.HWFlowOptions(), THWFlowOptionSet({hwfUseDTR}));
  EXPECT_EQ(copy.BufferFull(), source.BufferFull());
  EXPECT_EQ(copy.XOnChar(), 'A');
  EXPECT_FALSE(copy.DTR());
  EXPECT_FALSE(copy.AutoOpen());
  EXPECT_FALSE(copy.PromptForPort());
  EXPECT_EQ(copy.ThreadPriorityBoost(), 2);
  EXPECT_EQ(copy.TapiMode(), tmOff);
  EXPECT_EQ(copy.Tracing(), tlOn);
  EXPECT_EQ(copy.TraceName(), "trace.txt");
  EXPECT_EQ(copy.LogSize(), 500u);
  EXPECT_EQ(copy.AvailThreshold(), 16);
  EXPECT_FALSE(copy.Open());
  ASSERT_TRUE(copy.OnTriggerAvail());
  copy.OnTriggerAvail()(&copy, 1);
  EXPECT_EQ(calls, 1);
}

TEST(ComPortCopy, RefusesOtherComponents) {
  const TSioBaseComponent other;
  TSioComPort port;
  EXPECT_THROW(port.AssignFrom(other), Exception);
}

}  // namespace
