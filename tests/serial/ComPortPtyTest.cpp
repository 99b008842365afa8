// The serial port component on real devices: pseudo-terminals reached as
// COMn through links in a temporary current directory, opened by the
// platform's own dispatcher.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "serial/PortPath.h"
#include "serial/SioComPort.h"
#include "serial/SioExceptions.h"
#include "serial/SioPosixDispatcher.h"
#include "tests/serial/support/ComPortGui.h"
#include "tests/serial/support/OpenPort.h"
#include "tests/serial/support/PseudoTerminal.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

// Every data-available call: its Count and the bytes read in it.
class AvailCalls {
 public:
  struct Call {
    uint16_t Count;
    std::vector<uint8_t> Read;
  };

  // Installs a handler that reads all waiting bytes once at least wanted wait.
  void Install(TSioCustomComPort& port, uint16_t wanted = 1) {
    port.SetOnTriggerAvail([this, wanted](TSioCustomComPort* CP, uint16_t Count) {
      Call call{Count, {}};
      if (Count >= wanted) {
        for (uint16_t i = 0; i < Count; ++i) call.Read.push_back(CP->ReadChar());
      }
      const std::lock_guard<std::mutex> lock(lock_);
      calls_.push_back(call);
    });
  }

  std::vector<Call> Calls() {
    const std::lock_guard<std::mutex> lock(lock_);
    return calls_;
  }

  std::vector<uint8_t> AllRead() {
    std::vector<uint8_t> bytes;
    for (const Call& call : Calls()) bytes.insert(bytes.end(), call.Read.begin(), call.Read.end());
    return bytes;
  }

  bool WaitForRead(size_t count) {
    return WaitUntil([&] { return AllRead().size() >= count; });
  }

 private:
  std::mutex lock_;
  std::vector<Call> calls_;
};

class ComPortOnPty : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(symlink(first.SlavePath().c_str(), "COM3"), 0);
    ASSERT_EQ(symlink(second.SlavePath().c_str(), "COM4"), 0);
    port->SetComNumber(3);
    port->SetBaud(9600);
  }

  void TearDown() override {
    gui.Run([&] { port.reset(); });
  }

  void Open() {
    gui.Run([&] { port->SetOpen(true); });
  }

  bool IsOpen() {
    return gui.Get<bool>([&] { return port->Open(); });
  }

  PseudoTerminal first;
  PseudoTerminal second;
  TemporaryDirectory dir;
  CurrentDirectory inside{dir.Path()};
  ComPortGui gui;
  AvailCalls avail;
  std::unique_ptr<TSioComPort> port = std::make_unique<TSioComPort>();
};

TEST_F(ComPortOnPty, OpeningTwiceOpensOnceAndHoldsTheDevice) {
  std::atomic<int> opened{0};
  port->SetOnPortOpen([&](TSioCustomComPort*) { ++opened; });
  avail.Install(*port);
  Open();
  Open();
  EXPECT_EQ(opened.load(), 1);
  TSioComPort other;
  other.SetComNumber(3);
  EXPECT_THROW(gui.Run([&] { other.SetOpen(true); }), EAlreadyOpen);
  ASSERT_TRUE(first.Write({'o', 'k'}));
  ASSERT_TRUE(avail.WaitForRead(2));
  EXPECT_EQ(avail.AllRead(), (std::vector<uint8_t>{'o', 'k'}));
}

TEST_F(ComPortOnPty, MissingAndHeldPortsRaiseAndAGoodPortOpensAfterwards) {
  port->SetComNumber(static_cast<uint16_t>(AbsentPortNumber(40)));
  EXPECT_THROW(Open(), EBadId);
  EXPECT_FALSE(IsOpen());

  TSioPosixDispatcher holder(nullptr);
  ASSERT_EQ(OpenLikeComponent(holder, gui.Loop(), 1, PortDeviceName(4)), 0);
  gui.Run([&] { port->SetComNumber(4); });
  EXPECT_THROW(Open(), EAlreadyOpen);
  EXPECT_FALSE(IsOpen());

  gui.Run([&] { port->SetComNumber(3); });
  Open();
  EXPECT_TRUE(IsOpen());
}

TEST_F(ComPortOnPty, ANewPortNumberMovesToTheNewDeviceAndGivesTheOldOneBack) {
  std::atomic<int> closed{0};
  port->SetOnPortClose([&](TSioCustomComPort*) { ++closed; });
  avail.Install(*port);
  Open();
  gui.Run([&] { port->SetComNumber(3); });
  EXPECT_EQ(closed.load(), 0);
  ASSERT_TRUE(first.Write({'1'}));
  ASSERT_TRUE(avail.WaitForRead(1));

  gui.Run([&] { port->SetComNumber(4); });
  EXPECT_EQ(closed.load(), 1);
  EXPECT_TRUE(IsOpen());
  ASSERT_TRUE(second.Write({'2'}));
  ASSERT_TRUE(avail.WaitForRead(2));
  EXPECT_EQ(avail.AllRead(), (std::vector<uint8_t>{'1', '2'}));
  gui.Run([&] { port->SendChar('x'); });
  EXPECT_EQ(second.Read(1), std::vector<uint8_t>{'x'});

  TSioPosixDispatcher next(nullptr);
  EXPECT_EQ(OpenLikeComponent(next, gui.Loop(), 1, PortDeviceName(3)), 0);
}

TEST_F(ComPortOnPty, PutBlockSendsAWholeBlockOrRaisesAndQueuesNothing) {
  Open();
  const std::vector<uint8_t> block = {'C', '2', '\r'};
  gui.Run([&] { port->PutBlock(block.data(), static_cast<uint32_t>(block.size())); });
  EXPECT_EQ(first.Read(block.size()), block);
  const std::vector<uint8_t> tooLong(port->OutSize() + 1, 'x');
  EXPECT_THROW(
      gui.Run([&] { port->PutBlock(tooLong.data(), static_cast<uint32_t>(tooLong.size())); }),
      EOutputBufferTooSmall);
  gui.Run([&] { port->SendChar('!'); });
  EXPECT_EQ(first.Read(1), std::vector<uint8_t>{'!'});
}

TEST_F(ComPortOnPty, AHandlerWaitingForSixteenBytesGetsThemOnceTheRestArrives) {
  avail.Install(*port, 16);
  Open();
  const std::vector<uint8_t> head{'A', 'Z', '=', '1', '2', '3', ' ', ' ', 'E', 'L'};
  const std::vector<uint8_t> tail{'=', '0', '4', '5', '\r', '\n'};
  ASSERT_TRUE(first.Write(head));
  ASSERT_TRUE(WaitUntil([&] {
    const auto calls = avail.Calls();
    return !calls.empty() && calls.back().Count == head.size();
  }));
  const size_t callsBefore = avail.Calls().size();
  ASSERT_TRUE(first.Write(tail));
  ASSERT_TRUE(avail.WaitForRead(head.size() + tail.size()));
  const std::vector<AvailCalls::Call> calls = avail.Calls();
  // Each call counts every unread byte, and nothing is read before 16 wait.
  for (size_t i = 1; i < calls.size(); ++i) EXPECT_GT(calls[i].Count, calls[i - 1].Count);
  for (size_t i = 0; i + 1 < calls.size(); ++i) EXPECT_TRUE(calls[i].Read.empty());
  EXPECT_GT(calls.size(), callsBefore);
  EXPECT_EQ(calls.back().Count, 16);
  std::vector<uint8_t> all = head;
  all.insert(all.end(), tail.begin(), tail.end());
  EXPECT_EQ(calls.back().Read, all);
}

TEST_F(ComPortOnPty, ClosingInsideTheHandlerNeitherDeadlocksNorRaises) {
  std::atomic<int> closed{0};
  std::atomic<bool> returned{false};
  port->SetOnPortClose([&](TSioCustomComPort*) { ++closed; });
  port->SetOnTriggerAvail([&](TSioCustomComPort* CP, uint16_t) {
    CP->SetOpen(false);
    returned = true;
  });
  Open();
  ASSERT_TRUE(first.Write({'q'}));
  ASSERT_TRUE(WaitUntil([&] { return returned.load(); }, std::chrono::seconds(20)));
  ASSERT_TRUE(WaitUntil([&] { return !IsOpen(); }));
  EXPECT_EQ(closed.load(), 1);
  // The device was given back.
  TSioPosixDispatcher next(nullptr);
  EXPECT_EQ(OpenLikeComponent(next, gui.Loop(), 1, PortDeviceName(3)), 0);
}

TEST_F(ComPortOnPty, SendingOnAClosedPortOpensItAndSends) {
  gui.Run([&] {
    port->SendChar('C');
    port->SendChar('\r');
  });
  EXPECT_TRUE(IsOpen());
  EXPECT_EQ(first.Read(2), (std::vector<uint8_t>{'C', '\r'}));
}

// The error code a setting on the open port raised, 0 when it raised none.
int32_t RaisedCode(ComPortGui& gui, const std::function<void()>& setting) {
  int32_t code = 0;
  gui.Run([&] {
    try {
      setting();
    } catch (const EInOutError& error) {
      code = -error.ErrorCode;
    }
  });
  return code;
}

TEST_F(ComPortOnPty, SettingsLinuxCannotCarryOutAreRefusedAndLeaveThePortAsItWas) {
  port->SetHWFlowOptions({hwfUseDTR});
  EXPECT_EQ(RaisedCode(gui, [&] { port->SetOpen(true); }), -22) << "no DTR/DSR handshake";
  EXPECT_FALSE(IsOpen());
  port->SetHWFlowOptions({});
  Open();
  EXPECT_EQ(RaisedCode(gui, [&] { port->SetHWFlowOptions({hwfRequireDSR}); }), -22);
  EXPECT_EQ(RaisedCode(gui, [&] { port->SetSWFlowOptions(swfReceive); }), -22)
      << "the kernel sends XOFF at its own fill level, not at the port's limits";
  EXPECT_EQ(RaisedCode(gui, [&] { port->SetRS485Mode(true); }), -22)
      << "a pseudo-terminal has no RS-485 mode";
  gui.Run([&] {
    EXPECT_TRUE(port->HWFlowOptions().Empty());
    EXPECT_EQ(port->SWFlowOptions(), swfNone);
    EXPECT_FALSE(port->RS485Mode());
  });
  // What Linux does carry out still reaches the terminal after the refusals.
  EXPECT_EQ(RaisedCode(gui,
                       [&] {
                         port->SetSWFlowOptions(swfTransmit);
                         port->SetHWFlowOptions({hwfUseRTS, hwfRequireCTS});
                       }),
            0);
  termios line{};
  ASSERT_EQ(
      tcgetattr(gui.Get<int>([&] { return static_cast<int>(port->Dispatcher()->DeviceHandle()); }),
                &line),
      0);
  EXPECT_NE(line.c_iflag & IXON, 0u);
  EXPECT_EQ(line.c_iflag & IXOFF, 0u);
  EXPECT_NE(line.c_cflag & CRTSCTS, 0u);
}

TEST_F(ComPortOnPty, TelephonyModeUsesTheHandedOverDeviceWithItsSettings) {
  port->SetTapiMode(tmOn);
  port->SetComNumber(0);
  EXPECT_THROW(Open(), ENotOpenedByTapi);
  EXPECT_FALSE(IsOpen());

  const int device = open(second.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(device, 0);
  // Someone else set the line up; the port keeps its rate.
  const int speed = 38400;
  {
    TSioPosixDispatcher setter(nullptr);
    ASSERT_EQ(OpenLikeComponent(setter, gui.Loop(), 1, second.SlavePath()), 0);
    ASSERT_EQ(setter.ConfigureLine(speed, 5, 9, 3), 0);
  }
  gui.Run([&] { port->SetTelephonyHandle(static_cast<uint16_t>(device)); });
  avail.Install(*port);
  Open();
  EXPECT_EQ(gui.Get<int32_t>([&] { return port->Baud(); }), speed);
  ASSERT_TRUE(second.Write({'t'}));
  ASSERT_TRUE(avail.WaitForRead(1));
}

}  // namespace
