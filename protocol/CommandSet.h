#pragma once
// The GS-232B commands the panel sends, as data: their bytes and whether the poll timer
// must stay quiet for a moment before them.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "protocol/CommandBuffer.h"

enum class RotatorCommand {
  GoAxis1,        // "GO 1", "PARK 1", click on the left dial
  GoAxis2,        // "GO 2", "PARK 2", click on the right dial
  GoBoth,         // "GO 1+2", "PARK 1+2"
  StopAxis1,      // "STOP 1"
  StopAll,        // "STOP 1+2"
  StopAxis2,      // "STOP 2"
  TurnAxis1Ccw,   // "|<<" of axis 1
  TurnAxis1Cw,    // ">>|" of axis 1
  TurnAxis2Down,  // "|<<" of axis 2
  TurnAxis2Up,    // ">>|" of axis 2
};

// How long the GUI thread blocks before a GO or STOP command, giving the controller time to
// finish the reply to the last poll.
constexpr std::chrono::milliseconds kCommandPause{200};

// One row of the command table. In Template the bytes '1' and '2' stand for the three-digit
// angle fields of axis 1 and axis 2; every other byte is sent as it stands.
struct CommandEntry {
  RotatorCommand Command;
  std::string_view Template;
  bool PauseBefore;
};

inline constexpr std::array<CommandEntry, 10> kCommandTable{{
    {RotatorCommand::GoAxis1, "M1\r", true},
    {RotatorCommand::GoAxis2, "MB2\r", true},
    {RotatorCommand::GoBoth, "W1 2\r", true},
    {RotatorCommand::StopAxis1, "A\r", true},
    {RotatorCommand::StopAll, "S\r", true},
    {RotatorCommand::StopAxis2, "E\r", true},
    {RotatorCommand::TurnAxis1Ccw, "L\r", false},
    {RotatorCommand::TurnAxis1Cw, "R\r", false},
    {RotatorCommand::TurnAxis2Down, "D\r", false},
    {RotatorCommand::TurnAxis2Up, "U\r", false},
}};

// The table row of command.
const CommandEntry& CommandInfo(RotatorCommand command);

// Reads the whole-number value of axis 1's or axis 2's target field (axis is 1 or 2). May
// raise, for instance when the field holds no number.
using TargetReader = std::function<int64_t(int axis)>;

// What BuildCommand wrote.
struct BuiltCommand {
  // Number of bytes written from position 0; 0 when the command was rejected.
  size_t Length = 0;
  // 1 or 2 when that axis's target has no three-digit angle field (see FormatAngle3) and
  // nothing may be sent; 0 otherwise.
  int RejectedAxis = 0;
};

// Writes the bytes of command into CmdBuf from position 0. The targets are read through
// target at this moment, only those the command carries, axis 1 before axis 2. Errors raised
// by target propagate. A rejected target leaves CmdBuf in an unspecified state.
BuiltCommand BuildCommand(RotatorCommand command, const TargetReader& target,
                          CommandBuffer& CmdBuf);
