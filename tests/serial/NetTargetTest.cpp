// Server URLs as COMn links name them, and where the port naming rule finds
// them.

#include <gtest/gtest.h>
#include <unistd.h>

#include "serial/PortPath.h"
#include "serial/net/NetTarget.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

TEST(NetTarget, RawAndRfc2217UrlsNameAHostAndAPort) {
  struct Row {
    const char* text;
    NetProtocol protocol;
    const char* host;
    uint16_t port;
  } const rows[] = {
      {"tcp://shack-pi:4001", NetProtocol::RawTcp, "shack-pi", 4001},
      {"rfc2217://192.168.1.20:2217", NetProtocol::Rfc2217, "192.168.1.20", 2217},
      {"tcp://[::1]:4001", NetProtocol::RawTcp, "::1", 4001},
      {"rfc2217://[fe80::1%eth0]:7000", NetProtocol::Rfc2217, "fe80::1%eth0", 7000},
      {"tcp://[::ffff:10.0.0.1]:1", NetProtocol::RawTcp, "::ffff:10.0.0.1", 1},
      {"tcp://mast.example.org:65535", NetProtocol::RawTcp, "mast.example.org", 65535},
      {"tcp://esp32_bridge:23", NetProtocol::RawTcp, "esp32_bridge", 23},
  };
  for (const Row& row : rows) {
    const std::optional<NetTarget> target = ParseNetTarget(row.text);
    ASSERT_TRUE(target.has_value()) << row.text;
    EXPECT_EQ(*target, (NetTarget{row.protocol, row.host, row.port})) << row.text;
  }
}

TEST(NetTarget, AnythingElseIsNoServer) {
  for (const char* text : {"",
                           "/dev/ttyUSB0",
                           "tcp://",
                           "tcp://host",
                           "tcp://host:",
                           "tcp://:4001",
                           "tcp://host:0",
                           "tcp://host:65536",
                           "tcp://host:99999999999",
                           "tcp://host:+1",
                           "tcp://host:12a",
                           "tcp://host:4001/",
                           "tcp://host:4001?x",
                           "tcp://ho st:1",
                           "tcp://user@host:1",
                           "tcp://::1:4001",
                           "tcp://[::1]4001",
                           "tcp://[]:1",
                           "tcp://[1.2.3.4]:1",
                           "tcp://[::1:1",
                           "tcp://[::1%]:1",
                           "udp://host:1",
                           "telnet://host:1",
                           "TCP://host:1",
                           "tcp:/host:1",
                           "rfc2217:host:1",
                           " tcp://host:1"}) {
    EXPECT_FALSE(ParseNetTarget(text).has_value()) << '"' << text << '"';
  }
  EXPECT_FALSE(ParseNetTarget("tcp://" + std::string(254, 'a') + ":1").has_value());
  EXPECT_FALSE(ParseNetTarget(std::string("tcp://ho\0st:1", 13)).has_value());
}

TEST(NetTarget, AComLinkToAServerUrlLeadsToTheServerAnyOtherLinkToAPath) {
  TemporaryDirectory dir;
  const CurrentDirectory inside(dir.Path());
  ASSERT_EQ(symlink("tcp://shack-pi:4001", "COM3"), 0);
  ASSERT_EQ(symlink("rfc2217://[::1]:2217", "COM4"), 0);
  ASSERT_EQ(symlink("/dev/pts/5", "COM5"), 0);
  ASSERT_EQ(symlink("tcp://shack-pi", "COM6"), 0);
  EXPECT_EQ(ServerOfPort(PortDeviceName(3)), (NetTarget{NetProtocol::RawTcp, "shack-pi", 4001}));
  EXPECT_EQ(ServerOfPort(PortDeviceName(4)), (NetTarget{NetProtocol::Rfc2217, "::1", 2217}));
  EXPECT_FALSE(ServerOfPort(PortDeviceName(5)).has_value());
  EXPECT_FALSE(ServerOfPort(PortDeviceName(7)).has_value()) << "no link at all";
  // Neither a device nor such a URL: a path as before, which does not exist.
  EXPECT_FALSE(ServerOfPort(PortDeviceName(6)).has_value());
  EXPECT_EQ(ResolvePortPath(PortDeviceName(6)), dir.Path("tcp://shack-pi"));
  // A URL as the name itself stands for its server.
  EXPECT_EQ(ServerOfPort("tcp://10.0.0.2:23"), (NetTarget{NetProtocol::RawTcp, "10.0.0.2", 23}));
}

}  // namespace
