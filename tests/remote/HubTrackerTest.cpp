// Trackers as they talk to rotctld, replayed: Gpredict's rotator controller and SDRangel's
// rule for the positions it reads.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>

#include "tests/app/SimulatorLog.h"
#include "tests/remote/HubPanel.h"
#include "tests/remote/TcpClient.h"

namespace {

using Trackers = HubPanelTest;

struct Target {
  double Az;
  double El;
};

struct TrackerLog {
  std::vector<int> SetPosErrors;
  std::vector<std::vector<std::string>> Positions;
  int StopError = -1;
  bool ClosedAfterQuit = false;
};

// Gpredict's loop: no handshake; for each target "P %.2f %.2f\n" and one read, whose error is
// strtod of what follows "RPRT"; then "p\n" and one read holding both values on two lines; on
// disengage "S\n", one read, and "q\n".
TrackerLog gpredict(uint16_t port, const std::vector<Target>& targets) {
  TrackerLog log;
  TcpClient client(port, Deadline(kPatience));
  for (const Target& target : targets) {
    char command[64];
    std::snprintf(command, sizeof command, "P %.2f %.2f\n", target.Az, target.El);
    client.Send(command);
    const std::string reply = client.ReadOnce(Deadline(kPatience)).value_or("");
    log.SetPosErrors.push_back(reply.rfind("RPRT", 0) == 0
                                   ? static_cast<int>(std::strtod(reply.c_str() + 4, nullptr))
                                   : 999);
    client.Send("p\n");
    const std::string position = client.ReadOnce(Deadline(kPatience)).value_or("");
    std::vector<std::string> fields;
    for (size_t start = 0, end; (end = position.find('\n', start)) != std::string::npos;
         start = end + 1) {
      fields.push_back(position.substr(start, end - start));
    }
    log.Positions.push_back(fields);
  }
  client.Send("S\n");
  const std::string stopped = client.ReadOnce(Deadline(kPatience)).value_or("");
  log.StopError =
      static_cast<int>(std::strtod(stopped.c_str() + std::min<size_t>(4, stopped.size()), nullptr));
  client.Send("q\n");
  log.ClosedAfterQuit = client.ClosedByServer(Deadline(kPatience));
  return log;
}

TEST_F(Trackers, GpredictsOneReadPerRequestGetsWholeRepliesThatSdrangelAccepts) {
  Start({"--speed", "120"});
  const std::vector<Target> pass = {{180.5, 10.25}, {181.75, 12}, {183, 14.5}};
  const TrackerLog log = OnClientThread([&] { return gpredict(port, pass); });

  EXPECT_EQ(log.SetPosErrors, (std::vector<int>{0, 0, 0}));
  // SDRangel's rule for get_pos values.
  const std::regex sdrangel("-?\\d+.\\d+");
  ASSERT_EQ(log.Positions.size(), pass.size());
  for (const std::vector<std::string>& fields : log.Positions) {
    ASSERT_EQ(fields.size(), 2u) << "both values in the one read";
    for (const std::string& field : fields) EXPECT_TRUE(std::regex_match(field, sdrangel)) << field;
  }
  EXPECT_EQ(log.StopError, 0);
  EXPECT_TRUE(log.ClosedAfterQuit);
  EXPECT_EQ(WaitForCommands(4),
            (std::vector<std::string>{HexBytes("W180 010\r"), HexBytes("W181 012\r"),
                                      HexBytes("W183 014\r"), HexBytes("S\r")}));
}

TEST_F(Trackers, ATrackerSendingATargetEverySecondLeavesThePollsRunning) {
  Start({"--speed", "120"});
  const size_t pollsBefore = Polls();
  // Targets as fast as the pause lets them through: without the poll that follows each
  // command, every command would restart the poll timer and no poll would go out, and the
  // controller's CRs acknowledging the commands would pile up before the next report.
  std::vector<Target> pass;
  for (int i = 0; i < 10; ++i) pass.push_back({200.0 + i, 20.0});
  const TrackerLog log = OnClientThread([&] { return gpredict(port, pass); });
  EXPECT_EQ(log.SetPosErrors, std::vector<int>(pass.size(), 0));
  EXPECT_GE(Polls(), pollsBefore + pass.size()) << "a poll after every command";
  for (const std::vector<std::string>& fields : log.Positions) {
    EXPECT_EQ(fields.size(), 2u) << "the positions stayed current";
  }
}

}  // namespace
