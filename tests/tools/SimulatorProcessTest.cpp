#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/HexBytes.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/RawPort.h"
#include "tests/tools/SimulatorProcess.h"
#include "tests/tools/TestPatience.h"
#include "tests/tools/TextLines.h"

namespace {

// The standard report to C2, derived from the positions.
std::string bothReport(int az, int el) {
  char text[32];
  std::snprintf(text, sizeof text, "AZ=%03d  EL=%03d\r\n", az, el);
  return text;
}

std::string azimuthReport(int az) {
  char text[16];
  std::snprintf(text, sizeof text, "AZ=%03d\r\n", az);
  return text;
}

// Sends command and reads a reply of the expected length.
std::string ask(RawPort& port, std::string_view command, std::size_t replyLength) {
  port.Write(command);
  return port.Read(replyLength, Deadline(kPatience));
}

// Polls C until the azimuth report reads az.
bool waitForAzimuth(RawPort& port, int az) {
  const std::string wanted = azimuthReport(az);
  const Deadline deadline(kPatience);
  while (!deadline.Passed()) {
    if (ask(port, "C\r", wanted.size()) == wanted) return true;
  }
  return false;
}

bool endedNormally(const std::optional<int>& status) {
  return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

TEST(SimulatorProcess, AnswersOverItsTerminalWithTheExactBytes) {
  SimulatorProcess simulator({"--az", "123", "--el", "45"});
  EXPECT_TRUE(simulator.ClientPath().starts_with("/dev/"));
  RawPort port(simulator.ClientPath());
  const std::string report = bothReport(123, 45);
  ASSERT_EQ(report.size(), 16u);
  EXPECT_EQ(ask(port, "C2\r", report.size()), report);
  EXPECT_EQ(ask(port, "M100\r", 1), "\r");
  EXPECT_EQ(ask(port, "\r", 3), "?>\r");
  EXPECT_EQ(ask(port, "B\r", 8), "EL=045\r\n");
}

TEST(SimulatorProcess, TurnsToAGoalWithElapsedTime) {
  SimulatorProcess simulator({"--speed", "400"});
  RawPort port(simulator.ClientPath());
  EXPECT_EQ(ask(port, "W300 090\r", 1), "\r");
  const std::string wanted = bothReport(300, 90);
  std::vector<int> azimuths;
  const Deadline deadline(kPatience);
  std::string report;
  while (report != wanted && !deadline.Passed()) {
    report = ask(port, "C2\r", wanted.size());
    azimuths.push_back(std::stoi(report.substr(3, 3)));
  }
  EXPECT_EQ(report, wanted);
  EXPECT_TRUE(std::is_sorted(azimuths.begin(), azimuths.end()));
}

TEST(SimulatorProcess, StopSignalsEndItAndRemoveItsLink) {
  for (const int signal : {SIGTERM, SIGINT}) {
    TemporaryDirectory directory;
    const std::string link = directory.Path("COM1");
    SimulatorProcess simulator({"--link", link, "--az", "7"});
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), simulator.ClientPath());
    {
      RawPort port(link);
      EXPECT_EQ(ask(port, "C\r", 8), azimuthReport(7));
    }
    EXPECT_TRUE(endedNormally(simulator.Stop(signal))) << signal;
    EXPECT_FALSE(std::filesystem::is_symlink(link)) << signal;
  }
}

TEST(SimulatorProcess, ReplacesAnExistingLinkButNoOtherFile) {
  TemporaryDirectory directory;
  const std::string link = directory.Path("COM1");
  std::filesystem::create_symlink("/dev/null", link);
  {
    SimulatorProcess simulator({"--link", link});
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), simulator.ClientPath());
  }

  const std::string file = directory.Path("COM2");
  std::ofstream(file) << "keep me\n";
  ChildProcess refused(GS232SIM_PATH, {"--link", file});
  const auto status = refused.Wait(Deadline(kPatience));
  ASSERT_TRUE(status.has_value());
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 1);
  EXPECT_EQ(ReadLines(file), std::vector<std::string>{"keep me"});
}

TEST(SimulatorProcess, NextClientIsServedAndFindsThePositionKept) {
  SimulatorProcess simulator({"--speed", "500"});
  {
    RawPort first(simulator.ClientPath());
    EXPECT_EQ(ask(first, "M100\r", 1), "\r");
    ASSERT_TRUE(waitForAzimuth(first, 100));
  }
  RawPort second(simulator.ClientPath());
  EXPECT_EQ(ask(second, "C\r", 8), azimuthReport(100));
}

TEST(SimulatorProcess, RepliesADepartedClientDidNotReadAreDropped) {
  TemporaryDirectory directory;
  const std::string log = directory.Path("commands.log");
  SimulatorProcess simulator({"--log", log, "--az", "42"});
  {
    RawPort first(simulator.ClientPath());
    first.Write("C2\r");
    ASSERT_EQ(WaitForLines(log, 1).size(), 1u);
  }
  RawPort second(simulator.ClientPath());
  second.Write("S\r");
  // Once S is logged, the simulator has seen the first client go and this
  // one come, and the old reply is gone.
  ASSERT_EQ(WaitForLines(log, 2).size(), 2u);
  EXPECT_EQ(second.Read(1, Deadline(kPatience)), "\r");
  EXPECT_EQ(ask(second, "C2\r", 16), bothReport(42, 0));
}

TEST(SimulatorProcess, ExclusiveModeEndsWithTheClientThatSetIt) {
  TemporaryDirectory directory;
  const std::string log = directory.Path("commands.log");
  SimulatorProcess simulator({"--log", log});
  {
    RawPort first(simulator.ClientPath());
    first.MakeExclusive();
    ASSERT_TRUE(first.Exclusive());
  }
  // Root may open an exclusive terminal, so the test can look from inside.
  RawPort second(simulator.ClientPath());
  EXPECT_EQ(ask(second, "S\r", 1), "\r");
  EXPECT_FALSE(second.Exclusive());
}

TEST(SimulatorProcess, LogsEveryCommandAsReceived) {
  TemporaryDirectory directory;
  const std::string log = directory.Path("commands.log");
  SimulatorProcess simulator({"--log", log});
  RawPort port(simulator.ClientPath());
  struct Sent {
    std::string bytes;
    std::string command;
    std::size_t replyLength;
  };
  const std::vector<Sent> sent = {
      {"c2\r", "c2\r", 16},      {"\r", "\r", 3},
      {"M1\n00\r", "M100\r", 1}, {"\nW100 020\r", "W100 020\r", 1},
      {"x3\r\n", "x3\r", 1},     {"Hello\r", "Hello\r", 3},
  };
  for (const Sent& s : sent) EXPECT_EQ(ask(port, s.bytes, s.replyLength).size(), s.replyLength);

  const std::vector<std::string> lines = WaitForLines(log, sent.size());
  ASSERT_EQ(lines.size(), sent.size());
  const std::regex shape("([0-9]+)\t([0-9A-F]{2}( [0-9A-F]{2})*)");
  long previous = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(lines[i], match, shape)) << lines[i];
    EXPECT_EQ(match[2].str(), HexBytes(sent[i].command)) << lines[i];
    const long ms = std::stol(match[1].str());
    EXPECT_GE(ms, previous);
    previous = ms;
  }
}

TEST(SimulatorProcess, SplitDeliversTheSameBytesInPieces) {
  constexpr std::size_t kPiece = 4;
  SimulatorProcess simulator({"--split", std::to_string(kPiece), "--split-delay", "150"});
  RawPort port(simulator.ClientPath());
  port.Write("C2\r");
  const std::string wanted = bothReport(0, 0);
  std::string received;
  std::size_t pieces = 0;
  const Deadline deadline(kPatience);
  while (received.size() < wanted.size() && !deadline.Passed()) {
    const std::string piece = port.ReadSome(deadline);
    EXPECT_LE(piece.size(), kPiece);
    received += piece;
    pieces += piece.empty() ? 0 : 1;
  }
  EXPECT_EQ(received, wanted);
  EXPECT_EQ(pieces, wanted.size() / kPiece);
}

TEST(SimulatorProcess, LeadingCrPrecedesEveryReply) {
  SimulatorProcess simulator({"--leading-cr", "--az", "5", "--el", "6"});
  RawPort port(simulator.ClientPath());
  const std::string report = bothReport(5, 6);
  EXPECT_EQ(ask(port, "C2\r", 17), "\r" + report);
  EXPECT_EQ(ask(port, "S\r", 2), "\r\r");
}

TEST(SimulatorProcess, SilentReadsAndLogsButNeverAnswers) {
  TemporaryDirectory directory;
  const std::string log = directory.Path("commands.log");
  SimulatorProcess simulator({"--silent", "--log", log});
  RawPort port(simulator.ClientPath());
  port.Write("C2\r");
  ASSERT_EQ(WaitForLines(log, 1).size(), 1u);
  port.Write("M100\r");
  // The second command is read after the first one's reply would have been
  // written, so a reply would be on its way by now.
  ASSERT_EQ(WaitForLines(log, 2).size(), 2u);
  EXPECT_EQ(port.ReadSome(Deadline(std::chrono::milliseconds(300))), "");
}

TEST(SimulatorProcess, GarbageReplacesRepliesByAsManyRandomBytes) {
  SimulatorProcess simulator({"--garbage", "--seed", "3"});
  RawPort port(simulator.ClientPath());
  const std::string reply = ask(port, "C2\r", 16);
  EXPECT_EQ(reply.size(), 16u);
  EXPECT_NE(reply, bothReport(0, 0));
  EXPECT_EQ(ask(port, "S\r", 1).size(), 1u);
}

TEST(SimulatorProcess, FloodComesFirstForEveryClient) {
  constexpr std::size_t kFlood = 5000;
  SimulatorProcess simulator({"--flood", std::to_string(kFlood), "--az", "9"});
  for (int client = 0; client < 2; ++client) {
    RawPort port(simulator.ClientPath());
    EXPECT_EQ(port.Read(kFlood, Deadline(kPatience)).size(), kFlood) << client;
    EXPECT_EQ(ask(port, "C\r", 8), azimuthReport(9)) << client;
  }
}

TEST(SimulatorProcess, HelpAndBadOptionsEndAtOnce) {
  ChildProcess help(GS232SIM_PATH, {"--help"});
  const std::string text = help.ReadAll(Deadline(kPatience));
  EXPECT_TRUE(text.starts_with("Usage: gs232sim")) << text;
  EXPECT_TRUE(endedNormally(help.Wait(Deadline(kPatience))));

  ChildProcess bad(GS232SIM_PATH, {"--az", "999"});
  const auto status = bad.Wait(Deadline(kPatience));
  ASSERT_TRUE(status.has_value());
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 2);
}

}  // namespace
