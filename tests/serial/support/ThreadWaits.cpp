#include "tests/serial/support/ThreadWaits.h"

#include <dirent.h>
#include <sys/syscall.h>

#include <cstdint>
#include <fstream>
#include <sstream>

#include "tests/serial/support/TestGuiLoop.h"

namespace {

constexpr uint64_t kFutexCommand = 0x7F;
constexpr uint64_t kFutexWait = 0;
constexpr uint64_t kFutexWaitBitset = 9;

std::string firstLine(const std::string& path) {
  std::ifstream file(path);
  std::string line;
  std::getline(file, line);
  return line;
}

// The system call a blocked thread is in, from its syscall file: number and
// arguments; false while the thread runs.
bool blockedCall(int tid, std::vector<uint64_t>& call) {
  std::istringstream fields(firstLine("/proc/self/task/" + std::to_string(tid) + "/syscall"));
  std::string field;
  call.clear();
  while (fields >> field) {
    if (field == "running") return false;
    call.push_back(std::stoull(field, nullptr, 0));
  }
  return call.size() >= 7;
}

bool waitsWithoutTimeLimit(int tid) {
  std::vector<uint64_t> call;
  if (!blockedCall(tid, call)) return false;
  switch (call[0]) {
    case SYS_poll:
      return static_cast<int32_t>(call[3]) < 0;
    case SYS_ppoll:
      return call[3] == 0;
    case SYS_futex: {
      const uint64_t command = call[2] & kFutexCommand;
      return (command == kFutexWait || command == kFutexWaitBitset) && call[4] == 0;
    }
    default:
      return false;
  }
}

}  // namespace

std::vector<ThreadWait> ThreadsNamed(const std::string& prefix) {
  std::vector<ThreadWait> threads;
  DIR* tasks = opendir("/proc/self/task");
  if (tasks == nullptr) return threads;
  while (const dirent* entry = readdir(tasks)) {
    if (entry->d_name[0] == '.') continue;
    const int tid = std::stoi(entry->d_name);
    const std::string name = firstLine("/proc/self/task/" + std::to_string(tid) + "/comm");
    if (name.rfind(prefix, 0) != 0) continue;
    threads.push_back({tid, name, waitsWithoutTimeLimit(tid)});
  }
  closedir(tasks);
  return threads;
}

bool AllSleepWithoutTimeLimit(const std::string& prefix, size_t count) {
  return WaitUntil([&] {
    const std::vector<ThreadWait> threads = ThreadsNamed(prefix);
    if (threads.size() != count) return false;
    for (const ThreadWait& thread : threads) {
      if (!thread.WaitsWithoutTimeLimit) return false;
    }
    return true;
  });
}
