#pragma once
// What reached the simulator: its --log, one line per command, "<ms>\t<hex bytes>", the bytes
// as HexBytes writes them.

#include <string>
#include <vector>

#include "tests/support/HexBytes.h"

struct WireEntry {
  long Ms = 0;      // since the simulator started
  std::string Hex;  // "4D 30 34 35 0D"
};

// Every command of the log at path in the order it arrived.
std::vector<WireEntry> ReadWireLog(const std::string& path);

// The entries of log that are (polls true) or are not (polls false) position queries.
std::vector<WireEntry> Polls(const std::vector<WireEntry>& log);
std::vector<WireEntry> Commands(const std::vector<WireEntry>& log);
