#include "serial/UucpLock.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>

namespace {

constexpr const char* kDefaultDirectory = "/var/lock";
// A lock taken over from a stale owner may be taken again by a third
// program in between; after this many rounds the device counts as busy.
constexpr int kTakeRounds = 3;

std::mutex& directoryLock() {
  static std::mutex lock;
  return lock;
}

std::string& directory() {
  static std::string path = kDefaultDirectory;
  return path;
}

std::string lockText(pid_t pid) {
  char text[16];
  std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(pid));
  return text;
}

// The process id a lock file names: ASCII digits, possibly padded; the old
// binary form (four bytes) too. Nothing for an unreadable or empty file.
std::optional<pid_t> ownerOf(const std::string& path) {
  const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (file < 0) return std::nullopt;
  char text[32] = {};
  const ssize_t length = read(file, text, sizeof text - 1);
  close(file);
  if (length <= 0) return std::nullopt;
  if (length == 4 && (text[0] < ' ' || text[0] > '~')) {
    int32_t binary;
    std::memcpy(&binary, text, sizeof binary);
    return static_cast<pid_t>(binary);
  }
  char* end = nullptr;
  const long pid = std::strtol(text, &end, 10);
  if (end == text || pid <= 0 || pid > INT_MAX) return std::nullopt;
  return static_cast<pid_t>(pid);
}

bool alive(pid_t pid) { return pid == getpid() || kill(pid, 0) == 0 || errno == EPERM; }

// A file holding this process's id, beside the lock, to be linked to it:
// the lock then appears whole or not at all. Empty when the directory
// takes no files.
std::string writeCandidate(const std::string& dir) {
  static std::atomic<unsigned> counter{0};
  const std::string path =
      dir + "/LTMP." + std::to_string(getpid()) + "." + std::to_string(counter.fetch_add(1));
  const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (file < 0) return {};
  const std::string text = lockText(getpid());
  const bool written = write(file, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  if (close(file) != 0 || !written) {
    unlink(path.c_str());
    return {};
  }
  return path;
}

}  // namespace

void SetUucpLockDirectory(std::string path) {
  const std::lock_guard<std::mutex> lock(directoryLock());
  directory() = std::move(path);
}

std::string UucpLockDirectory() {
  const std::lock_guard<std::mutex> lock(directoryLock());
  return directory();
}

std::string UucpLockName(const std::string& devicePath) {
  char* real = realpath(devicePath.c_str(), nullptr);
  if (real == nullptr) return {};
  std::string path(real);
  free(real);
  const size_t slash = path.rfind('/');
  const std::string device = slash == std::string::npos ? path : path.substr(slash + 1);
  return device.empty() ? std::string() : "LCK.." + device;
}

UucpLock::~UucpLock() { Release(); }

int UucpLock::Acquire(const std::string& devicePath) {
  Release();
  const std::string name = UucpLockName(devicePath);
  if (name.empty()) return 0;
  const std::string dir = UucpLockDirectory();
  const std::string path = dir + "/" + name;
  const std::string candidate = writeCandidate(dir);
  if (candidate.empty()) return 0;
  int result = EBUSY;
  for (int round = 0; round < kTakeRounds; ++round) {
    if (link(candidate.c_str(), path.c_str()) == 0) {
      path_ = path;
      result = 0;
      break;
    }
    if (errno != EEXIST) {
      // A directory that takes no links takes no lock either.
      result = 0;
      break;
    }
    const std::optional<pid_t> owner = ownerOf(path);
    if (owner && alive(*owner)) break;
    unlink(path.c_str());
  }
  unlink(candidate.c_str());
  return result;
}

void UucpLock::Release() {
  if (path_.empty()) return;
  // Never another program's lock: only the one that still names this process.
  const std::optional<pid_t> owner = ownerOf(path_);
  if (owner && *owner == getpid()) unlink(path_.c_str());
  path_.clear();
}
