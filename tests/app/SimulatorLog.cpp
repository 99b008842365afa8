#include "tests/app/SimulatorLog.h"

#include <QTest>

#include <cstdio>

#include "tests/tools/TestPatience.h"
#include "tests/tools/TextLines.h"

namespace {

bool isPoll(const std::string& bytes) { return bytes == "43 32 0D" || bytes == "43 0D"; }

std::vector<std::string> loggedBytes(const std::string& path, bool polls) {
  std::vector<std::string> entries;
  for (const std::string& line : ReadLines(path)) {
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    std::string bytes = line.substr(tab + 1);
    if (isPoll(bytes) == polls) entries.push_back(std::move(bytes));
  }
  return entries;
}

std::vector<std::string> waitFor(const std::string& path, size_t count, bool polls) {
  std::vector<std::string> entries;
  // Timing out is no error here: the caller compares what came.
  (void)QTest::qWaitFor(
      [&] {
        entries = loggedBytes(path, polls);
        return entries.size() >= count;
      },
      static_cast<int>(kPatience.count()));
  return entries;
}

}  // namespace

std::vector<std::string> LoggedCommands(const std::string& path) {
  return loggedBytes(path, false);
}

std::vector<std::string> LoggedPolls(const std::string& path) { return loggedBytes(path, true); }

std::vector<std::string> WaitForCommands(const std::string& path, size_t count) {
  return waitFor(path, count, false);
}

std::vector<std::string> WaitForPolls(const std::string& path, size_t count) {
  return waitFor(path, count, true);
}

std::vector<int64_t> LoggedPollTimes(const std::string& path) {
  std::vector<int64_t> times;
  for (const std::string& line : ReadLines(path)) {
    const size_t tab = line.find('\t');
    if (tab == std::string::npos || !isPoll(line.substr(tab + 1))) continue;
    times.push_back(std::stoll(line.substr(0, tab)));
  }
  return times;
}

std::string HexBytes(const std::string& text) {
  std::string hex;
  for (const char c : text) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02X", static_cast<unsigned char>(c));
    if (!hex.empty()) hex += ' ';
    hex += byte;
  }
  return hex;
}
