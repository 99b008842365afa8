#include "tests/app/SimulatorLog.h"

#include <QTest>

#include "tests/tools/TestPatience.h"
#include "tests/tools/WireLog.h"

namespace {

std::vector<std::string> loggedBytes(const std::string& path, bool polls) {
  const std::vector<WireEntry> log = ReadWireLog(path);
  std::vector<std::string> entries;
  for (const WireEntry& entry : polls ? Polls(log) : Commands(log)) entries.push_back(entry.Hex);
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
  for (const WireEntry& entry : Polls(ReadWireLog(path))) times.push_back(entry.Ms);
  return times;
}
