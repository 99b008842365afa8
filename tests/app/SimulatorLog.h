#pragma once
// What the simulator's --log says the panel sent: one entry per command, its bytes as
// HexBytes writes them ("4D 30 34 35 0D").

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/HexBytes.h"

// The commands of the log at path in the order they arrived, the poll queries ("C2", "C")
// left out.
std::vector<std::string> LoggedCommands(const std::string& path);

// The poll queries of the log at path in the order they arrived.
std::vector<std::string> LoggedPolls(const std::string& path);

// Waits (up to kPatience, handling the GUI thread's events meanwhile) until the log holds at
// least count commands, and returns them all.
std::vector<std::string> WaitForCommands(const std::string& path, size_t count);

// As WaitForCommands, for poll queries.
std::vector<std::string> WaitForPolls(const std::string& path, size_t count);

// When each poll query of the log at path arrived: milliseconds since the simulator started.
std::vector<int64_t> LoggedPollTimes(const std::string& path);
