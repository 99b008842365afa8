#include "tests/serial/support/ProcessCounts.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

size_t entriesOf(const char* directory) {
  const std::filesystem::directory_iterator entries(directory);
  return static_cast<size_t>(std::distance(begin(entries), end(entries)));
}

}  // namespace

size_t ThreadCount() { return entriesOf("/proc/self/task"); }

// The listing's own descriptor is counted too, the same every time.
size_t DescriptorCount() { return entriesOf("/proc/self/fd"); }

int64_t ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("VmRSS:")) return std::stoll(line.substr(6));
  }
  throw std::runtime_error("no VmRSS in /proc/self/status");
}

ProcessFootprint TakeFootprint() { return {ThreadCount(), DescriptorCount(), ResidentKiB()}; }
