// The port on a serial server across the network, against a small server of
// the test's own: opening and its failures, raw bytes, the telnet session of
// RFC 2217 (commands, escaping, the server's modem and line state), and
// servers that misbehave.

#include <gtest/gtest.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <random>
#include <thread>

#include "serial/CommCodes.h"
#include "serial/Deadline.h"
#include "serial/LastError.h"
#include "serial/net/ServerConnect.h"
#include "serial/net/SioNetDispatcher.h"
#include "serial/net/TelnetCodes.h"
#include "tests/serial/support/LoopbackServer.h"
#include "tests/serial/support/OpenPort.h"
#include "tests/serial/support/PosixPort.h"
#include "tests/tools/UnansweredListener.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;
using namespace telnet;

// A port on 127.0.0.1 where nothing listens.
uint16_t closedPort() {
  LoopbackServer server([](ServerConnection&) {});
  return server.Port();
}

Bytes allByteValues() {
  Bytes all(256);
  for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<uint8_t>(i);
  return all;
}

Bytes text(const std::string& chars) { return Bytes(chars.begin(), chars.end()); }

struct Opened {
  int32_t result;
  std::chrono::milliseconds took;
};

// Opens port on url as the component does, timed.
Opened openTimed(TSioNetDispatcher& port, const std::shared_ptr<TestGuiLoop>& gui,
                 const std::string& url) {
  const auto began = Clock::now();
  const int32_t result = OpenLikeComponent(port, gui, 1, url);
  return {result, std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - began)};
}

// Most an open may take past its bound: the time to give up and clean up.
constexpr std::chrono::milliseconds kBoundSlack{1500};

class NetPort : public ::testing::Test {
 protected:
  std::shared_ptr<TestGuiLoop> gui = std::make_shared<TestGuiLoop>();
  ReceivedBytes received{*gui};
  TSioNetDispatcher port{nullptr};
};

TEST_F(NetPort, ServersThatCannotBeReachedAreNoSuchPort) {
  for (const std::string& url : {"tcp://127.0.0.1:" + std::to_string(closedPort()),
                                 "rfc2217://127.0.0.1:" + std::to_string(closedPort()),
                                 std::string("tcp://no-such-host.invalid:4001"),
                                 std::string("rfc2217://[::1]:") + std::to_string(closedPort())}) {
    TSioNetDispatcher unreachable(nullptr);
    const Opened opened = openTimed(unreachable, gui, url);
    EXPECT_EQ(opened.result, -2) << url;
    EXPECT_LT(opened.took, TSioNetDispatcher::kConnectBound + kBoundSlack) << url;
    EXPECT_FALSE(unreachable.Started()) << url;
    EXPECT_LT(unreachable.DeviceHandle(), 0) << url;
  }
}

TEST_F(NetPort, AConnectionNeverAnsweredGivesUpAtTheBoundAsNoSuchPort) {
  const UnansweredListener dark;
  ASSERT_TRUE(dark.Full()) << "the listener's queue never filled";
  const Opened opened = openTimed(port, gui, dark.Url("tcp"));
  EXPECT_EQ(opened.result, -2);
  // poll() counts whole milliseconds: the bound, give or take one.
  EXPECT_GE(opened.took, TSioNetDispatcher::kConnectBound - std::chrono::milliseconds(2));
  EXPECT_LT(opened.took, TSioNetDispatcher::kConnectBound + kBoundSlack);
  EXPECT_FALSE(port.Started());
}

TEST_F(NetPort, ServersAreReachedByIpv4AndIpv6AddressesAndByHostName) {
  struct Case {
    LoopbackServer::Family family;
    std::string scheme;
    bool byName;
  } const cases[] = {
      {LoopbackServer::Family::Ipv4, "tcp", false},
      {LoopbackServer::Family::Ipv6, "tcp", false},
      {LoopbackServer::Family::Ipv6, "rfc2217", false},
      {LoopbackServer::Family::Ipv4, "rfc2217", true},
  };
  const Bytes hello = text("AZ=042");
  for (const Case& c : cases) {
    const bool telnet = c.scheme == "rfc2217";
    LoopbackServer server(
        [&](ServerConnection& connection) {
          if (telnet) connection.AgreeComPort();
          connection.Send(hello);
          connection.ReadToEnd();
        },
        c.family);
    const std::string url = c.byName ? c.scheme + "://localhost:" + std::to_string(server.Port())
                                     : server.Url(c.scheme);
    auto loop = std::make_shared<TestGuiLoop>();
    ReceivedBytes got(*loop);
    TSioNetDispatcher reached(nullptr);
    ASSERT_EQ(OpenLikeComponent(reached, loop, 1, url), 0) << url;
    EXPECT_TRUE(got.WaitFor(hello.size())) << url;
    EXPECT_EQ(got.Bytes(), hello) << url;
    EXPECT_EQ(reached.Protocol(), telnet ? NetProtocol::Rfc2217 : NetProtocol::RawTcp) << url;
    ASSERT_EQ(reached.WriteBlock(text("C2\r").data(), 3), 0) << url;
    EXPECT_TRUE(server.Received().WaitForSequence(text("C2\r"))) << url;
    reached.FinishDevice();
  }
}

TEST_F(NetPort, ARawServerThatNeverAnswersIsAnOpenLineWithNothingOnIt) {
  LoopbackServer silent([](ServerConnection& c) { c.Stall(); });
  const Opened opened = openTimed(port, gui, silent.Url("tcp"));
  ASSERT_EQ(opened.result, 0);
  EXPECT_LT(opened.took, TSioNetDispatcher::kConnectBound) << "nothing to wait for";
  EXPECT_EQ(port.WriteBlock(text("C2\r").data(), 3), 0);
  port.FinishDevice();
  EXPECT_FALSE(port.Started());
  EXPECT_EQ(received.Count(), 0u);
}

TEST_F(NetPort, AServerThatHangsUpAtOnceIsInUse) {
  // ser2net turns a second user away like this: a line of text, then the end.
  LoopbackServer busy([](ServerConnection& c) { c.Send(text("Port already in use\r\n")); });
  for (const char* scheme : {"tcp", "rfc2217"}) {
    TSioNetDispatcher second(nullptr);
    EXPECT_EQ(OpenLikeComponent(second, gui, 1, busy.Url(scheme)), -5) << scheme;
    EXPECT_EQ(second.RunningThreads(), 0) << scheme;
  }
  EXPECT_EQ(busy.Accepted(), 2);
}

TEST_F(NetPort, AnRfc2217ServerThatNeverAnswersTimesOutAsNoSuchPort) {
  LoopbackServer silent([](ServerConnection& c) { c.Stall(); });
  const Opened opened = openTimed(port, gui, silent.Url("rfc2217"));
  EXPECT_EQ(opened.result, -2);
  // poll() counts whole milliseconds: the bound, give or take one.
  EXPECT_GE(opened.took, TSioNetDispatcher::kConnectBound - std::chrono::milliseconds(2));
  EXPECT_LT(opened.took, TSioNetDispatcher::kConnectBound + kBoundSlack);
  EXPECT_EQ(SioLastError(), 2);
}

TEST_F(NetPort, RawTcpPassesEveryByteUnchangedAndKeepsTheLineSettings) {
  const Bytes all = allByteValues();
  LoopbackServer server([&](ServerConnection& c) {
    c.Send(all);
    c.ReadToEnd();
  });
  ASSERT_EQ(OpenLikeComponent(port, gui, 1, server.Url("tcp")), 0);
  EXPECT_EQ(port.Protocol(), NetProtocol::RawTcp);
  ASSERT_TRUE(received.WaitFor(all.size()));
  EXPECT_EQ(received.Bytes(), all);
  ASSERT_EQ(port.WriteBlock(all.data(), static_cast<uint32_t>(all.size())), 0);
  ASSERT_TRUE(server.Received().WaitForSequence(all));
  EXPECT_EQ(server.Received().Bytes(), all) << "nothing but the line's bytes";

  EXPECT_EQ(port.ConfigureLine(19200, kEvenParity, 7, 2), 0);
  Dcb line;
  ASSERT_EQ(port.FetchLineSettings(line), 0);
  EXPECT_EQ(line.BaudRate, 19200u);
  EXPECT_EQ(line.Parity, kEvenParity);
  EXPECT_EQ(line.ByteSize, 7);
  EXPECT_EQ(line.StopBits, kTwoStopBits);
  EXPECT_EQ(port.ConfigureLine(9600, kNoParity, 4, 1), -EINVAL) << "no serial line has 4 bits";
  EXPECT_EQ(port.ModemStatus() & 0xF0, 0) << "a raw server has no modem lines to report";
}

// Switches the loopback interface of the calling thread's network namespace on or off;
// whether that worked.
bool setLoopback(bool up) {
  const int control = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  ifreq request{};
  std::strcpy(request.ifr_name, "lo");
  bool done = control >= 0 && ioctl(control, SIOCGIFFLAGS, &request) == 0;
  if (done) {
    request.ifr_flags =
        static_cast<short>(up ? request.ifr_flags | IFF_UP : request.ifr_flags & ~IFF_UP);
    done = ioctl(control, SIOCSIFFLAGS, &request) == 0;
  }
  if (control >= 0) close(control);
  return done;
}

TEST_F(NetPort, ALinkThatDiesEndsThePortThreadsIdleOrNot) {
  // In a network namespace of its own, whose loopback the test can pull like a cable: the
  // thread that makes it, and the threads that thread starts, are the only ones in it.
  std::string skipped;
  std::thread([&] {
    if (unshare(CLONE_NEWNET) != 0) {
      skipped = std::string("no network namespace of its own: ") + std::strerror(errno);
      return;
    }
    ASSERT_TRUE(setLoopback(true));
    // One server each: a server serves one connection at a time.
    const auto serve = [](ServerConnection& c) {
      c.AgreeComPort();
      c.ReadToEnd();
    };
    LoopbackServer rawServer(serve);
    LoopbackServer telnetServer(serve);
    TSioNetDispatcher idle(nullptr);
    TSioNetDispatcher polling(nullptr);
    ASSERT_EQ(OpenLikeComponent(idle, gui, 1, rawServer.Url("tcp")), 0);
    ASSERT_EQ(OpenLikeComponent(polling, gui, 1, telnetServer.Url("rfc2217")), 0);
    ASSERT_TRUE(setLoopback(false));
    const auto pulled = Clock::now();
    ASSERT_EQ(polling.WriteBlock(text("C2\r").data(), 3), 0);
    std::optional<Clock::duration> idleEnded;
    std::optional<Clock::duration> pollingEnded;
    while ((!idleEnded || !pollingEnded) && Clock::now() - pulled < std::chrono::seconds(40)) {
      if (!idleEnded && !idle.Started()) idleEnded = Clock::now() - pulled;
      if (!pollingEnded && !polling.Started()) pollingEnded = Clock::now() - pulled;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(idleEnded && pollingEnded) << "a dead link went unnoticed for 40 s";
    // Unacknowledged data gives up after the limit; an idle link after the keep-alive probes.
    EXPECT_LT(*pollingEnded, kUnacknowledgedLimit + std::chrono::seconds(3));
    EXPECT_LT(*idleEnded,
              kKeepAliveIdle + kKeepAliveProbes * kKeepAliveInterval + kUnacknowledgedLimit);
    EXPECT_EQ(idle.LineErrorWord(), -1);
    EXPECT_EQ(polling.LineErrorWord(), -1);
    EXPECT_TRUE(idle.DeviceLost() && polling.DeviceLost()) << "told as a lost port";
  }).join();
  if (!skipped.empty()) GTEST_SKIP() << skipped;
}

class Rfc2217Port : public NetPort {
 protected:
  // A server that agrees, then plays script, then reads what comes.
  void start(std::function<void(ServerConnection&)> script = {}) {
    server = std::make_unique<LoopbackServer>([script](ServerConnection& c) {
      c.AgreeComPort();
      if (script) script(c);
      c.ReadToEnd();
    });
    ASSERT_EQ(OpenLikeComponent(port, gui, 1, server->Url("rfc2217")), 0);
    ASSERT_EQ(port.Protocol(), NetProtocol::Rfc2217);
  }

  bool serverGot(const Bytes& sequence) { return server->Received().WaitForSequence(sequence); }

  std::unique_ptr<LoopbackServer> server;
};

TEST_F(Rfc2217Port, OpeningOffersTheOptionAndSendsTheWholeLine) {
  start();
  EXPECT_TRUE(serverGot({kIac, kWill, kComPort}));
  EXPECT_TRUE(serverGot(ComPortMessage(comport::kSetModemStateMask, {0xFF})));
  for (const Bytes& command :
       {ComPortMessage(1, {0x00, 0x00, 0x25, 0x80}), ComPortMessage(2, {8}),
        ComPortMessage(3, {comport::kParityNone}), ComPortMessage(4, {comport::kStopOne}),
        ComPortMessage(5, {comport::kFlowNone}), ComPortMessage(5, {comport::kDtrOn}),
        ComPortMessage(5, {comport::kRtsOn})}) {
    EXPECT_TRUE(serverGot(command));
  }
  EXPECT_EQ(port.ConfigureLine(57600, kOddParity, 7, 1), 0);
  EXPECT_TRUE(serverGot(ComPortMessage(1, {0x00, 0x00, 0xE1, 0x00})));
  EXPECT_TRUE(serverGot(ComPortMessage(3, {comport::kParityOdd})));
  EXPECT_EQ(port.SetDtrLine(false), 0);
  EXPECT_TRUE(serverGot(ComPortMessage(5, {comport::kDtrOff})));
}

TEST_F(Rfc2217Port, IacIsEscapedBothWays) {
  const Bytes all = allByteValues();
  start([&](ServerConnection& c) {
    Bytes escaped = all;
    escaped.push_back(kIac);
    c.Send(escaped);
  });
  ASSERT_TRUE(received.WaitFor(all.size()));
  EXPECT_EQ(received.Bytes(), all);
  ASSERT_EQ(port.WriteBlock(all.data(), static_cast<uint32_t>(all.size())), 0);
  Bytes escaped(all.begin(), all.end() - 1);
  escaped.insert(escaped.end(), {kIac, kIac});
  EXPECT_TRUE(serverGot(escaped));
}

TEST_F(Rfc2217Port, TheServersModemAndLineStateReachTheDispatcherAsADevicesWould) {
  start([](ServerConnection& c) {
    c.Send(ComPortMessage(107, {kModemCarrier | kModemDsr | kModemCts | 0x0B}));
    c.Send(ComPortMessage(106, {0x60 | kLineErrorParity}));
  });
  EXPECT_TRUE(WaitUntil([&] { return (port.ModemStatus() & 0xF0) == 0xB0; }));
  EXPECT_TRUE(WaitUntil([&] { return (port.LineErrorWord() & kLineErrorParity) != 0; }));
  EXPECT_EQ(port.TakeLineError(), 3) << "parity";
}

TEST_F(Rfc2217Port, AServerThatEndsTheSessionEndsThePortThreadsAsAnUnpluggedDevice) {
  start([](ServerConnection& c) {
    c.Send({kIac, kSb, kComPort, 101, 0});  // broken off by the end
  });
  server.reset();
  EXPECT_TRUE(WaitUntil([&] { return !port.Started(); }));
  EXPECT_EQ(port.LineErrorWord(), -1) << "the read error of a device that went";
  EXPECT_TRUE(port.DeviceLost());
}

TEST_F(Rfc2217Port, AServerStallingMidMessageHoldsNothingUp) {
  start([](ServerConnection& c) {
    c.Send(text("AZ=12"));
    c.Send({kIac, kSb, kComPort, 101, 0, 0});
    c.Stall();
  });
  ASSERT_TRUE(received.WaitFor(5));
  // The server reads nothing more either: the query waits on its way.
  EXPECT_EQ(port.WriteBlock(text("C2\r").data(), 3), 0);
  // Closing does not wait for the rest of the message, nor for the server.
  port.FinishDevice();
  EXPECT_FALSE(port.Started());
  EXPECT_EQ(received.Bytes(), text("AZ=12"));
}

TEST_F(Rfc2217Port, GarbageFromTheServerNeverStopsTheLine) {
  std::mt19937 random(2217);
  Bytes garbage(64 * 1024);
  // Mostly telnet commands and sub-negotiation starts, to reach every state.
  const uint8_t common[] = {kIac, kIac, kIac, kSb, kSe, kWill, kDo, kComPort, 101, 107, 0};
  for (uint8_t& byte : garbage) {
    byte = random() % 2 ? common[random() % sizeof common] : static_cast<uint8_t>(random());
  }
  // Enough plain bytes to end any sub-negotiation, then a mark.
  Bytes tail(TelnetSession::kMaxSubnegotiation + 2, 'x');
  const Bytes mark = text("MARK");
  tail.insert(tail.end(), mark.begin(), mark.end());
  start([&](ServerConnection& c) {
    c.Send(garbage);
    c.Send(tail);
  });
  EXPECT_TRUE(WaitUntil([&] {
    const Bytes got = received.Bytes();
    return got.size() >= mark.size() && Bytes(got.end() - 4, got.end()) == mark;
  }));
  EXPECT_TRUE(port.Started());
  EXPECT_EQ(port.WriteBlock(mark.data(), 4), 0);
  EXPECT_TRUE(serverGot(mark));
}

}  // namespace
