#include "tests/tools/WireLog.h"

#include <cstdlib>

#include "protocol/PollQuery.h"
#include "tests/tools/TextLines.h"

namespace {

bool isPoll(const WireEntry& entry) {
  return entry.Hex == HexBytes(kPollQueryTwoAxes) || entry.Hex == HexBytes(kPollQueryOneAxis);
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
