// Opening and closing the serial port component over the fake platform: the
// open sequence and its failures, implicit opening, the port number changing
// under an open port, closing from inside a handler, loading and destruction.

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "serial/DispatcherRegistry.h"
#include "serial/ExceptionDisplay.h"
#include "serial/PortPath.h"
#include "serial/PortPrompt.h"
#include "serial/SioComPort.h"
#include "serial/SioExceptions.h"
#include "tests/serial/support/ComPortGui.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

// A port whose dispatcher the test can see.
class ProbedPort : public TSioComPort {
 public:
  bool HasDispatcher() const { return ActiveDispatcher != nullptr; }
  void ForceDeviceLayer(TDeviceLayer layer) { deviceLayer_ = layer; }
};

class ComPortOpening : public ::testing::Test {
 protected:
  void SetUp() override {
    port->SetDispatcherFactory(fakes.Factory());
    port->SetComNumber(3);
  }

  void TearDown() override {
    gui.Run([&] { port.reset(); });
    SetPortPrompt({});
  }

  void Open() {
    gui.Run([&] { port->SetOpen(true); });
  }

  // Every failed open leaves the same state behind.
  void ExpectClosedWithoutDispatcher() {
    gui.Run([&] {
      EXPECT_FALSE(port->Open());
      EXPECT_EQ(port->Phase(), ppClosed);
      EXPECT_FALSE(port->HasDispatcher());
    });
  }

  FakePorts fakes;
  ComPortGui gui;
  std::unique_ptr<ProbedPort> port = std::make_unique<ProbedPort>();
};

TEST_F(ComPortOpening, OpensOnceAndNamesTheDevice) {
  int opened = 0;
  port->SetOnPortOpen([&](TSioCustomComPort*) { ++opened; });
  Open();
  Open();
  EXPECT_EQ(fakes.Made(), 1);
  EXPECT_EQ(opened, 1);
  gui.Run([&] {
    EXPECT_TRUE(port->Open());
    EXPECT_EQ(port->Phase(), ppOpen);
    EXPECT_EQ(port->Dispatcher()->PortName(), PortDeviceName(3));
  });
}

TEST_F(ComPortOpening, PushesTheStoredSettingsToTheNewDispatcher) {
  port->SetXOnChar('A');
  port->SetXOffChar('B');
  port->SetHWFlowOptions({hwfUseRTS});
  port->SetAvailThreshold(5);
  port->SetThreadPriorityBoost(1);
  port->SetUseEventWord(true);
  port->SetBaud(9600);
  Open();
  gui.Run([&] {
    TSioBaseDispatcher& dispatcher = *port->Dispatcher();
    const Dcb line = fakes.Latest().DeviceLine();
    EXPECT_EQ(line.BaudRate, 9600u);
    EXPECT_EQ(line.XonChar, 'A');
    EXPECT_EQ(line.XoffChar, 'B');
    EXPECT_EQ(line.Flags & kDcbRtsControlMask, kRtsControlHandshake);
    EXPECT_EQ(line.XoffLim, port->InSize() - port->BufferFull());
    EXPECT_EQ(line.XonLim, port->BufferResume());
    EXPECT_EQ(dispatcher.AvailThreshold(), 5u);
    EXPECT_EQ(dispatcher.ThreadBoost(), 1);
    EXPECT_EQ(dispatcher.OptionBits() & 4u, 4u);
    EXPECT_TRUE(dispatcher.DtrState());
  });
}

TEST_F(ComPortOpening, MapsTheDeviceOpenFailures) {
  struct Case {
    int32_t osError;
    std::function<void()> expectRaised;
  };
  std::optional<int32_t> osError;
  FakePorts failing([&](FakePlatform& fake) { fake.FailOpen(*osError); });
  port->SetDispatcherFactory(failing.Factory());
  const auto open = [&] { port->SetOpen(true); };
  const Case cases[] = {
      {2, [&] { EXPECT_THROW(gui.Run(open), EBadId); }},
      {3, [&] { EXPECT_THROW(gui.Run(open), EBadId); }},
      {5, [&] { EXPECT_THROW(gui.Run(open), EAlreadyOpen); }},
      {13,
       [&] {
         try {
           gui.Run(open);
           ADD_FAILURE() << "no exception";
         } catch (const EInOutError& error) {
           EXPECT_EQ(error.ErrorCode, 13);
         }
       }},
  };
  for (const Case& c : cases) {
    osError = c.osError;
    c.expectRaised();
    ExpectClosedWithoutDispatcher();
  }
  // A later open of a good port works.
  osError = 0;
  Open();
  EXPECT_TRUE(gui.Get<bool>([&] { return port->Open(); }));
}

TEST_F(ComPortOpening, WithoutAPortNumberAsksOrRaises) {
  port->SetComNumber(0);
  int asked = 0;
  SetPortPrompt([&]() -> std::optional<uint16_t> {
    ++asked;
    return std::nullopt;
  });
  port->SetPromptForPort(false);
  EXPECT_THROW(Open(), ENoPortSelected);
  EXPECT_EQ(asked, 0);
  port->SetPromptForPort(true);
  EXPECT_THROW(Open(), ENoPortSelected);
  EXPECT_EQ(asked, 1);
  ExpectClosedWithoutDispatcher();

  SetPortPrompt([]() -> std::optional<uint16_t> { return 12; });
  Open();
  gui.Run([&] {
    EXPECT_EQ(port->ComNumber(), 12);
    EXPECT_EQ(port->Dispatcher()->PortName(), PortDeviceName(12));
  });
}

TEST_F(ComPortOpening, AnUnsupportedDeviceLayerRaisesNullApi) {
  port->SetDispatcherFactory({});
  port->ForceDeviceLayer(dlWinsock);
  EXPECT_THROW(Open(), ENullApi);
  ExpectClosedWithoutDispatcher();
}

TEST_F(ComPortOpening, AFailingOpenHandlerLeavesThePortClosed) {
  port->SetOnPortOpen([](TSioCustomComPort*) { throw Exception("refused"); });
  EXPECT_THROW(Open(), Exception);
  ExpectClosedWithoutDispatcher();
}

TEST_F(ComPortOpening, SendingOnAClosedPortOpensItFirstWhenAllowed) {
  gui.Run([&] { port->SendChar('x'); });
  EXPECT_EQ(fakes.Latest().TakeOutput(), std::vector<uint8_t>{'x'});
  EXPECT_TRUE(gui.Get<bool>([&] { return port->Open(); }));

  gui.Run([&] { port->SetOpen(false); });
  port->SetAutoOpen(false);
  EXPECT_THROW(gui.Run([&] { port->SendChar('y'); }), ECommNotOpen);
  EXPECT_THROW(gui.Run([&] { port->ReadChar(); }), ECommNotOpen);
  EXPECT_EQ(fakes.Made(), 1);
}

TEST_F(ComPortOpening, ClosingReleasesTheDispatcherAndTellsTheHandler) {
  int closed = 0;
  port->SetOnPortClose([&](TSioCustomComPort*) { ++closed; });
  const int32_t registered = DispatcherRegistry::Size();
  Open();
  gui.Run([&] {
    port->SetOpen(false);
    port->SetOpen(false);
  });
  EXPECT_EQ(closed, 1);
  ExpectClosedWithoutDispatcher();
  EXPECT_EQ(DispatcherRegistry::Size(), registered);
}

TEST_F(ComPortOpening, ANewPortNumberReopensWithTheTriggersTraceAndLog) {
  // The close writes the log.
  TemporaryDirectory dir;
  const CurrentDirectory inside(dir.Path());
  port->SetTracing(tlOn);
  Open();
  gui.Run([&] {
    port->Dispatcher()->SetAvailThreshold(7);
    port->SetLogging(tlOn);
    port->SetComNumber(3);
  });
  EXPECT_EQ(fakes.Made(), 1);
  gui.Run([&] { port->SetComNumber(4); });
  EXPECT_EQ(fakes.Made(), 2);
  gui.Run([&] {
    TSioBaseDispatcher& dispatcher = *port->Dispatcher();
    EXPECT_EQ(dispatcher.PortName(), PortDeviceName(4));
    EXPECT_EQ(dispatcher.AvailThreshold(), 7u);
    EXPECT_TRUE(dispatcher.TracingActive());
    EXPECT_TRUE(dispatcher.LoggingActive());
    EXPECT_EQ(port->Tracing(), tlOn);
    EXPECT_EQ(port->Logging(), tlOn);
    port->SetOpen(false);
  });
  // The close wrote what was recorded: log entries, but no traffic.
  EXPECT_TRUE(PathExists(dir.Path("SIO.LOG")));
  EXPECT_FALSE(PathExists(dir.Path("SIO.TRC")));
}

TEST_F(ComPortOpening, ANewPortNumberThatFailsToOpenLeavesThePortClosed) {
  std::atomic<int32_t> osError{0};
  FakePorts failing([&](FakePlatform& fake) { fake.FailOpen(osError.load()); });
  port->SetDispatcherFactory(failing.Factory());
  Open();
  osError = 2;
  EXPECT_THROW(gui.Run([&] { port->SetComNumber(9); }), EBadId);
  ExpectClosedWithoutDispatcher();
  EXPECT_EQ(port->ComNumber(), 9);
}

TEST_F(ComPortOpening, AnOpenStoredWhileLoadingHappensWhenLoadingEnds) {
  gui.Run([&] {
    port->BeginLoading();
    port->SetOpen(true);
    EXPECT_TRUE(port->Open());
    EXPECT_FALSE(port->HasDispatcher());
    port->EndLoading();
    EXPECT_TRUE(port->HasDispatcher());
    EXPECT_EQ(port->Phase(), ppOpen);
  });
}

TEST_F(ComPortOpening, AFailedOpenAfterLoadingIsShownAndLeavesThePortClosed) {
  std::vector<std::string> shown;
  SetExceptionDisplay([&](const std::exception& error) { shown.emplace_back(error.what()); });
  FakePorts failing([](FakePlatform& fake) { fake.FailOpen(5); });
  port->SetDispatcherFactory(failing.Factory());
  gui.Run([&] {
    port->BeginLoading();
    port->SetOpen(true);
    port->EndLoading();
  });
  SetExceptionDisplay({});
  EXPECT_EQ(shown, std::vector<std::string>{EAlreadyOpen().what()});
  ExpectClosedWithoutDispatcher();
}

TEST_F(ComPortOpening, DestroyingAnOpenPortClosesIt) {
  int closed = 0;
  port->SetOnPortClose([&](TSioCustomComPort*) { ++closed; });
  const int32_t registered = DispatcherRegistry::Size();
  Open();
  gui.Run([&] { port.reset(); });
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(DispatcherRegistry::Size(), registered);
}

TEST(ComPortWithoutNotifyWindows, OpensSendsAndReadsButRaisesNoEvents) {
  FakePorts fakes;
  TSioComPort port;
  std::atomic<int> calls{0};
  port.SetComNumber(1);
  port.SetDispatcherFactory(fakes.Factory());
  port.SetOnTriggerAvail([&](TSioCustomComPort*, uint16_t) { ++calls; });
  port.SendChar('a');
  EXPECT_TRUE(port.Open());
  EXPECT_EQ(fakes.Latest().TakeOutput(), std::vector<uint8_t>{'a'});
  fakes.Latest().Feed({'b', 'c'});
  ASSERT_TRUE(WaitUntil([&] { return port.Dispatcher()->UnreadCount() == 2; }));
  EXPECT_EQ(port.ReadChar(), 'b');
  EXPECT_EQ(port.ReadChar(), 'c');
  EXPECT_EQ(calls.load(), 0);
  port.SetOpen(false);
}

// Closing from inside OnTriggerAvail, with the platform waiting for the
// port threads (the close completes inside ClosePort once the delivery has
// given up) or not (the close completes later through PORT_CLOSING).
class ClosingInsideAHandler : public ::testing::TestWithParam<bool> {
 protected:
  void TearDown() override {
    gui.Run([&] { port.reset(); });
  }

  FakePorts fakes{[](FakePlatform& fake) { fake.SetCloseWaitsForThreads(GetParam()); }};
  ComPortGui gui;
  std::unique_ptr<TSioComPort> port = std::make_unique<TSioComPort>();
};

TEST_P(ClosingInsideAHandler, NeitherDeadlocksNorRaises) {
  const bool completesInside = GetParam();
  std::vector<std::string> shown;
  SetExceptionDisplay([&](const std::exception& error) { shown.emplace_back(error.what()); });
  std::atomic<int> closed{0};
  std::atomic<bool> handled{false};
  bool openAfterClose = false;
  TPortPhase phaseAfterClose = ppOpen;
  uint8_t readWhileClosing = 1;
  port->SetComNumber(1);
  port->SetDispatcherFactory(fakes.Factory());
  port->SetOnPortClose([&](TSioCustomComPort*) { ++closed; });
  port->SetOnTriggerAvail([&](TSioCustomComPort* CP, uint16_t) {
    CP->SetOpen(false);
    openAfterClose = CP->Open();
    phaseAfterClose = CP->Phase();
    if (CP->Phase() == ppClosing) {
      CP->SendChar('z');
      readWhileClosing = CP->ReadChar();
    }
    handled = true;
  });
  gui.Run([&] { port->SetOpen(true); });
  fakes.Latest().Feed({1, 2, 3});
  ASSERT_TRUE(WaitUntil([&] { return handled.load(); }, std::chrono::seconds(20)));
  EXPECT_EQ(closed.load(), 1);
  if (completesInside) {
    EXPECT_FALSE(openAfterClose);
    EXPECT_EQ(phaseAfterClose, ppClosed);
  } else {
    EXPECT_TRUE(openAfterClose);
    EXPECT_EQ(phaseAfterClose, ppClosing);
    EXPECT_EQ(readWhileClosing, 0);
  }
  ASSERT_TRUE(WaitUntil([&] { return !gui.Get<bool>([&] { return port->Open(); }); }));
  EXPECT_EQ(gui.Get<TPortPhase>([&] { return port->Phase(); }), ppClosed);
  EXPECT_EQ(closed.load(), 1);
  SetExceptionDisplay({});
  EXPECT_TRUE(shown.empty());
  // And the port opens again.
  gui.Run([&] { port->SetOpen(true); });
  EXPECT_TRUE(gui.Get<bool>([&] { return port->Open(); }));
}

INSTANTIATE_TEST_SUITE_P(CloseCompletes, ClosingInsideAHandler, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "InsideClosePort" : "ThroughPortClosing";
                         });

TEST(ClosingInsideAHandlerThenReopening, ANewPortNumberOpensOnceThePendingCloseCompletes) {
  FakePorts fakes([](FakePlatform& fake) { fake.SetCloseWaitsForThreads(false); });
  ComPortGui gui;
  auto port = std::make_unique<TSioComPort>();
  std::atomic<bool> handled{false};
  port->SetComNumber(1);
  port->SetDispatcherFactory(fakes.Factory());
  port->SetOnTriggerAvail([&](TSioCustomComPort* CP, uint16_t) {
    if (CP->ComNumber() == 1) CP->SetComNumber(2);
    handled = true;
  });
  gui.Run([&] { port->SetOpen(true); });
  fakes.Latest().Feed({1});
  ASSERT_TRUE(WaitUntil([&] { return handled.load(); }));
  ASSERT_TRUE(WaitUntil([&] { return fakes.Made() == 2; }));
  ASSERT_TRUE(WaitUntil([&] { return gui.Get<bool>([&] { return port->Phase() == ppOpen; }); }));
  gui.Run([&] {
    EXPECT_TRUE(port->Open());
    EXPECT_EQ(port->Dispatcher()->PortName(), PortDeviceName(2));
    port.reset();
  });
}

}  // namespace
