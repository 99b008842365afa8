#include "serial/PortPath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <climits>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

namespace {

// The port number of "\\.\COMn", or none for any other name.
std::optional<uint32_t> portNumberOf(std::string_view name) {
  if (name.substr(0, kPortDevicePrefix.size()) != kPortDevicePrefix) return std::nullopt;
  const std::string_view digits = name.substr(kPortDevicePrefix.size());
  uint32_t number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size() || number == 0) {
    return std::nullopt;
  }
  return number;
}

// The target of the link at path, or none when path is not a link.
std::optional<std::string> linkTarget(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return std::nullopt;
  std::vector<char> target(PATH_MAX);
  const ssize_t length = readlink(path.c_str(), target.data(), target.size());
  if (length <= 0 || static_cast<size_t>(length) >= target.size()) return std::nullopt;
  return std::string(target.data(), static_cast<size_t>(length));
}

// Set once at start-up, read by whichever thread opens a port.
std::mutex linkDirectoryLock;
std::string linkDirectory;

std::string currentDirectory() {
  std::vector<char> buffer(PATH_MAX);
  if (getcwd(buffer.data(), buffer.size()) == nullptr) return ".";
  return buffer.data();
}

std::string portLinkDirectory() {
  const std::lock_guard<std::mutex> hold(linkDirectoryLock);
  return linkDirectory.empty() ? currentDirectory() : linkDirectory;
}

std::string linkPathOf(uint32_t number) {
  return portLinkDirectory() + "/COM" + std::to_string(number);
}

}  // namespace

void SetPortLinkDirectory(const std::string& directory) {
  const std::lock_guard<std::mutex> hold(linkDirectoryLock);
  linkDirectory = directory;
}

std::string ResolvePortPath(const std::string& name) {
  const std::optional<uint32_t> number = portNumberOf(name);
  if (!number) return name;
  if (const std::optional<std::string> target = linkTarget(linkPathOf(*number))) {
    if (target->front() == '/') return *target;
    return portLinkDirectory() + "/" + *target;
  }
  return "/dev/ttyS" + std::to_string(*number - 1);
}

std::optional<NetTarget> ServerOfPort(const std::string& name) {
  const std::optional<uint32_t> number = portNumberOf(name);
  if (!number) return ParseNetTarget(name);
  const std::optional<std::string> target = linkTarget(linkPathOf(*number));
  if (!target) return std::nullopt;
  return ParseNetTarget(*target);
}
