#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/gs232sim/CommandInterpreter.h"

namespace {

using std::chrono::seconds;

const MotionModel::Clock::time_point kStart{};
constexpr double kSpeed = 10.0;
const std::string kAck = "\r";
const std::string kReject = "?>\r";

std::string three(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%03d", value);
  return text;
}

// A controller standing at 123 / 45 with the standard replies.
struct Controller {
  explicit Controller(ReplyProfile profile = ReplyProfile(), int az = 123, int el = 45)
      : motion(az, el, kSpeed, kStart), interpreter(motion, profile) {}

  std::vector<Exchange> Feed(std::string_view bytes, seconds at = seconds(0)) {
    return interpreter.Feed(bytes, kStart + at);
  }
  // The reply to one whole command.
  std::string Reply(std::string_view bytes, seconds at = seconds(0)) {
    const auto exchanges = Feed(bytes, at);
    EXPECT_EQ(exchanges.size(), 1u) << bytes;
    return exchanges.empty() ? std::string() : exchanges.front().reply;
  }
  int Az() const { return motion.ReportedPosition(Axis::Azimuth); }
  int El() const { return motion.ReportedPosition(Axis::Elevation); }

  MotionModel motion;
  CommandInterpreter interpreter;
};

struct ReplyRow {
  std::string command;
  std::string reply;
};

TEST(CommandInterpreter, AnswersEveryCommandLikeTheController) {
  const std::string azReport = "AZ=123\r\n";
  const std::string bothReport = "AZ=123  EL=045\r\n";
  const std::string elReport = "EL=045\r\n";
  const std::vector<ReplyRow> rows = {
      {"C\r", azReport},       {"c\r", azReport},
      {"C2\r", bothReport},    {"c2\r", bothReport},
      {"B\r", elReport},       {"b\r", elReport},
      {"M100\r", kAck},        {"m100\r", kAck},
      {"MB090\r", kAck},       {"mb090\r", kAck},
      {"Mb090\r", kAck},       {"W100 020\r", kAck},
      {"w100 020\r", kAck},    {"S\r", kAck},
      {"s\r", kAck},           {"A\r", kAck},
      {"E\r", kAck},           {"L\r", kAck},
      {"R\r", kAck},           {"U\r", kAck},
      {"D\r", kAck},           {"l\r", kAck},
      {"X1\r", kAck},          {"x4\r", kAck},
      {"\r", kReject},         {"X0\r", kReject},
      {"X5\r", kReject},       {"X\r", kReject},
      {"M10\r", kReject},      {"M1000\r", kReject},
      {"M 100\r", kReject},    {"M\r", kReject},
      {"MB\r", kReject},       {"MB90\r", kReject},
      {"W100020\r", kReject},  {"W100 20\r", kReject},
      {"W1a0 020\r", kReject}, {"W100 020 \r", kReject},
      {"C3\r", kReject},       {"CC\r", kReject},
      {"SS\r", kReject},       {" C\r", kReject},
      {"Z\r", kReject},        {std::string("C\0\r", 3), kReject},
  };
  for (const ReplyRow& row : rows) {
    Controller controller;
    const auto exchanges = controller.Feed(row.command);
    ASSERT_EQ(exchanges.size(), 1u) << row.command;
    EXPECT_EQ(exchanges[0].reply, row.reply) << row.command;
    EXPECT_EQ(exchanges[0].command, row.command);
  }
}

TEST(CommandInterpreter, LineFeedsAreIgnoredAndLeftOutOfTheCommand) {
  for (const std::string bytes : {"\nC2\r", "C2\n\r", "C\n2\r", "\n\nC2\r\n"}) {
    Controller controller;
    const auto exchanges = controller.Feed(bytes);
    ASSERT_EQ(exchanges.size(), 1u) << bytes;
    EXPECT_EQ(exchanges[0].command, "C2\r");
    EXPECT_EQ(exchanges[0].reply, "AZ=123  EL=045\r\n");
  }
  Controller controller;
  EXPECT_TRUE(controller.Feed("\n\n").empty());
}

TEST(CommandInterpreter, CommandsMayArriveInPiecesAndSeveralAtOnce) {
  Controller controller;
  EXPECT_TRUE(controller.Feed("C").empty());
  const auto first = controller.Feed("2\rB\r\rM2");
  ASSERT_EQ(first.size(), 3u);
  EXPECT_EQ(first[0].command, "C2\r");
  EXPECT_EQ(first[1].command, "B\r");
  EXPECT_EQ(first[1].reply, "EL=045\r\n");
  EXPECT_EQ(first[2].command, "\r");
  EXPECT_EQ(first[2].reply, kReject);
  const auto second = controller.Feed("00\r");
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].command, "M200\r");
  EXPECT_EQ(second[0].reply, kAck);
}

TEST(CommandInterpreter, OverlongLinesAreCutAndRejected) {
  Controller controller;
  const std::string line(CommandInterpreter::kMaxCommandLength + 100, 'M');
  const auto exchanges = controller.Feed(line + "\rC\r");
  ASSERT_EQ(exchanges.size(), 2u);
  EXPECT_EQ(exchanges[0].command.size(), CommandInterpreter::kMaxCommandLength);
  EXPECT_EQ(exchanges[0].command.back(), '\r');
  EXPECT_EQ(exchanges[0].reply, kReject);
  EXPECT_EQ(exchanges[1].reply, "AZ=123\r\n");
}

// Each row: start 100 / 40 at rest, commands at t = 0, the report at t.
struct MotionRow {
  std::string commands;
  seconds at;
  int az;
  int el;
};

TEST(CommandInterpreter, MotionCommandsMoveTheAxesWithTime) {
  const int az0 = 100;
  const int el0 = 40;
  const int step = static_cast<int>(kSpeed);
  const std::vector<MotionRow> rows = {
      {"M200\r", seconds(3), az0 + 3 * step, el0},
      {"M200\r", seconds(60), 200, el0},
      {"M050\r", seconds(2), az0 - 2 * step, el0},
      {"M999\r", seconds(100), 450, el0},
      {"MB060\r", seconds(1), az0, el0 + step},
      {"MB999\r", seconds(100), az0, 180},
      {"W300 010\r", seconds(2), az0 + 2 * step, el0 - 2 * step},
      {"W300 010\r", seconds(100), 300, 10},
      {"R\r", seconds(2), az0 + 2 * step, el0},
      {"R\r", seconds(100), 450, el0},
      {"L\r", seconds(2), az0 - 2 * step, el0},
      {"L\r", seconds(100), 0, el0},
      {"U\r", seconds(2), az0, el0 + 2 * step},
      {"U\r", seconds(100), az0, 180},
      {"D\r", seconds(2), az0, el0 - 2 * step},
      {"D\r", seconds(100), az0, 0},
      {"X2\rR\r", seconds(4), az0 + 4 * step / 2, el0},
      {"X1\rU\r", seconds(4), az0, el0 + 4 * step / 4},
      {"X1\rX4\rR\r", seconds(1), az0 + step, el0},
      {"X9\rR\r", seconds(1), az0 + step, el0},
      {"M10\rR\r", seconds(1), az0 + step, el0},
  };
  for (const MotionRow& row : rows) {
    Controller controller(ReplyProfile(), az0, el0);
    controller.Feed(row.commands);
    EXPECT_EQ(controller.Reply("C2\r", row.at),
              "AZ=" + three(row.az) + "  EL=" + three(row.el) + "\r\n")
        << row.commands;
  }
}

TEST(CommandInterpreter, StopCommandsHoldTheirAxesWhereTheyAre) {
  const struct {
    std::string stop;
    bool azimuthHeld;
    bool elevationHeld;
  } rows[] = {
      {"S\r", true, true}, {"A\r", true, false}, {"E\r", false, true}, {"a\r", true, false}};
  for (const auto& row : rows) {
    Controller controller(ReplyProfile(), 0, 0);
    controller.Feed("W400 170\r");
    controller.Feed(row.stop, seconds(2));
    controller.Feed("C\r", seconds(10));
    const int moved = static_cast<int>(2 * kSpeed);
    const int free = static_cast<int>(10 * kSpeed);
    EXPECT_EQ(controller.Az(), row.azimuthHeld ? moved : free) << row.stop;
    EXPECT_EQ(controller.El(), row.elevationHeld ? moved : free) << row.stop;
  }
}

TEST(CommandInterpreter, SpeedChangeAppliesFromItsOwnTime) {
  Controller controller(ReplyProfile(), 0, 0);
  controller.Feed("M400\r");
  controller.Feed("X2\r", seconds(2));
  EXPECT_EQ(controller.Reply("C\r", seconds(4)),
            "AZ=" + three(static_cast<int>(2 * kSpeed + 2 * kSpeed / 2)) + "\r\n");
}

TEST(CommandInterpreter, RejectedCommandsChangeNothing) {
  Controller controller(ReplyProfile(), 100, 40);
  for (const std::string bad : {"M1000\r", "W100 20\r", "MB9\r", "X7\r", "\r"}) {
    controller.Feed(bad);
  }
  EXPECT_EQ(controller.Reply("C2\r", seconds(100)), "AZ=100  EL=040\r\n");
}

struct ProfileRow {
  ReplyKind kind;
  std::string c;
  std::string c2;
  std::string b;
};

TEST(CommandInterpreter, ReportsFollowTheProfile) {
  const std::vector<ProfileRow> rows = {
      {ReplyKind::Standard, "AZ=330\r\n", "AZ=330  EL=007\r\n", "EL=007\r\n"},
      {ReplyKind::NoBlanks, "AZ=330\r\n", "AZ=330EL=007\r\n", "EL=007\r\n"},
      {ReplyKind::FourDigit, "AZ=0330\r\n", "AZ=0330EL=007\r\n", "EL=007\r\n"},
      {ReplyKind::CrOnly, "AZ=330\r", "AZ=330  EL=007\r", "EL=007\r"},
      {ReplyKind::Prompt, "?>AZ=330\r\n", "?>AZ=330  EL=007\r\n", "?>EL=007\r\n"},
      {ReplyKind::AzOnly, "AZ=330\r\n", "AZ=330\r\n", "EL=007\r\n"},
  };
  for (const ProfileRow& row : rows) {
    Controller controller(ReplyProfile(row.kind), 330, 7);
    const int kind = static_cast<int>(row.kind);
    EXPECT_EQ(controller.Reply("C\r"), row.c) << kind;
    EXPECT_EQ(controller.Reply("C2\r"), row.c2) << kind;
    EXPECT_EQ(controller.Reply("B\r"), row.b) << kind;
    EXPECT_EQ(controller.Reply("M100\r"), kAck) << kind;
    EXPECT_EQ(controller.Reply("\r"), kReject) << kind;
  }
}

TEST(ReplyProfile, EveryNameSelectsItsOwnProfile) {
  const auto names = ReplyProfile::Names();
  ASSERT_EQ(names.size(), 6u);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const auto profile = ReplyProfile::FromName(names[i]);
    ASSERT_TRUE(profile.has_value()) << names[i];
    EXPECT_EQ(static_cast<std::size_t>(profile->Kind()), i) << names[i];
  }
  EXPECT_EQ(ReplyProfile::FromName("standard")->Kind(), ReplyKind::Standard);
  EXPECT_FALSE(ReplyProfile::FromName("Standard").has_value());
  EXPECT_FALSE(ReplyProfile::FromName("").has_value());
}

TEST(ReplyProfile, EndStopPositionsKeepTheirWidth) {
  EXPECT_EQ(ReplyProfile().BothReport(450, 180), "AZ=450  EL=180\r\n");
  EXPECT_EQ(ReplyProfile().BothReport(0, 0), "AZ=000  EL=000\r\n");
  EXPECT_EQ(ReplyProfile(ReplyKind::FourDigit).AzimuthReport(450), "AZ=0450\r\n");
}

}  // namespace
