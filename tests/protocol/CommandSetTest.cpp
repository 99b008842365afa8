#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "protocol/CommandSet.h"

namespace {

struct Built {
  std::string Bytes;
  int RejectedAxis;
  std::vector<int> AxesRead;
};

Built build(RotatorCommand command, int64_t target1, int64_t target2) {
  Built built;
  CommandBuffer buf{};
  const BuiltCommand result = BuildCommand(
      command,
      [&](int axis) {
        built.AxesRead.push_back(axis);
        return axis == 1 ? target1 : target2;
      },
      buf);
  built.Bytes.assign(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(result.Length));
  built.RejectedAxis = result.RejectedAxis;
  return built;
}

struct CommandRow {
  RotatorCommand Command;
  int64_t Target1;
  int64_t Target2;
  std::string Bytes;
  bool PauseBefore;
};

TEST(BuildCommand, WritesTheBytesOfEveryCommand) {
  const std::vector<CommandRow> rows = {
      {RotatorCommand::GoAxis1, 0, 0, "M000\r", true},
      {RotatorCommand::GoAxis1, 180, 0, "M180\r", true},
      {RotatorCommand::GoAxis2, 0, 90, "MB090\r", true},
      {RotatorCommand::GoBoth, 45, 7, "W045 007\r", true},
      {RotatorCommand::GoBoth, 999, 999, "W999 999\r", true},
      {RotatorCommand::StopAxis1, 0, 0, "A\r", true},
      {RotatorCommand::StopAll, 0, 0, "S\r", true},
      {RotatorCommand::StopAxis2, 0, 0, "E\r", true},
      {RotatorCommand::TurnAxis1Ccw, 0, 0, "L\r", false},
      {RotatorCommand::TurnAxis1Cw, 0, 0, "R\r", false},
      {RotatorCommand::TurnAxis2Down, 0, 0, "D\r", false},
      {RotatorCommand::TurnAxis2Up, 0, 0, "U\r", false},
  };
  for (const CommandRow& row : rows) {
    const Built built = build(row.Command, row.Target1, row.Target2);
    EXPECT_EQ(built.Bytes, row.Bytes);
    EXPECT_EQ(built.RejectedAxis, 0) << row.Bytes;
    EXPECT_EQ(CommandInfo(row.Command).PauseBefore, row.PauseBefore) << row.Bytes;
  }
}

TEST(BuildCommand, ReadsOnlyTheTargetsTheCommandCarriesAxisOneFirst) {
  EXPECT_EQ(build(RotatorCommand::GoAxis1, 1, 2).AxesRead, std::vector<int>{1});
  EXPECT_EQ(build(RotatorCommand::GoAxis2, 1, 2).AxesRead, std::vector<int>{2});
  EXPECT_EQ(build(RotatorCommand::GoBoth, 1, 2).AxesRead, (std::vector<int>{1, 2}));
  for (const RotatorCommand stopOrTurn :
       {RotatorCommand::StopAxis1, RotatorCommand::StopAll, RotatorCommand::StopAxis2,
        RotatorCommand::TurnAxis1Ccw, RotatorCommand::TurnAxis1Cw, RotatorCommand::TurnAxis2Down,
        RotatorCommand::TurnAxis2Up}) {
    EXPECT_TRUE(build(stopOrTurn, 1, 2).AxesRead.empty());
  }
}

TEST(BuildCommand, ATargetWithoutThreeDigitFieldRejectsTheWholeCommand) {
  const Built tooLarge = build(RotatorCommand::GoAxis1, 1234, 0);
  EXPECT_EQ(tooLarge.RejectedAxis, 1);
  EXPECT_TRUE(tooLarge.Bytes.empty());
  EXPECT_EQ(build(RotatorCommand::GoAxis1, -5, 0).RejectedAxis, 1);
  EXPECT_EQ(build(RotatorCommand::GoAxis2, 0, 1000).RejectedAxis, 2);

  const Built secondBad = build(RotatorCommand::GoBoth, 45, -1);
  EXPECT_EQ(secondBad.RejectedAxis, 2);
  EXPECT_TRUE(secondBad.Bytes.empty());

  // Once axis 1 is rejected, axis 2's field is not consulted: one complaint per command.
  const Built firstBad = build(RotatorCommand::GoBoth, 1000, 45);
  EXPECT_EQ(firstBad.RejectedAxis, 1);
  EXPECT_EQ(firstBad.AxesRead, std::vector<int>{1});
}

TEST(BuildCommand, AnErrorReadingATargetPropagates) {
  CommandBuffer buf{};
  EXPECT_THROW(BuildCommand(
                   RotatorCommand::GoBoth,
                   [](int axis) -> int64_t {
                     if (axis == 2) throw std::invalid_argument("'abc' is not a number");
                     return 10;
                   },
                   buf),
               std::invalid_argument);
}

TEST(kCommandTable, HoldsEveryCommandOnceAndEachFitsTheBuffer) {
  std::set<RotatorCommand> seen;
  for (const CommandEntry& entry : kCommandTable) {
    EXPECT_TRUE(seen.insert(entry.Command).second);
    EXPECT_EQ(&CommandInfo(entry.Command), &entry);
    EXPECT_EQ(entry.Template.back(), '\r');
    const Built widest = build(entry.Command, 999, 999);
    EXPECT_LE(widest.Bytes.size(), kCmdBufSize);
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(RotatorCommand::TurnAxis2Up) + 1);
}

}  // namespace
