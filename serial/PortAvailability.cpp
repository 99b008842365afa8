#include "serial/PortAvailability.h"

#include <memory>
#include <string>

#include "serial/LastError.h"
#include "serial/PlatformDispatcher.h"
#include "serial/PortDeviceName.h"

namespace {
constexpr int32_t kPortInUse = 5;
constexpr int32_t kProbeQueueSize = 64;
}  // namespace

bool IsPortAvailable(uint32_t portNumber) {
  if (portNumber == 0) return false;
  const std::string name = PortDeviceName(portNumber);
  const std::unique_ptr<TSioBaseDispatcher> probe = CreatePlatformDispatcher(nullptr, name);
  if (probe->OpenDevice(name.c_str(), kProbeQueueSize, kProbeQueueSize) >= 0) {
    probe->CloseDevice();
    return true;
  }
  return SioLastError() == kPortInUse;
}
