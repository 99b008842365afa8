#include "tests/faults/ProcessMemory.h"

#include <fstream>
#include <stdexcept>
#include <string>

namespace {

int64_t statusFieldMiB(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with(field + ":")) return std::stoll(line.substr(field.size() + 1)) / 1024;
  }
  throw std::runtime_error("no " + field + " in /proc/self/status");
}

}  // namespace

int64_t ResidentMiB() { return statusFieldMiB("VmRSS"); }

int64_t PeakResidentMiB() { return statusFieldMiB("VmHWM"); }

void ResetPeakResident() {
  // Writing 5 resets the peak (VmHWM) to the current resident size.
  std::ofstream("/proc/self/clear_refs") << "5";
}
