#pragma once
// The position query the poll timer sends on every tick.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "protocol/CommandBuffer.h"

// Asks for both positions ("C2" CR) or for axis 1 only ("C" CR).
constexpr std::string_view kPollQueryTwoAxes = "C2\r";
constexpr std::string_view kPollQueryOneAxis = "C\r";

// Writes the query for the stored axis configuration into CmdBuf from position 0 and returns
// its length: the two-axis query for configuration 2 or more, the one-axis query otherwise
// (nothing selected, -1, included).
size_t BuildPollQuery(int32_t AxisConfig, CommandBuffer& CmdBuf);
