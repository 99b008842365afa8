#include "tests/journeys/WireLog.h"

#include <cstdio>
#include <cstdlib>

#include "protocol/PollQuery.h"
#include "tests/tools/TextLines.h"

namespace {

bool isPoll(const WireEntry& entry) {
  return entry.Hex == HexOf(kPollQueryTwoAxes) || entry.Hex == HexOf(kPollQueryOneAxis);
}

std::vector<WireEntry> select(const std::vector<WireEntry>& log, bool polls) {
  std::vector<WireEntry> selected;
  for (const WireEntry& entry : log) {
    if (isPoll(entry) == polls) selected.push_back(entry);
  }
  return selected;
}

}  // namespace

std::vector<WireEntry> ReadWireLog(const std::string& path) {
  std::vector<WireEntry> log;
  for (const std::string& line : ReadLines(path)) {
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    log.push_back({std::strtol(line.c_str(), nullptr, 10), line.substr(tab + 1)});
  }
  return log;
}

std::vector<WireEntry> Polls(const std::vector<WireEntry>& log) { return select(log, true); }

std::vector<WireEntry> Commands(const std::vector<WireEntry>& log) { return select(log, false); }

std::string HexOf(std::string_view bytes) {
  std::string hex;
  for (const char c : bytes) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02X", static_cast<unsigned char>(c));
    if (!hex.empty()) hex += ' ';
    hex += byte;
  }
  return hex;
}
