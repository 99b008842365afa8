// The serial port component through Debian's ser2net in front of the
// simulator's pseudo-terminal, as a raw TCP port and as an RFC 2217 server:
// a COMn link to the server, polls and commands, a second user, a baud
// change that reaches the pseudo-terminal, and the server going away (a lost
// port) and coming back.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <asm/termbits.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>

#include "serial/SioComPort.h"
#include "serial/SioExceptions.h"
#include "serial/TermiosLine.h"
#include "serial/net/SioNetDispatcher.h"
#include "serial/net/TelnetCodes.h"
#include "tests/serial/support/ComPortGui.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/Ser2netProcess.h"
#include "tests/tools/SimulatorProcess.h"
#include "tests/tools/TestPatience.h"
#include "tests/tools/TextLines.h"

namespace {

using Accepter = Ser2netProcess::Accepter;

class ThroughSer2net : public ::testing::TestWithParam<Accepter> {
 protected:
  void SetUp() override { ASSERT_EQ(symlink(ser2net.Url().c_str(), "COM1"), 0); }

  void TearDown() override {
    gui.Run([&] { port.reset(); });
  }

  // A port on COM1 at 9600 baud whose handler collects every byte.
  std::unique_ptr<TSioComPort> newPort() {
    auto opened = std::make_unique<TSioComPort>();
    opened->SetComNumber(1);
    opened->SetBaud(9600);
    opened->SetOnTriggerAvail([this](TSioCustomComPort* CP, uint16_t Count) {
      const std::lock_guard<std::mutex> guard(lock);
      for (uint16_t i = 0; i < Count; ++i) reply += static_cast<char>(CP->ReadChar());
    });
    return opened;
  }

  void send(const std::string& bytes) {
    gui.Run([&] {
      for (const char c : bytes) port->SendChar(static_cast<uint8_t>(c));
    });
  }

  bool replied(const std::string& text) {
    return WaitUntil(
        [&] {
          const std::lock_guard<std::mutex> guard(lock);
          return reply.find(text) != std::string::npos;
        },
        kPatience);
  }

  bool logged(const std::string& hex) {
    return WaitUntil(
        [&] {
          const std::vector<std::string> lines = ReadLines(log);
          return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.size() >= hex.size() &&
                   line.compare(line.size() - hex.size(), hex.size(), hex) == 0;
          });
        },
        kPatience);
  }

  TemporaryDirectory dir;
  CurrentDirectory inside{dir.Path()};
  const std::string log = dir.Path("commands.log");
  SimulatorProcess simulator{{"--az", "123", "--el", "45", "--log", log}};
  Ser2netProcess ser2net{simulator.ClientPath(), GetParam()};
  ComPortGui gui;
  std::mutex lock;
  std::string reply;
  std::unique_ptr<TSioComPort> port = newPort();
};

TEST_P(ThroughSer2net, PollsAndCommandsGoThroughTheServer) {
  gui.Run([&] { port->SetOpen(true); });
  send("C2\r");
  EXPECT_TRUE(replied("AZ=123  EL=045\r\n"));
  send("M200\r");
  EXPECT_TRUE(logged("4D 32 30 30 0D"));
  const auto* dispatcher = dynamic_cast<TSioNetDispatcher*>(port->Dispatcher());
  ASSERT_NE(dispatcher, nullptr);
  EXPECT_EQ(dispatcher->Protocol(),
            GetParam() == Accepter::Rfc2217 ? NetProtocol::Rfc2217 : NetProtocol::RawTcp);
}

TEST_P(ThroughSer2net, ASecondUserIsToldThePortIsInUse) {
  gui.Run([&] { port->SetOpen(true); });
  auto second = newPort();
  gui.Run([&] {
    EXPECT_THROW(second->SetOpen(true), EAlreadyOpen);
    EXPECT_FALSE(second->Open());
    second.reset();
  });
  send("C2\r");
  EXPECT_TRUE(replied("AZ=123")) << "the first user keeps the port";
}

TEST_P(ThroughSer2net, AServerThatGoesAwayIsALostPortThatOpensAgainWhenItIsBack) {
  std::atomic<int> lost{0};
  std::atomic<bool> openWhenLost{true};
  port->SetOnPortLost([&](TSioCustomComPort* CP) {
    openWhenLost = CP->Open();
    ++lost;
  });
  gui.Run([&] { port->SetOpen(true); });
  ser2net.Stop();
  EXPECT_TRUE(WaitUntil([&] { return lost.load() == 1; }, kPatience));
  EXPECT_FALSE(openWhenLost.load()) << "the port is closed before the event";
  EXPECT_FALSE(gui.Get<bool>([&] { return port->Open(); }));
  // While the server is away, opening fails as for a port that does not exist.
  EXPECT_THROW(gui.Run([&] { port->SetOpen(true); }), EBadId);
  ser2net.Start();
  gui.Run([&] { port->SetOpen(true); });
  send("C2\r");
  EXPECT_TRUE(replied("AZ=123"));
  EXPECT_EQ(lost.load(), 1);
}

INSTANTIATE_TEST_SUITE_P(Accepters, ThroughSer2net,
                         ::testing::Values(Accepter::RawTcp, Accepter::Rfc2217),
                         [](const auto& info) {
                           return info.param == Accepter::Rfc2217 ? "Rfc2217" : "RawTcp";
                         });

// The pseudo-terminal's settings as ser2net left them.
termios2 slaveLine(const std::string& path) {
  termios2 line{};
  const int slave = open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slave >= 0) {
    ReadTermios(slave, line);
    close(slave);
  }
  return line;
}

class Rfc2217ThroughSer2net : public ThroughSer2net {};

TEST_P(Rfc2217ThroughSer2net, LineSettingsReachThePseudoTerminal) {
  gui.Run([&] {
    port->SetBaud(19200);
    port->SetOpen(true);
  });
  const std::string device = simulator.ClientPath();
  EXPECT_TRUE(WaitUntil([&] { return slaveLine(device).c_ospeed == 19200; }, kPatience));
  gui.Run([&] {
    port->SetBaud(4800);
    port->SetParity(pEven);
    port->SetDataBits(7);
  });
  EXPECT_TRUE(WaitUntil([&] { return slaveLine(device).c_ospeed == 4800; }, kPatience));
  // A pseudo-terminal keeps 8 bits without parity whatever it is told; the
  // server's answers say what it set.
  auto* dispatcher = gui.Get<TSioNetDispatcher*>(
      [&] { return dynamic_cast<TSioNetDispatcher*>(port->Dispatcher()); });
  ASSERT_NE(dispatcher, nullptr);
  EXPECT_TRUE(WaitUntil(
      [&] {
        const TelnetSession::ServerLine line = dispatcher->ServerLineSettings();
        return line.BaudRate == 4800u && line.DataSize == 7 && line.Parity == comport::kParityEven;
      },
      kPatience));
  send("C2\r");
  EXPECT_TRUE(replied("AZ=123")) << "the line still works";
}

INSTANTIATE_TEST_SUITE_P(Rfc2217, Rfc2217ThroughSer2net, ::testing::Values(Accepter::Rfc2217));

}  // namespace
